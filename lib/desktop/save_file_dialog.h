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
    QString kind;          // the kind of file whose last folder the dialog opens in (remembered_folders.h)
};

// The chosen path; "" when the user cancelled.
QString askSaveFileName(const SaveFileRequest& request, QWidget* parent = nullptr);
// A folder to write files of the kind into, starting at the kind's last folder; "" when the
// user cancelled.
QString askFolder(const QString& caption, const QString& kind, QWidget* parent = nullptr);

// Replaces the real dialog while set (tests): the handler returns the path ("" to cancel).
// An empty function restores the real dialog.
using SaveFileHandler = std::function<QString(const SaveFileRequest&)>;
void setSaveFileHandler(SaveFileHandler handler);

} // namespace desktop
