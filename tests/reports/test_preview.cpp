// The preview window TCustPreview driven as the user drives it: tool buttons, Escape, the
// wheel, with pages arriving while it is open.
#include <QtTest>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <functional>
#include <memory>

#include "desktop/image_list.h"
#include "desktop/messages.h"
#include "desktop/print_dialogs.h"
#include "desktop/save_file_dialog.h"
#include "desktop/shell.h"
#include "report/band.h"
#include "report/memory_rows.h"
#include "report/page_view.h"
#include "report/printing.h"
#include "report/report.h"
#include "report/report_printer.h"
#include "reports/pod_wydr.h"
#include "widget_testing.h"
#include "test_main.h"

using namespace Qt::StringLiterals;
using report::BandKind;
using Status = report::ReportPrinter::Status;

namespace {

// A report of `pages` pages: one tall detail band per master row.
std::unique_ptr<report::Report> reportOfPages(int pages)
{
    auto r = std::make_unique<report::Report>();
    r->setTitle(u"Wydruk próbny"_s);
    QList<QVariantList> rows;
    for (int i = 1; i <= pages; ++i)
        rows << QVariantList{u"pozycja %1"_s.arg(i)};
    r->setMaster(std::make_unique<report::MemoryRows>(QStringList{u"NAZWA"_s}, rows));
    report::Band& header = r->addBand(BandKind::PageHeader, 6);
    header.addText({150, 0, 20, 5}, u"Strona:"_s);
    header.addComputed({170, 0, 15, 5}, [rp = r.get()] { return QString::number(rp->pageNumber()); });
    r->addBand(BandKind::Title, 10).addText({0, 0, 190, 8}, u"Zażółć gęślą jaźń ŁÓDŹ"_s);
    r->addBand(BandKind::Detail, 200).addField({0, 0, 100, 5}, u"NAZWA"_s);
    return r;
}

template <class T>
T* child(QWidget* window, const QString& name)
{
    return window->findChild<T*>(name);
}

QString panelText(QWidget* window, int panel)
{
    const QLabel* l = child<QLabel>(window, u"Panels%1"_s.arg(panel));
    return l ? l->text() : u"<none>"_s;
}

// Which of the four navigation buttons are enabled, as "1100" for tb_1, tb_pop, tb_nast, tb_ost.
QString navigationState(QWidget* window)
{
    QString s;
    for (const char* name : {"tb_1", "tb_pop", "tb_nast", "tb_ost"})
        s += child<QToolButton>(window, QString::fromLatin1(name))->isEnabled() ? u'1' : u'0';
    return s;
}

void click(QWidget* window, const char* name)
{
    QTest::mouseClick(child<QWidget>(window, QString::fromLatin1(name)), Qt::LeftButton);
}

void sendWheel(QObject* receiver, QPoint angleDelta, QPointF position = {5, 5})
{
    QWheelEvent e(position, position, QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(receiver, &e);
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT

    // A shown preview of `r` whose pages are all made.
    TCustPreview* openFinished(report::Report& r)
    {
        report::ReportPrinter& p = r.prepare();
        QSignalSpy finished(&p, &report::ReportPrinter::finished);
        auto* w = new TCustPreview(&p);
        w->show();
        if (p.status() != Status::Finished && !finished.wait(20000))
            return nullptr;
        return w;
    }

    static void closeAndFree(QPointer<TCustPreview> w)
    {
        if (w)
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void cleanup()
    {
        desktop::setPrintDialogHandler({});
        desktop::setSaveFileHandler({});
        report::registerPreviewInterface({});
    }

    void windowAsBuilt()
    {
        auto r = reportOfPages(2);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        QCOMPARE(w->objectName(), u"CustPreview"_s);
        QCOMPARE(w->windowTitle(), u"Podgląd wydruku"_s);
        QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));

        // The tool bar, left to right, with the hints.
        auto* bar = child<QToolBar>(w, u"ToolBar1"_s);
        QVERIFY(bar);
        QStringList order;
        for (QAction* a : bar->actions()) {
            if (a->isSeparator()) {
                order << u"|"_s;
                continue;
            }
            const QWidget* widget = bar->widgetForAction(a);
            order << (widget->objectName().isEmpty() ? u"<gap>"_s : widget->objectName());
        }
        QCOMPARE(order, (QStringList{u"tb_dop_do_szer"_s, u"tb_dop_str"_s, u"|"_s, u"tb_1"_s, u"tb_pop"_s, u"tb_nast"_s,
                                     u"tb_ost"_s, u"|"_s, u"tb_ust_dr"_s, u"tb_druk"_s, u"tb_pdf"_s, u"|"_s, u"kl_exit"_s,
                                     u"<gap>"_s, u"PB_podgl"_s}));
        const QList<QPair<QString, QString>> hints{
            {u"tb_dop_do_szer"_s, u"Skaluj do szerokości"_s}, {u"tb_dop_str"_s, u"Skaluj do strony"_s},
            {u"tb_1"_s, u"Pierwsza strona"_s}, {u"tb_pop"_s, u"Poprzednia strona"_s}, {u"tb_nast"_s, u"Następna strona"_s},
            {u"tb_ost"_s, u"Ostatnia strona"_s}, {u"tb_ust_dr"_s, u"Ustawienia drukarki"_s}, {u"tb_druk"_s, u"Drukuj"_s},
            {u"tb_pdf"_s, u"Zapisz jako PDF"_s}};
        auto* images = w->findChild<desktop::ImageList*>(u"obr_podw"_s);
        QVERIFY(images);
        for (const auto& [name, hint] : hints) {
            auto* b = child<QToolButton>(w, name);
            QVERIFY2(b, qPrintable(name));
            QCOMPARE(b->toolTip(), hint);
            QVERIFY(!b->icon().isNull());
        }
        QVERIFY(images->count() >= 9);
        auto* exit = child<QPushButton>(w, u"kl_exit"_s);
        QCOMPARE(exit->text(), u"Zamknij"_s);
        QCOMPARE(exit->toolTip(), u"Powrót"_s);
        auto* progress = child<QProgressBar>(w, u"PB_podgl"_s);
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 100);

        // The status bar's three panels.
        QVERIFY(child<QStatusBar>(w, u"StatusBar1"_s));
        QVERIFY(child<QLabel>(w, u"Panels0"_s)->x() < child<QLabel>(w, u"Panels1"_s)->x());
        QVERIFY(child<QLabel>(w, u"Panels1"_s)->x() < child<QLabel>(w, u"Panels2"_s)->x());
        QCOMPARE(panelText(w, 0), QString());

        // The page view: page 1 at 100 %; the zoom buttons fit the width, then the page.
        auto* view = child<report::PageView>(w, u"QRPreview1"_s);
        QVERIFY(view);
        QCOMPARE(view->pageNumber(), 1);
        QCOMPARE(view->zoom(), 100);
        QCOMPARE(view->printer(), w->printer());
        click(w, "tb_dop_do_szer");
        QCoreApplication::sendPostedEvents();
        const int widthZoom = view->zoom();
        QVERIFY(widthZoom != 100);
        QVERIFY(view->widget()->width() <= view->viewport()->width());
        QVERIFY(view->widget()->width() > view->viewport()->width() - 40);
        click(w, "tb_dop_str");
        QCoreApplication::sendPostedEvents(); // the scroll bars go once the layout is redone
        QVERIFY(view->zoom() < widthZoom);
        QVERIFY(view->widget()->height() <= view->viewport()->height());
        QVERIFY(view->widget()->width() <= view->viewport()->width());
        closeAndFree(w);
        QVERIFY(!w);
    }

