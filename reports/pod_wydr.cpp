#include "reports/pod_wydr.h"

#include <QDir>
#include <QFileInfo>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QVBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

#include "desktop/image_list.h"
#include "desktop/messages.h"
#include "desktop/print_dialogs.h"
#include "desktop/remembered_folders.h"
#include "desktop/save_file_dialog.h"
#include "desktop/shell.h"
#include "desktop/wheel_hook.h"
#include "report/page_view.h"
#include "report/pdf.h"
#include "report/printing.h"
#include "report/report.h"
#include "report/report_printer.h"

namespace {

// Slots of the image list obr_podw.
enum Image { ImgWidth, ImgPage, ImgFirst, ImgPrevious, ImgNext, ImgLast, ImgSetup, ImgPrint, ImgPdf };

constexpr int wheelStep = 10; // px per wheel message, whatever the size of the turn

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pm);
}

void drawSheet(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
}

// A triangle pointing left or right, with a bar before its tip when it goes to the end.
QIcon arrow(bool right, bool toEnd)
{
    return drawn([=](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 128));
        QPainterPath path;
        if (right) {
            path.moveTo(4, 3);
            path.lineTo(11, 8);
            path.lineTo(4, 13);
        } else {
            path.moveTo(12, 3);
            path.lineTo(5, 8);
            path.lineTo(12, 13);
        }
        path.closeSubpath();
        p.drawPath(path);
        if (toEnd)
            p.drawRect(right ? QRectF(11, 3, 2, 10) : QRectF(3, 3, 2, 10));
    });
}

void drawPrinter(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
}

} // namespace

TCustPreview::TCustPreview(report::ReportPrinter* printer) : printer_(printer)
{
    setObjectName(QStringLiteral("CustPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Podgląd wydruku"));

    obr_podw = new desktop::ImageList(this);
    obr_podw->setObjectName(QStringLiteral("obr_podw"));
    fillImages();

    QRPreview1 = new report::PageView(this);
    QRPreview1->setObjectName(QStringLiteral("QRPreview1"));
    // A printout with a warning (a fee that lacks rates) says so above its pages.
    const QString warning = printer ? printer->report().warning() : QString();
    if (warning.isEmpty()) {
        setCentralWidget(QRPreview1);
    } else {
        auto* central = new QWidget(this);
        auto* column = new QVBoxLayout(central);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        e_ostrzezenie = new QLabel(warning, central);
        e_ostrzezenie->setObjectName(QStringLiteral("e_ostrzezenie"));
        e_ostrzezenie->setWordWrap(true);
        e_ostrzezenie->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #9c0000; font-weight: bold; "
                                                    "padding: 6px; border-bottom: 1px solid #c9a000; }"));
        column->addWidget(e_ostrzezenie);
        column->addWidget(QRPreview1, 1);
        setCentralWidget(central);
    }
    buildToolBar();
    buildStatusBar();

    connect(QRPreview1, &report::PageView::pageAvailable, this, &TCustPreview::QRPreview1PageAvailable);
    connect(QRPreview1, &report::PageView::progress, this, &TCustPreview::QRPreview1Progress);
    QRPreview1->setPrinter(printer);

    wheelHook = std::make_unique<desktop::WheelHook>([this](const QWheelEvent& e) { AE_kolko_myszy(e); });

    // The size and place it has when the user restores it from maximised.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        resize(free.size() * 3 / 4);
        move(free.center() - rect().center());
    }
    // Pages come while the window is open; the first shows as soon as it is made.
    if (printer)
        printer->start();
}

TCustPreview::~TCustPreview() = default;

report::ReportPrinter* TCustPreview::printer() const
{
    return printer_;
}

