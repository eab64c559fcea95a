#include "reports/report_set.h"

#include "data/period.h"


#include "reports/report_inputs.h"
#include "reports/w_zak.h"
#include "reports/wydr_zest.h"
#include "reports/wydr_zest2005.h"
#include "reports/zest_zb.h"
#include "reports/zest_zb2005.h"

namespace reports {

QString printoutFileName(const ReportInputs& inputs, const QString& what)
{
    QString name = inputs.selectedTaxpayer().trimmed() + QLatin1Char('_') + inputs.yearText().trimmed();
    if (data::usesHalfYears(inputs.selectedYear()))
        name += QLatin1Char('_') + inputs.halfYearItem().trimmed();
    return text::fileNameSafe(name + QLatin1Char('_') + what);
}

QString printoutTitle(const ReportInputs& inputs, const QString& what)
{
    const int part = inputs.halfYearItem().trimmed() == QLatin1String("II") ? 1 : 0;
    return QStringLiteral("%1 — %2 — %3").arg(what, inputs.selectedTaxpayer().trimmed(),
                                              data::periodName(inputs.selectedYear(), part));
}

std::vector<std::unique_ptr<ReportWindow>> createReports(Tdm_1& dm, const ReportInputs& inputs, ReportChoice choice)
{
    std::vector<std::unique_ptr<ReportWindow>> windows;
    if (choice == ReportChoice::PurchaseRegister) {
        windows.push_back(std::make_unique<Tf_w_zak>(dm, inputs));
        windows.back()->raport().setFileName(printoutFileName(inputs, QStringLiteral("wykaz_zakupow")));
        windows.back()->raport().setDocumentTitle(printoutTitle(inputs, QStringLiteral("Wykaz zakupów paliw")));
        return windows;
    }
    // Made statement first, printed aggregate statement first.
    std::unique_ptr<ReportWindow> statement;
    if (inputs.selectedYear() < firstYearOfLaterForms) {
        statement = std::make_unique<Tf_wydr_zest>(dm, inputs);
        windows.push_back(std::make_unique<Tf_zest_zb>(dm, inputs));
    } else {
        statement = std::make_unique<Tf_wydr_zest2005>(dm, inputs);
        windows.push_back(std::make_unique<Tf_zest_zb2005>(dm, inputs));
    }
    windows.push_back(std::move(statement));
    windows[0]->raport().setFileName(printoutFileName(inputs, QStringLiteral("zestawienie_zbiorcze")));
    windows[1]->raport().setFileName(printoutFileName(inputs, QStringLiteral("zestawienie")));
    windows[0]->raport().setDocumentTitle(printoutTitle(inputs, QStringLiteral("Zestawienie zbiorcze")));
    windows[1]->raport().setDocumentTitle(printoutTitle(inputs, QStringLiteral("Tabela D")));
    // The fee of a line without a rate counts as zero: both forms print too little.
    for (const auto& w : windows)
        w->raport().setWarning(inputs.missingRatesWarning());
    return windows;
}

} // namespace reports
