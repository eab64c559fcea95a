#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace desktop {

// The "open" file dialog goes through here, so that a test can answer it. The chosen file
// must exist.
struct OpenFileRequest {
    QString caption;
    QString startPath;     // the folder or file the dialog starts at
    QStringList filters;   // "Pliki SQL (*.sql *.txt)", ...; the first is chosen at the start
    QString defaultSuffix; // "gdb"
    QString kind;          // with no start path: the kind of file whose last folder it opens in
    bool several = false;  // several files may be chosen at once (askOpenFileNames)
};

// The chosen path; "" when the user cancelled.
QString askOpenFileName(const OpenFileRequest& request, QWidget* parent = nullptr);
// The chosen paths (the request's `several` set); none when the user cancelled.
QStringList askOpenFileNames(OpenFileRequest request, QWidget* parent = nullptr);

// Replaces the real dialog while set (tests): the handler returns the path ("" to cancel).
// An empty function restores the real dialog.
using OpenFileHandler = std::function<QString(const OpenFileRequest&)>;
void setOpenFileHandler(OpenFileHandler handler);

} // namespace desktop
