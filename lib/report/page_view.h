#pragma once

#include <QPointer>
#include <QScrollArea>

namespace report {

class PageCanvas;
class ReportPrinter;

// Shows one page of a printer object at a zoom, with scroll bars that move the page while
// they are dragged. Pages may still be arriving: the view passes the printer's notices on
// and draws its page as soon as it exists. Page numbers from 1, zoom in percent of the
// paper's real size (100 at the start).
// The wheel is left to the window that holds the view (the program's preview scrolls by a
// fixed step through an application-wide hook): the view itself does not scroll on it.
class PageView : public QScrollArea {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    void setPrinter(ReportPrinter* printer);
    ReportPrinter* printer() const;

    int pageNumber() const { return page_; }
    // Kept within 1 and the number of pages made (1 while there are none).
    void setPageNumber(int number);
    int zoom() const { return zoom_; }
    void setZoom(int percent); // 5..800
    // The zoom at which the paper's width fills the view.
    void zoomToWidth();
    // The zoom at which the whole paper fits the view.
    void zoomToPage();

signals:
    void pageAvailable(int count);
    void progress(int percent);

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    double pixelsPerMmAt(int percent) const;

    QPointer<ReportPrinter> printer_;
    PageCanvas* canvas_;
    int page_ = 1;
    int zoom_ = 100;
};

} // namespace report
