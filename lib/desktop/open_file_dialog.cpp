#include "desktop/open_file_dialog.h"

#include <QFileDialog>

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
    if (handler())
        return handler()(request);
    QFileDialog dialog(parent, request.caption, request.startPath);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    // The descriptions name their patterns themselves, as the program always showed them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void setOpenFileHandler(OpenFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
