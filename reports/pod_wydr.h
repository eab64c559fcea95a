#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "report/preview_interface.h"

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWheelEvent;

namespace desktop {
class ImageList;
class WheelHook;
}
namespace report {
class PageView;
class ReportPrinter;
}

// The program's preview of a printed statement ("Podgląd wydruku"): the pages of one
// generated report, paged through with the tool bar, zoomed to the width or to the page,
// printed or saved as PDF, with the progress of the pages' making in the status bar and the
// progress bar. Pages arrive one by one while the window is open. The window refers to the
// report's printer object, tells it when the preview closes, and frees itself on closing.
class TCustPreview : public QMainWindow {
    Q_OBJECT
public:
    explicit TCustPreview(report::ReportPrinter* printer);
    ~TCustPreview() override;

    report::ReportPrinter* printer() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void buildStatusBar();
    void fillImages();
    QToolButton* addToolButton(const char* name, const QString& hint, int image);

    void tb_dop_do_szerClick();
    void tb_dop_strClick();
    void tb_1Click();
    void tb_popClick();
    void tb_nastClick();
    void tb_ostClick();
    void tb_ust_drClick();
    void tb_drukClick();
    void tb_pdfClick();
    // Asks whether to print or save a printout that carries a warning; true without one.
    bool goOnDespiteWarning(const QString& question);
    void QRPreview1PageAvailable(int count);
    void QRPreview1Progress(int percent);
    void AE_kolko_myszy(const QWheelEvent& event);

    int pageCount() const;
    void showPageText(int count);

    QPointer<report::ReportPrinter> printer_;
    desktop::ImageList* obr_podw;
    QToolBar* ToolBar1;
    QToolButton* tb_dop_do_szer;
    QToolButton* tb_dop_str;
    QToolButton* tb_1;
    QToolButton* tb_pop;
    QToolButton* tb_nast;
    QToolButton* tb_ost;
    QToolButton* tb_ust_dr;
    QToolButton* tb_druk;
    QToolButton* tb_pdf;
    QPushButton* kl_exit;
    QProgressBar* PB_podgl;
    QAction* PB_podglAction; // the tool bar shows and hides PB_podgl through it
    report::PageView* QRPreview1;
    QStatusBar* StatusBar1;
    QLabel* pagePanel;
    QLabel* statePanel;
    QLabel* savedPanel;
    QLabel* e_ostrzezenie = nullptr;
    QPushButton* kl_otworz;
    QString savedFile_; // the PDF saved last from this window
    std::unique_ptr<desktop::WheelHook> wheelHook; // AE_kolko_myszy, while the window exists
};

// The preview provider that the program registers with the report engine, so that every
// report previews in TCustPreview.
class TQRCustomPreviewInterface : public report::PreviewInterface {
public:
    QWidget* show(report::ReportPrinter& printer) override;
    void showModal(report::ReportPrinter& printer) override;
};
