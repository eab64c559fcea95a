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

} // namespace

QString askOpenFileName(const OpenFileRequest& request, QWidget* parent)
{
    QString chosen;
    if (handler()) {
        chosen = handler()(request);
    } else {
        const QString start = request.startPath.isEmpty() ? startPathFor(request.kind, {}) : request.startPath;
        QFileDialog dialog(parent, request.caption, start);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters(request.filters);
        // The descriptions name their patterns themselves, as the program always showed them.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().first();
    }
    rememberFolderOf(request.kind, chosen);
    return chosen;
}

void setOpenFileHandler(OpenFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
