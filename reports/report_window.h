#pragma once

#include <QString>
#include <memory>

#include "report/report.h"

class Tdm_1;

namespace data {
class ReportSnapshot;
}

namespace reports {

// A report window of the settlement: it is never shown; it holds its report `raport` and the
// rows that feed it, read as values when it is made. The settlement window makes one for each
// preview or print and frees it afterwards. It holds the module's report snapshot while it
// lives, so that the windows of one printout read one picture of the database.
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

    // Holds the data module's report snapshot for the window's life; called before the
    // window reads its rows.
    void readFromSnapshot(Tdm_1& dm);

private:
    QString caption_;
    report::Report raport_;
    std::shared_ptr<data::ReportSnapshot> snapshot_;
};

} // namespace reports