    void onePageNavigation()
    {
        auto r = reportOfPages(1);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        auto* view = child<report::PageView>(w, u"QRPreview1"_s);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 1"_s);
        QCOMPARE(navigationState(w), u"1111"_s); // all start enabled

        // tb_nast does nothing and then disables tb_nast and tb_ost.
        click(w, "tb_nast");
        QCOMPARE(view->pageNumber(), 1);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 1"_s);
        QCOMPARE(navigationState(w), u"1100"_s);
        // tb_ost and tb_1 cannot move: nothing changes.
        click(w, "tb_1");
        QCOMPARE(navigationState(w), u"1100"_s);
        // tb_pop on page 1 disables tb_1 and tb_pop.
        click(w, "tb_pop");
        QCOMPARE(view->pageNumber(), 1);
        QCOMPARE(navigationState(w), u"0000"_s);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 1"_s);
        closeAndFree(w);
    }

    void threePageNavigation()
    {
        auto r = reportOfPages(3);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        auto* view = child<report::PageView>(w, u"QRPreview1"_s);
        QCOMPARE(w->printer()->pageCount(), 3);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 3"_s);
        QCOMPARE(navigationState(w), u"1111"_s);

        // tb_1 on page 1 does nothing at all.
        click(w, "tb_1");
        QCOMPARE(navigationState(w), u"1111"_s);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 3"_s);

        click(w, "tb_ost");
        QCOMPARE(view->pageNumber(), 3);
        QCOMPARE(panelText(w, 1), u"Strona 3 z 3"_s);
        QCOMPARE(navigationState(w), u"1100"_s);

        click(w, "tb_pop");
        QCOMPARE(view->pageNumber(), 2);
        QCOMPARE(panelText(w, 1), u"Strona 2 z 3"_s);
        QCOMPARE(navigationState(w), u"1111"_s);

        click(w, "tb_pop");
        QCOMPARE(view->pageNumber(), 1);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 3"_s);
        QCOMPARE(navigationState(w), u"0011"_s);

        click(w, "tb_nast");
        QCOMPARE(view->pageNumber(), 2);
        QCOMPARE(panelText(w, 1), u"Strona 2 z 3"_s);
        QCOMPARE(navigationState(w), u"1111"_s);

        click(w, "tb_nast");
        QCOMPARE(view->pageNumber(), 3);
        QCOMPARE(panelText(w, 1), u"Strona 3 z 3"_s);
        QCOMPARE(navigationState(w), u"1100"_s);

        // Disabled buttons take no clicks.
        click(w, "tb_nast");
        QCOMPARE(view->pageNumber(), 3);

        click(w, "tb_1");
        QCOMPARE(view->pageNumber(), 1);
        QCOMPARE(panelText(w, 1), u"Strona 1 z 3"_s);
        QCOMPARE(navigationState(w), u"0011"_s);

        // The page shown is the page view's: its page 3 carries "Strona:" 3.
        click(w, "tb_ost");
        QCOMPARE(w->printer()->page(view->pageNumber()).texts().mid(0, 2), (QStringList{u"Strona:"_s, u"3"_s}));
        closeAndFree(w);
    }

