#include "desktop/open_file_dialog.h"

#include <QFileDialog>

#include "desktop/remembered_folders.h"

namespace desktop {

namespace {

OpenFileHandler& handler()
{
    static OpenFileHandler h;
    return h;
}

QStringList chosenPaths(const OpenFileRequest& request, QWidget* parent)
{
    QStringList chosen;
    if (handler()) {
        const QString path = handler()(request);
        if (!path.isEmpty())
            chosen << path;
    } else {
        const QString start = request.startPath.isEmpty() ? startPathFor(request.kind, {}) : request.startPath;
        QFileDialog dialog(parent, request.caption, start);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        dialog.setNameFilters(request.filters);
        // The descriptions name their patterns themselves, as the program always showed them.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles();
    }
    rememberFolderOf(request.kind, chosen.value(0));
    return chosen;
}

} // namespace

QString askOpenFileName(const OpenFileRequest& request, QWidget* parent)
{
    return chosenPaths(request, parent).value(0);
}

QStringList askOpenFileNames(OpenFileRequest request, QWidget* parent)
{
    request.several = true;
    return chosenPaths(request, parent);
}

void setOpenFileHandler(OpenFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
