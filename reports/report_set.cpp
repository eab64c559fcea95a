#include "reports/report_set.h"

#include "data/period.h"
#include "reports/report_subject.h"
#include "reports/w_zak.h"
#include "reports/wydr_zest.h"
#include "reports/wydr_zest2005.h"
#include "reports/zest_zb.h"
#include "reports/zest_zb2005.h"

namespace reports {

QString printoutFileName(const ReportSubject& subject, const QString& what)
{
    const data::PeriodChoice& c = subject.choice;
    QString name = c.taxpayer.trimmed() + QLatin1Char('_') + QString::number(c.year);
    if (data::usesHalfYears(c.year))
        name += QLatin1Char('_') + c.partNumeral();
    return text::fileNameSafe(name + QLatin1Char('_') + what);
}

QString printoutTitle(const ReportSubject& subject, const QString& what)
{
    return QStringLiteral("%1 — %2 — %3").arg(what, subject.choice.taxpayer.trimmed(), subject.choice.name());
}

std::vector<std::unique_ptr<ReportWindow>> createReports(Tdm_1& dm, const ReportSubject& subject, ReportChoice choice)
{
    std::vector<std::unique_ptr<ReportWindow>> windows;
    if (choice == ReportChoice::PurchaseRegister) {
        windows.push_back(std::make_unique<Tf_w_zak>(dm, subject));
        windows.back()->raport().setFileName(printoutFileName(subject, QStringLiteral("wykaz_zakupow")));
        windows.back()->raport().setDocumentTitle(printoutTitle(subject, QStringLiteral("Wykaz zakupów paliw")));
        return windows;
    }
    // Made statement first, printed aggregate statement first.
    std::unique_ptr<ReportWindow> statement;
    if (subject.choice.year < firstYearOfLaterForms) {
        statement = std::make_unique<Tf_wydr_zest>(dm, subject);
        windows.push_back(std::make_unique<Tf_zest_zb>(dm, subject));
    } else {
        statement = std::make_unique<Tf_wydr_zest2005>(dm, subject);
        windows.push_back(std::make_unique<Tf_zest_zb2005>(dm, subject));
    }
    windows.push_back(std::move(statement));
    windows[0]->raport().setFileName(printoutFileName(subject, QStringLiteral("zestawienie_zbiorcze")));
    windows[1]->raport().setFileName(printoutFileName(subject, QStringLiteral("zestawienie")));
    windows[0]->raport().setDocumentTitle(printoutTitle(subject, QStringLiteral("Zestawienie zbiorcze")));
    windows[1]->raport().setDocumentTitle(printoutTitle(subject, QStringLiteral("Tabela D")));
    // The fee of a line without a rate counts as zero: both forms print too little.
    for (const auto& w : windows)
        w->raport().setWarning(subject.settlement.missingRatesWarning());
    return windows;
}

} // namespace reports