void TCustPreview::fillImages()
{
    obr_podw->setIcon(ImgWidth, drawn([](QPainter& p) {
        drawSheet(p);
        p.setPen(QPen(QColor(0, 0, 128), 1.5));
        p.drawLine(QPointF(1, 8), QPointF(15, 8));
        p.drawLine(QPointF(1, 8), QPointF(3.5, 5.5));
        p.drawLine(QPointF(1, 8), QPointF(3.5, 10.5));
        p.drawLine(QPointF(15, 8), QPointF(12.5, 5.5));
        p.drawLine(QPointF(15, 8), QPointF(12.5, 10.5));
    }));
    obr_podw->setIcon(ImgPage, drawn([](QPainter& p) {
        drawSheet(p);
        p.setPen(QPen(Qt::black, 0.8));
        for (int y = 4; y <= 12; y += 2)
            p.drawLine(QPointF(5, y), QPointF(11, y));
    }));
    obr_podw->setIcon(ImgFirst, arrow(false, true));
    obr_podw->setIcon(ImgPrevious, arrow(false, false));
    obr_podw->setIcon(ImgNext, arrow(true, false));
    obr_podw->setIcon(ImgLast, arrow(true, true));
    obr_podw->setIcon(ImgSetup, drawn([](QPainter& p) {
        drawPrinter(p);
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(QColor(255, 210, 0));
        p.drawEllipse(QPointF(12, 12), 3, 3);
    }));
    obr_podw->setIcon(ImgPrint, drawn(drawPrinter));
    obr_podw->setIcon(ImgPdf, drawn([](QPainter& p) {
        drawSheet(p);
        p.setPen(QColor(200, 0, 0));
        QFont f = p.font();
        f.setPixelSize(6);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(2, 5, 12, 7), Qt::AlignCenter, QStringLiteral("PDF"));
    }));
}

QToolButton* TCustPreview::addToolButton(const char* name, const QString& hint, int image)
{
    auto* b = new QToolButton(ToolBar1);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(obr_podw->icon(image));
    b->setAutoRaise(true);
    ToolBar1->addWidget(b);
    return b;
}

void TCustPreview::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    tb_dop_do_szer = addToolButton("tb_dop_do_szer", QStringLiteral("Skaluj do szerokości"), ImgWidth);
    tb_dop_str = addToolButton("tb_dop_str", QStringLiteral("Skaluj do strony"), ImgPage);
    ToolBar1->addSeparator();
    tb_1 = addToolButton("tb_1", QStringLiteral("Pierwsza strona"), ImgFirst);
    tb_pop = addToolButton("tb_pop", QStringLiteral("Poprzednia strona"), ImgPrevious);
    tb_nast = addToolButton("tb_nast", QStringLiteral("Następna strona"), ImgNext);
    tb_ost = addToolButton("tb_ost", QStringLiteral("Ostatnia strona"), ImgLast);
    ToolBar1->addSeparator();
    tb_ust_dr = addToolButton("tb_ust_dr", QStringLiteral("Ustawienia drukarki"), ImgSetup);
    tb_druk = addToolButton("tb_druk", QStringLiteral("Drukuj"), ImgPrint);
    tb_pdf = addToolButton("tb_pdf", QStringLiteral("Zapisz jako PDF"), ImgPdf);
    ToolBar1->addSeparator();

    kl_exit = new QPushButton(QStringLiteral("Zamknij"), ToolBar1);
    kl_exit->setObjectName(QStringLiteral("kl_exit"));
    kl_exit->setToolTip(QStringLiteral("Powrót"));
    ToolBar1->addWidget(kl_exit);
    // Escape presses kl_exit at once, wherever the focus is in the window.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, kl_exit, &QPushButton::click);

    auto* gap = new QWidget(ToolBar1);
    gap->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(gap);
    PB_podgl = new QProgressBar(ToolBar1);
    PB_podgl->setObjectName(QStringLiteral("PB_podgl"));
    PB_podgl->setRange(0, 100);
    PB_podgl->setValue(0);
    PB_podgl->setFixedWidth(150);
    PB_podglAction = ToolBar1->addWidget(PB_podgl);

    connect(tb_dop_do_szer, &QToolButton::clicked, this, &TCustPreview::tb_dop_do_szerClick);
    connect(tb_dop_str, &QToolButton::clicked, this, &TCustPreview::tb_dop_strClick);
    connect(tb_1, &QToolButton::clicked, this, &TCustPreview::tb_1Click);
    connect(tb_pop, &QToolButton::clicked, this, &TCustPreview::tb_popClick);
    connect(tb_nast, &QToolButton::clicked, this, &TCustPreview::tb_nastClick);
    connect(tb_ost, &QToolButton::clicked, this, &TCustPreview::tb_ostClick);
    connect(tb_ust_dr, &QToolButton::clicked, this, &TCustPreview::tb_ust_drClick);
    connect(tb_druk, &QToolButton::clicked, this, &TCustPreview::tb_drukClick);
    connect(tb_pdf, &QToolButton::clicked, this, &TCustPreview::tb_pdfClick);
    connect(kl_exit, &QPushButton::clicked, this, &QWidget::close);
}

