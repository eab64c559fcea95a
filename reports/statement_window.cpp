#include "reports/statement_window.h"

#include <memory>

#include "data/field_names.h"
#include "data/statement_figures.h"
#include "report/memory_rows.h"
#include "reports/report_subject.h"

namespace reports {

StatementWindow::StatementWindow(Tdm_1& dm, const ReportSubject& subject, const QString& caption)
    : ReportWindow(caption, QStringLiteral("Wydruk zużycia paliw"))
{
    using namespace data;
    readFromSnapshot(dm);
    std::vector<StatementType> types =
        statementOf(dm, subject.choice.taxpayer, subject.choice.year, subject.choice.period(), subject.linesToSum());

    auto master = std::make_unique<report::MemoryRows>(QStringList{col::NR, col::NAZWA});
    QList<QVariantList> rows;
    for (const StatementType& t : types)
        rows.append({t.vehicleType, t.name});
    master->setRows(std::move(rows));

    auto detail = std::make_unique<report::MemoryRows>(
        QStringList{col::NR_SILN, col::NR_PALIWA, calc::nazpal, calc::zuz, calc::staw, calc::wart});
    fuels_ = detail.get();
    master->onMove = [detail = detail.get(), all = std::move(types)](int row) {
        QList<QVariantList> rows;
        if (row >= 0 && row < static_cast<int>(all.size())) {
            const StatementType& t = all[static_cast<size_t>(row)];
            for (const StatementFuel& f : t.fuels)
                rows.append({t.vehicleType, f.fuel, f.fuelName, f.figures.tonnes, f.figures.rate, f.figures.fee});
        }
        detail->setRows(std::move(rows));
    };
    raport().setMaster(std::move(master));
    raport().setDetail(std::move(detail));
}

QVariant StatementWindow::fuelValue(const QString& field) const
{
    return fuels_->value(field, fuels_->currentRow());
}

QString StatementWindow::runningNumber()
{
    return QString::number(raport().recordNumber()) + QLatin1Char('.');
}

} // namespace reports
