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
    return QFileDialog::getSaveFileName(parent, request.caption, request.suggestedName, request.filter);
}

void setSaveFileHandler(SaveFileHandler h)
{
    handler() = std::move(h);
}

} // namespace desktop