void TCustPreview::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    const auto panel = [this](const char* name, int width, const QString& text) {
        auto* l = new QLabel(text, StatusBar1);
        l->setObjectName(QString::fromLatin1(name));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFixedWidth(width);
        StatusBar1->addWidget(l);
        return l;
    };
    panel("Panels0", 50, {});
    pagePanel = panel("Panels1", 200, QStringLiteral("Strona"));
    statePanel = panel("Panels2", 300, {});
    // Where the last PDF went, and a button that opens it in the desktop's viewer.
    savedPanel = new QLabel(StatusBar1);
    savedPanel->setObjectName(QStringLiteral("Panels3"));
    savedPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    savedPanel->hide();
    StatusBar1->addWidget(savedPanel, 1);
    kl_otworz = new QPushButton(QStringLiteral("Otwórz PDF"), StatusBar1);
    kl_otworz->setObjectName(QStringLiteral("kl_otworz"));
    kl_otworz->setToolTip(QStringLiteral("Otwiera zapisany plik w przeglądarce PDF systemu"));
    kl_otworz->hide();
    StatusBar1->addWidget(kl_otworz);
    connect(kl_otworz, &QPushButton::clicked, this, [this] { desktop::openFile(savedFile_); });
}

int TCustPreview::pageCount() const
{
    return printer_ ? printer_->pageCount() : 0;
}

void TCustPreview::showPageText(int count)
{
    pagePanel->setText(QStringLiteral("Strona %1 z %2").arg(QRPreview1->pageNumber()).arg(count));
}

void TCustPreview::tb_dop_do_szerClick()
{
    QRPreview1->zoomToWidth();
}

void TCustPreview::tb_dop_strClick()
{
    QRPreview1->zoomToPage();
}

void TCustPreview::tb_1Click()
{
    const int count = pageCount();
    if (QRPreview1->pageNumber() == 1)
        return;
    QRPreview1->setPageNumber(1);
    showPageText(count);
    tb_1->setEnabled(false);
    tb_pop->setEnabled(false);
    tb_nast->setEnabled(true);
    tb_ost->setEnabled(true);
}

void TCustPreview::tb_popClick()
{
    const int count = pageCount();
    if (QRPreview1->pageNumber() > 1) {
        QRPreview1->setPageNumber(QRPreview1->pageNumber() - 1);
        showPageText(count);
        tb_ost->setEnabled(true);
        tb_nast->setEnabled(true);
    }
    const bool first = QRPreview1->pageNumber() == 1;
    tb_1->setEnabled(!first);
    tb_pop->setEnabled(!first);
}

void TCustPreview::tb_nastClick()
{
    const int count = pageCount();
    if (QRPreview1->pageNumber() < count) {
        QRPreview1->setPageNumber(QRPreview1->pageNumber() + 1);
        showPageText(count);
        tb_1->setEnabled(true);
        tb_pop->setEnabled(true);
    }
    const bool last = QRPreview1->pageNumber() == count;
    tb_nast->setEnabled(!last);
    tb_ost->setEnabled(!last);
}

void TCustPreview::tb_ostClick()
{
    const int count = pageCount();
    if (QRPreview1->pageNumber() >= count)
        return;
    QRPreview1->setPageNumber(count);
    showPageText(count);
    tb_1->setEnabled(true);
    tb_pop->setEnabled(true);
    tb_nast->setEnabled(false);
    tb_ost->setEnabled(false);
}

bool TCustPreview::goOnDespiteWarning(const QString& question)
{
    const QString warning = printer_->report().warning();
    return warning.isEmpty() || desktop::ask(warning + QLatin1Char(' ') + question, {}, this) == desktop::Answer::Yes;
}

