#include "desktop/save_file_dialog.h"

#include <QFileDialog>

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
    if (handler())
        return handler()(request);
    QFileDialog dialog(parent, request.caption, request.suggestedName, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void setSaveFileHandler(SaveFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