    void progressWhilePagesArrive()
    {
        auto r = reportOfPages(5);
        report::ReportPrinter& p = r->prepare();
        QPointer<TCustPreview> w = new TCustPreview(&p);
        w->show();
        auto* progress = child<QProgressBar>(w, u"PB_podgl"_s);
        auto* view = child<report::PageView>(w, u"QRPreview1"_s);
        QCOMPARE(panelText(w, 1), u"Strona"_s);
        QCOMPARE(panelText(w, 2), QString());
        QVERIFY(progress->isVisible());

        // What the window shows after each notice of the report; at the second page the user
        // moves on, and the next notice still reads "Strona 1 z" the new count.
        struct Seen {
            int count;
            QString page;
            QString state;
            int progress;
            bool progressVisible;
        };
        QList<Seen> seen;
        // The tool bar shows and hides its widgets through their actions.
        auto* bar = child<QToolBar>(w, u"ToolBar1"_s);
        QAction* progressAction = nullptr;
        for (QAction* a : bar->actions())
            if (bar->widgetForAction(a) == progress)
                progressAction = a;
        QVERIFY(progressAction);
        connect(&p, &report::ReportPrinter::pageAvailable, this, [&](int count) {
            seen << Seen{count, panelText(w, 1), panelText(w, 2), progress->value(), progressAction->isVisible()};
            if (count == 2)
                click(w, "tb_nast");
        });
        QSignalSpy finished(&p, &report::ReportPrinter::finished);
        QVERIFY(finished.wait(20000));

        QCOMPARE(seen.size(), 6);
        QCOMPARE(seen[0].count, 0);
        QCOMPARE(seen[0].page, u"Strona"_s);
        QCOMPARE(seen[0].state, u" Start"_s);
        QCOMPARE(seen[0].progress, 0);
        for (int i = 1; i <= 4; ++i) {
            QCOMPARE(seen[i].page, u"Strona 1 z %1"_s.arg(i));
            QCOMPARE(seen[i].state, u" Tworzenie"_s);
            QVERIFY(seen[i].progressVisible);
            QVERIFY(seen[i].progress >= seen[i - 1].progress);
        }
        QVERIFY(seen[2].progress > 0 && seen[2].progress < 100);
        QCOMPARE(seen[5].page, u"Strona 1 z 5"_s);
        QCOMPARE(seen[5].state, u" Koniec"_s);
        QCOMPARE(seen[5].progress, 100);
        QVERIFY(!seen[5].progressVisible);
        // The user's move stands: the view is on page 2; the bar is gone (once the tool bar
        // has laid itself out again) and stays hidden.
        QCOMPARE(view->pageNumber(), 2);
        QCoreApplication::sendPostedEvents();
        QVERIFY(!progress->isVisible());
        // The buttons keep the states of the last step: at the second page it was the last.
        QCOMPARE(navigationState(w), u"1100"_s);
        click(w, "tb_pop");
        QCOMPARE(panelText(w, 1), u"Strona 1 z 5"_s);
        QCOMPARE(navigationState(w), u"0011"_s);
        click(w, "tb_ost");
        QCOMPARE(panelText(w, 1), u"Strona 5 z 5"_s);
        QVERIFY(!progress->isVisible());
        closeAndFree(w);
    }

