#include "report/report.h"

#include <stdexcept>

#include "report/dataset_rows.h"
#include "report/preview_interface.h"
#include "report/report_printer.h"

namespace report {

namespace {

// A4 in millimetres.
constexpr double a4Width = 210.0;
constexpr double a4Height = 297.0;

} // namespace

Report::Report() = default;
Report::~Report() = default;

QSizeF Report::pageSize() const
{
    return orientation_ == QPageLayout::Portrait ? QSizeF(a4Width, a4Height) : QSizeF(a4Height, a4Width);
}

QRectF Report::printableRect() const
{
    return QRectF(QPointF(0, 0), pageSize()).marginsRemoved(margins_);
}

Band& Report::addBand(BandKind kind, double height)
{
    if (kind == BandKind::Child)
        throw std::invalid_argument("report::Report::addBand: child bands hang from their band");
    auto& slot = bands_[static_cast<std::size_t>(kind)];
    slot = std::make_unique<Band>(kind, height);
    return *slot;
}

Band* Report::band(BandKind kind) const
{
    return kind == BandKind::Child ? nullptr : bands_[static_cast<std::size_t>(kind)].get();
}

void Report::setMaster(ds::Dataset& dataset)
{
    master_ = std::make_unique<DatasetRows>(dataset);
}

void Report::setDetail(ds::Dataset& dataset)
{
    detail_ = std::make_unique<DatasetRows>(dataset);
}

ReportPrinter& Report::printer()
{
    return printer_ ? *printer_ : prepare();
}

ReportPrinter& Report::prepare()
{
    printer_ = std::make_unique<ReportPrinter>(*this);
    return *printer_;
}

bool Report::preview()
{
    std::unique_ptr<PreviewInterface> provider = createPreviewInterface();
    if (!provider)
        return false;
    provider->showModal(prepare());
    return true;
}

} // namespace report
