#include "desktop/save_file_dialog.h"

#include <QFileDialog>

#include "desktop/remembered_folders.h"

namespace desktop {

namespace {

SaveFileHandler& handler()
{
    static SaveFileHandler h;
    return h;
}

} // namespace

QString askSaveFileName(const SaveFileRequest& request, QWidget* parent)
{
    QString chosen;
    if (handler()) {
        chosen = handler()(request);
    } else {
        QFileDialog dialog(parent, request.caption, startPathFor(request.kind, request.suggestedName), request.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    rememberFolderOf(request.kind, chosen);
    return chosen;
}

QString askFolder(const QString& caption, const QString& kind, QWidget* parent)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, caption, startPathFor(kind, {}));
    rememberFolderOf(kind, folder);
    return folder;
}

void setSaveFileHandler(SaveFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