    void wheelScrollsTenPixels()
    {
        auto r = reportOfPages(2);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        auto* view = child<report::PageView>(w, u"QRPreview1"_s);
        QScrollBar* bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 200);
        bar->setValue(100);

        sendWheel(view->viewport(), {0, 120}); // away from the user: up
        QCOMPARE(bar->value(), 90);
        sendWheel(view->viewport(), {0, 1});
        QCOMPARE(bar->value(), 80);
        sendWheel(view->viewport(), {0, -480}); // towards the user: down, whatever the size
        QCOMPARE(bar->value(), 90);
        sendWheel(view->viewport(), {0, -1});
        QCOMPARE(bar->value(), 100);
        sendWheel(bar, {0, -120}); // the scroll bar itself adds nothing of its own
        QCOMPARE(bar->value(), 110);
        // Wheel messages for any widget of the application count, once each, also when the
        // message reaches the window first and then the widget under the pointer.
        sendWheel(child<QWidget>(w, u"kl_exit"_s), {0, 240});
        QCOMPARE(bar->value(), 100);
        sendWheel(w->windowHandle(), {0, 120}, view->mapTo(w, QPoint(20, 20)));
        QCOMPARE(bar->value(), 90);
        QWidget other;
        other.show();
        sendWheel(&other, {0, -120});
        QCOMPARE(bar->value(), 100);
        // A sideways tilt is no turn of the wheel.
        sendWheel(view->viewport(), {120, 0});
        QCOMPARE(bar->value(), 100);
        // At the top the bar stays at 0.
        bar->setValue(5);
        sendWheel(view->viewport(), {0, 120});
        QCOMPARE(bar->value(), 0);
        closeAndFree(w);
        QVERIFY(!w);
    }

    void escapeCloses()
    {
        auto r = reportOfPages(2);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        report::ReportPrinter* p = w->printer();
        QSignalSpy closed(p, &report::ReportPrinter::previewClosed);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTest::keyClick(child<report::PageView>(w, u"QRPreview1"_s), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(w && !w->isVisible());
        QCOMPARE(w->printer(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w);
        // The report keeps its printer object and its pages.
        QCOMPARE(&r->printer(), p);
        QCOMPARE(p->pageCount(), 2);

        // kl_exit closes the same way.
        QPointer<TCustPreview> second = openFinished(*r);
        QVERIFY(second);
        QSignalSpy closedAgain(second->printer(), &report::ReportPrinter::previewClosed);
        click(second, "kl_exit");
        QCOMPARE(closedAgain.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!second);
    }

    void pdfPrintAndSetupThroughTheirSeams()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        auto r = reportOfPages(3);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);

        // "Zapisz jako PDF": the name asked for; ".pdf" added when missing.
        QList<desktop::SaveFileRequest> asked;
        QString answer = dir.filePath(u"wydruk"_s);
        desktop::setSaveFileHandler([&](const desktop::SaveFileRequest& request) {
            asked << request;
            return answer;
        });
        click(w, "tb_pdf");
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].caption, u"Zapisz jako PDF"_s);
        // The report's own name, in the documents folder at first.
        QCOMPARE(QFileInfo(asked[0].suggestedName).fileName(), u"Wydruk próbny.pdf"_s);
        QVERIFY(asked[0].filter.contains(u"*.pdf"_s));
        QFile pdf(dir.filePath(u"wydruk.pdf"_s));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        // The status says where it went; its button opens it through the desktop.
        auto* saved = w->findChild<QLabel*>(u"Panels3"_s);
        QVERIFY(saved->isVisible() && saved->text().contains(QDir::toNativeSeparators(dir.filePath(u"wydruk.pdf"_s))));
        QStringList opened;
        desktop::setAddressHandler([&](const QString& url) { opened << url; });
        click(w, "kl_otworz");
        desktop::setAddressHandler({});
        QCOMPARE(opened, QStringList{QUrl::fromLocalFile(dir.filePath(u"wydruk.pdf"_s)).toString()});
        // Cancelled: nothing written; the folder last used is offered.
        answer.clear();
        click(w, "tb_pdf");
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1].suggestedName, dir.filePath(u"Wydruk próbny.pdf"_s));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

        // Printer setup keeps the choices; printing asks again, then prints to the choice.
        QList<desktop::PrintDialogRequest> dialogs;
        bool accept = true;
        desktop::setPrintDialogHandler([&](const desktop::PrintDialogRequest& request) {
            dialogs << request;
            if (request.kind == desktop::PrintDialogKind::Setup) {
                request.printer->setOutputFormat(QPrinter::PdfFormat);
                request.printer->setOutputFileName(dir.filePath(u"drukarka.pdf"_s));
            }
            return accept;
        });
        click(w, "tb_ust_dr");
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0].kind, desktop::PrintDialogKind::Setup);
        QCOMPARE(dialogs[0].pageCount, 3);
        QCOMPARE(dialogs[0].printer, &report::printSettings(*w->printer()));
        QCOMPARE(dialogs[0].printer->pageLayout().pageSize().id(), QPageSize::A4);
        QVERIFY(!QFile::exists(dir.filePath(u"drukarka.pdf"_s)));

        accept = false;
        click(w, "tb_druk");
        QCOMPARE(dialogs.size(), 2);
        QCOMPARE(dialogs[1].kind, desktop::PrintDialogKind::Print);
        QVERIFY(!QFile::exists(dir.filePath(u"drukarka.pdf"_s)));

        accept = true;
        click(w, "tb_druk");
        QCOMPARE(dialogs.size(), 3);
        QFile printed(dir.filePath(u"drukarka.pdf"_s));
        QVERIFY(printed.open(QIODevice::ReadOnly));
        const QByteArray content = printed.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QCOMPARE(content.count("/Type /Page\n"), 3);
        closeAndFree(w);
    }

    // A printout with a warning (a fee lacking rates) shows it above the pages and asks
    // before printing or saving; No prints and saves nothing, Yes goes on.
    void aWarningIsShownAndAskedAbout()
    {
        QTemporaryDir dir;
        auto r = reportOfPages(1);
        const QString warning = u"Brak stawek dla: WA 1 (Osobowe, benzyna, rok 2024). Opłata na wydruku jest zaniżona."_s;
        r->setWarning(warning);
        QPointer<TCustPreview> w = openFinished(*r);
        QVERIFY(w);
        auto* banner = w->findChild<QLabel*>(u"e_ostrzezenie"_s);
        QVERIFY(banner && banner->isVisible());
        QCOMPARE(banner->text(), warning);

        QStringList asked;
        desktop::Answer answer = desktop::Answer::No;
        desktop::setMessageHandler([&](const desktop::Message& m) {
            asked << m.text;
            return answer;
        });
        int dialogs = 0;
        desktop::setPrintDialogHandler([&](const desktop::PrintDialogRequest& request) {
            request.printer->setOutputFormat(QPrinter::PdfFormat);
            request.printer->setOutputFileName(dir.filePath(u"drukarka.pdf"_s));
            return ++dialogs > 0;
        });
        desktop::setSaveFileHandler([&](const desktop::SaveFileRequest&) { return dir.filePath(u"zapis.pdf"_s); });
        click(w, "tb_druk");
        click(w, "tb_pdf");
        QCOMPARE(asked, (QStringList{warning + u" Drukować mimo to?"_s, warning + u" Zapisać mimo to?"_s}));
        QCOMPARE(dialogs, 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        answer = desktop::Answer::Yes;
        click(w, "tb_druk");
        click(w, "tb_pdf");
        desktop::setMessageHandler({});
        QCOMPARE(dialogs, 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{u"drukarka.pdf"_s, u"zapis.pdf"_s}));
        closeAndFree(w);

        // Without a warning: no banner, no question.
        auto plain = reportOfPages(1);
        QPointer<TCustPreview> other = openFinished(*plain);
        QVERIFY(!other->findChild<QLabel*>(u"e_ostrzezenie"_s));
        closeAndFree(other);
    }

    void providerShowsTheWindow()
    {
        auto r = reportOfPages(30);
        QVERIFY(!r->preview()); // no provider registered yet
        report::registerPreviewInterface<TQRCustomPreviewInterface>();

        // Modal: the first page shows while later ones are still being made; the call
        // returns once the window has closed and freed itself.
        QPointer<QWidget> seen;
        QString caption;
        bool maximised = false;
        Qt::WindowModality modality = Qt::NonModal;
        int countAtFirstPage = 0;
        Status statusAtFirstPage = Status::Finished;
        QString pagePanelAtFirstPage;
        whenModal(this, [&](QWidget* modal) {
            seen = modal;
            caption = modal->windowTitle();
            maximised = modal->isMaximized();
            modality = modal->windowModality();
            auto* preview = qobject_cast<TCustPreview*>(modal);
            if (!preview)
                return modal->close(), void();
            report::ReportPrinter* p = preview->printer();
            QSignalSpy pages(p, &report::ReportPrinter::pageAvailable);
            while (p->pageCount() == 0 && pages.wait(20000)) {
            }
            countAtFirstPage = p->pageCount();
            statusAtFirstPage = p->status();
            pagePanelAtFirstPage = panelText(modal, 1);
            QSignalSpy finished(p, &report::ReportPrinter::finished);
            if (p->status() != Status::Finished)
                finished.wait(20000);
            click(modal, "kl_exit");
        });
        QVERIFY(r->preview());
        QVERIFY(seen.isNull()); // freed
        QCOMPARE(caption, u"Podgląd wydruku"_s);
        QVERIFY(maximised);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(countAtFirstPage, 1);
        QCOMPARE(statusAtFirstPage, Status::Generating);
        QCOMPARE(pagePanelAtFirstPage, u"Strona 1 z 1"_s);
        QCOMPARE(r->printer().pageCount(), 30);

        // Without waiting: the window is returned, shown and maximised, not modal.
        TQRCustomPreviewInterface provider;
        QPointer<QWidget> shown = provider.show(r->prepare());
        QVERIFY(qobject_cast<TCustPreview*>(shown.data()));
        QVERIFY(shown->isVisible());
        QVERIFY(shown->isMaximized());
        QCOMPARE(shown->windowModality(), Qt::NonModal);
        QSignalSpy finished(&r->printer(), &report::ReportPrinter::finished);
        QVERIFY(finished.wait(20000));
        shown->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown.isNull());
    }
};

TEST_MAIN(QApplication, TestPreview)
#include "test_preview.moc"
