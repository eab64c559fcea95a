#pragma once

#include <QString>
#include <memory>

#include "dataset/opened_datasets.h"
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

    // Holds for the window's life the data module's report snapshot and, when asked, the
    // vehicle types and fuels that name the lines; called before the window opens its data.
    enum class Names { Needed, NotNeeded };
    void readFromSnapshot(Tdm_1& dm, Names names);
    // The window's data, closed when the window goes (before the snapshot is let go).
    void keepOpen(ds::OpenedDatasets data) { data_ = std::move(data); }

private:
    QString caption_;
    report::Report raport_;
    // Let go in this order, the last first: the data, the names, the snapshot.
    std::shared_ptr<data::ReportSnapshot> snapshot_;
    std::shared_ptr<ds::OpenedDatasets> names_;
    ds::OpenedDatasets data_;
};

} // namespace reports