void TCustPreview::tb_ust_drClick()
{
    if (printer_)
        desktop::choosePrinter(report::printSettings(*printer_), desktop::PrintDialogKind::Setup, pageCount(), this);
}

void TCustPreview::tb_drukClick()
{
    if (!printer_)
        return;
    if (!goOnDespiteWarning(QStringLiteral("Drukować mimo to?")))
        return;
    QPrinter& settings = report::printSettings(*printer_);
    if (!desktop::choosePrinter(settings, desktop::PrintDialogKind::Print, pageCount(), this))
        return;
    if (!report::print(*printer_, settings))
        desktop::showError(QStringLiteral("Nie można drukować na wybranej drukarce."), this);
}

void TCustPreview::tb_pdfClick()
{
    if (!printer_)
        return;
    if (!goOnDespiteWarning(QStringLiteral("Zapisać mimo to?")))
        return;
    const QString name = printer_->report().fileName();
    QString file = desktop::askSaveFileName({QStringLiteral("Zapisz jako PDF"),
                                             desktop::startPathFor(QStringLiteral("pdf"), (name.isEmpty() ? QStringLiteral("wydruk") : name)
                                                                                              + QStringLiteral(".pdf")),
                                             QStringLiteral("Pliki PDF (*.pdf)"), QStringLiteral("pdf"), QStringLiteral("pdf")},
                                            this);
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        file += QStringLiteral(".pdf");
        // The dialog asked about the name as typed; the file now named may exist.
        if (QFileInfo::exists(file)
            && desktop::ask(QStringLiteral("Plik %1 już istnieje. Czy zastąpić go?").arg(file), {}, this) != desktop::Answer::Yes)
            return;
    }
    // "Nie można zapisać pliku …." and the reason on the next line.
    if (const report::PdfOutcome written = report::writePdf(*printer_, file); !written) {
        desktop::showError(written.error, this);
        return;
    }
    savedFile_ = QFileInfo(file).absoluteFilePath();
    savedPanel->setText(QStringLiteral(" Zapisano: %1").arg(QDir::toNativeSeparators(savedFile_)));
    savedPanel->setToolTip(savedPanel->text().trimmed());
    savedPanel->show();
    kl_otworz->show();
}

void TCustPreview::QRPreview1PageAvailable(int count)
{
    if (count > 0)
        pagePanel->setText(QStringLiteral("Strona 1 z %1").arg(count));
    if (!printer_)
        return;
    switch (printer_->status()) {
    case report::ReportPrinter::Status::Ready:
        statePanel->setText(QStringLiteral(" Start"));
        break;
    case report::ReportPrinter::Status::Generating:
        statePanel->setText(QStringLiteral(" Tworzenie"));
        break;
    case report::ReportPrinter::Status::Finished:
        statePanel->setText(QStringLiteral(" Koniec"));
        PB_podglAction->setVisible(false);
        break;
    }
}

void TCustPreview::QRPreview1Progress(int percent)
{
    PB_podgl->setValue(percent);
}

void TCustPreview::AE_kolko_myszy(const QWheelEvent& event)
{
    // A sideways tilt of the wheel is not a turn.
    if (event.angleDelta().y() == 0 && event.angleDelta().x() != 0)
        return;
    QScrollBar* bar = QRPreview1->verticalScrollBar();
    bar->setValue(bar->value() + (event.angleDelta().y() > 0 ? -wheelStep : wheelStep));
}

void TCustPreview::closeEvent(QCloseEvent* event)
{
    if (printer_)
        printer_->previewClosing();
    printer_ = nullptr;
    QRPreview1->setPrinter(nullptr);
    wheelHook.reset();
    QMainWindow::closeEvent(event);
}

QWidget* TQRCustomPreviewInterface::show(report::ReportPrinter& printer)
{
    auto* window = new TCustPreview(&printer);
    window->showMaximized();
    return window;
}

void TQRCustomPreviewInterface::showModal(report::ReportPrinter& printer)
{
    auto* window = new TCustPreview(&printer);
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->setWindowModality(Qt::ApplicationModal);
    window->showMaximized();
    loop.exec(QEventLoop::DialogExec);
}
