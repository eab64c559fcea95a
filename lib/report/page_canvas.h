#pragma once

#include <QPointer>
#include <QWidget>

namespace report {

class ReportPrinter;

// The paper of the page view: one page of a printer object at a scale, on a grey border.
// Reads the page at each paint, since pages are still being made while it is shown.
class PageCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr int border = 10; // px of grey around the paper

    explicit PageCanvas(QWidget* parent = nullptr);

    // Page `number` of `printer` (blank paper until it has been made) at `pixelsPerMm`.
    void setContent(ReportPrinter* printer, int number, double pixelsPerMm);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<ReportPrinter> printer_;
    int number_ = 1;
    double pixelsPerMm_ = 1;
};

} // namespace report
