#include "report/preview_interface.h"

namespace report {

namespace {

PreviewFactory& factory()
{
    static PreviewFactory f;
    return f;
}

} // namespace

void registerPreviewInterface(PreviewFactory f)
{
    factory() = std::move(f);
}

std::unique_ptr<PreviewInterface> createPreviewInterface()
{
    return factory() ? factory()() : nullptr;
}

} // namespace report
