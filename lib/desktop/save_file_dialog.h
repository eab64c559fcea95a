#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace desktop {

// The "save as" file dialog goes through here, so that a test can answer it.
struct SaveFileRequest {
    QString caption;
    QString suggestedName; // a file name or path offered at the start
    QString filter;        // "Pliki PDF (*.pdf)"
    QString defaultSuffix; // "pdf": added to a name typed without it, before the dialog checks
                           // whether the file exists
};

// The chosen path; "" when the user cancelled.
QString askSaveFileName(const SaveFileRequest& request, QWidget* parent = nullptr);

// Replaces the real dialog while set (tests): the handler returns the path ("" to cancel).
// An empty function restores the real dialog.
using SaveFileHandler = std::function<QString(const SaveFileRequest&)>;
void setSaveFileHandler(SaveFileHandler handler);

} // namespace desktop
