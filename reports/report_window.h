#pragma once

#include <QString>
#include <memory>

#include "report/report.h"

class Tdm_1;

namespace data {
class ReportSnapshot;
}

namespace reports {

// A report window of the settlement: it is never shown; it holds its report `raport`, sets
// the datasets that feed it and opens them when it is made (FormCreate), and closes them
// when it is freed (FormDestroy). The settlement window makes one for each preview or
// print and frees it afterwards. Its datasets read from the module's report snapshot while
// it lives, so that its pages show one picture of the database.
class ReportWindow {
public:
    virtual ~ReportWindow();
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    // The window's caption.
    const QString& caption() const { return caption_; }
    report::Report& raport() { return raport_; }

protected:
    ReportWindow(const QString& caption, const QString& reportTitle);

    // The fuel and vehicle type tables that the lookup fields of the reports' datasets read,
    // opened or read again (another screen may have left them open with older rows).
    static void openLookups(Tdm_1& dm);
    // Holds the data module's report snapshot for the window's life; called before the
    // window opens its datasets.
    void readFromSnapshot(Tdm_1& dm);

private:
    QString caption_;
    report::Report raport_;
    std::shared_ptr<data::ReportSnapshot> snapshot_; // let go before the report, after the datasets closed
};

} // namespace reports
