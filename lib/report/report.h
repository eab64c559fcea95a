#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <functional>
#include <memory>

#include "report/band.h"
#include "report/font.h"
#include "report/kinds.h"
#include "report/row_source.h"

namespace ds {
class Dataset;
}

namespace report {

class ReportPrinter;

// The definition of a banded report on A4 paper: page, fonts, bands and the datasets that
// feed them. Pages are made by its printer object (ReportPrinter), shown by the preview
// provider that the program registered (preview_interface.h), printed or written as PDF.
//
//   report::Report r;
//   r.setMargins({10, 10, 15, 16});                           // left, top, right, bottom
//   r.addBand(BandKind::Title, 10).addText({0, 0, 185, 6}, "TABELA D");
//   Band& d = r.addBand(BandKind::Detail, 6);
//   d.addComputed({0, 0, 10, 5}, [&r] { return QString::number(r.recordNumber()) + '.'; })
//       .setAlign(Align::Right);
//   d.addField({12, 0, 80, 5}, "NAZWA");
//   r.addBand(BandKind::SubDetail, 5).addField({100, 0, 30, 5}, "zuz")
//       .setMask("###0.000;###0.000;#").setAlign(Align::Right);
//   r.setMaster(engineTypes); r.setDetail(fuelsOfEngineType);  // ds::Dataset linked to it
//   r.preview();
class Report {
public:
    Report();
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    // The document name that print jobs and PDF files carry.
    void setTitle(const QString& title) { title_ = title; }
    const QString& title() const { return title_; }
    // The title a PDF file of the report carries ("Tabela D — TRANS-POL — rok 2024"); the
    // title when none is set.
    void setDocumentTitle(const QString& title) { documentTitle_ = title; }
    const QString& documentTitle() const { return documentTitle_.isEmpty() ? title_ : documentTitle_; }
    // The name a saved file of the report is offered under, without the extension; the
    // title when none is set.
    // What the reader must know before trusting the printout (a figure in it is incomplete):
    // the preview shows it above the pages and asks before printing or saving.
    void setWarning(const QString& warning) { warning_ = warning; }
    const QString& warning() const { return warning_; }
    void setFileName(const QString& name) { fileName_ = name; }
    QString fileName() const { return fileName_.isEmpty() ? title_ : fileName_; }

    void setOrientation(QPageLayout::Orientation orientation) { orientation_ = orientation; }
    QPageLayout::Orientation orientation() const { return orientation_; }
    // Millimetres: left, top, right, bottom (10 mm each unless set).
    void setMargins(const QMarginsF& margins) { margins_ = margins; }
    const QMarginsF& margins() const { return margins_; }
    QSizeF pageSize() const;      // mm: A4 in the report's orientation
    QRectF printableRect() const; // mm: the page within the margins

    // The font of items whose band and item name none. Arial 10 point unless set.
    void setFont(const Font& font) { font_ = font; }
    const Font& font() const { return font_; }

    // The band of that kind, made anew (a report has at most one of each kind; children
    // hang from their band, Band::addChild).
    Band& addBand(BandKind kind, double height);
    Band* band(BandKind kind) const;

    // One detail band per master row; without a master the report prints its title,
    // headers and summary only. The detail rows are read after each move of the master.
    void setMaster(std::unique_ptr<RowSource> rows) { master_ = std::move(rows); }
    void setMaster(ds::Dataset& dataset);
    void setDetail(std::unique_ptr<RowSource> rows) { detail_ = std::move(rows); }
    void setDetail(ds::Dataset& dataset);
    RowSource* master() const { return master_.get(); }
    RowSource* detail() const { return detail_.get(); }

    // Runs once before the first page is made.
    std::function<void()> beforePrint;

    // While pages are being made: the number of the page being filled (from 1), and of the
    // master row being printed (from 1; 0 before the first).
    int pageNumber() const { return pageNumber_; }
    int recordNumber() const { return recordNumber_; }

    // The printer object of the last preparation; made (not yet generating) when none.
    ReportPrinter& printer();
    // A new printer object for this report; its pages come when it is started or asked.
    ReportPrinter& prepare();
    // Previews modally through the registered provider; false when none is registered.
    bool preview();

private:
    friend class Paginator;

    QString title_;
    QString documentTitle_;
    QString fileName_;
    QString warning_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    QMarginsF margins_{10, 10, 10, 10};
    Font font_;
    std::array<std::unique_ptr<Band>, 6> bands_; // by BandKind, children excluded
    std::unique_ptr<RowSource> master_;
    std::unique_ptr<RowSource> detail_;
    int pageNumber_ = 0;
    int recordNumber_ = 0;
    std::unique_ptr<ReportPrinter> printer_;
};

} // namespace report
