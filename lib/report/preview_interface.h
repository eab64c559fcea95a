#pragma once

#include <functional>
#include <memory>

class QWidget;

namespace report {

class ReportPrinter;

// How the program plugs its own preview window into the engine. The program registers a
// provider once; from then on Report::preview makes a provider for each preview, asks it
// to show the report's printer object modally and frees it when the preview has closed.
class PreviewInterface {
public:
    virtual ~PreviewInterface() = default;

    // Shows a preview of `printer` without waiting; the window frees itself when closed.
    virtual QWidget* show(ReportPrinter& printer) = 0;
    // Shows a preview of `printer` and returns once it has closed (and freed itself).
    virtual void showModal(ReportPrinter& printer) = 0;
};

using PreviewFactory = std::function<std::unique_ptr<PreviewInterface>()>;

// An empty factory unregisters.
void registerPreviewInterface(PreviewFactory factory);

template <class Provider>
void registerPreviewInterface()
{
    registerPreviewInterface([] { return std::make_unique<Provider>(); });
}

// A new provider of the registered kind; nullptr when none is registered.
std::unique_ptr<PreviewInterface> createPreviewInterface();

} // namespace report
