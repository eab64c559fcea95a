#include "ok_gl.h"

#include <QGuiApplication>
#include <QScreen>

#include "backup_actions.h"
#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/messages.h"
#include "desktop/bar_style.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/image_list.h"
#include "desktop/menu_bar.h"
#include "desktop/open_modal.h"
#include "desktop/shell.h"
#include "form_info.h"
#include "help_topics.h"
#include "icons.h"
#include "import/pod_kpr.h"
#include "import/zak_kpr.h"
#include "import/zak_ksef.h"
#include "maker.h"
#include "purchases/zak.h"
#include "registers/pod.h"
#include "registers/sam.h"
#include "reports/rozl.h"
#include "reports/zest_opl.h"
#include "serw_op.h"
#include "tables/akt_opl.h"
#include "tables/opl.h"
#include "tables/pal.h"
#include "tables/par.h"
#include "tables/siln.h"
#include "text/formats.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

Tf_ok_gl* f_ok_gl = nullptr;

namespace {

enum Image {
    ImageImport = 0,
    ImageEndOfWork = 1,
    ImageHelp = 4,
    ImageMail = 5,
    ImageWeb = 6,
    ImagePurchases = 7,
    ImageSettlement = 8,
    ImageEveryTaxpayer = 9
};

// The tool buttons are 125 by 39 pixels as the program always had them. With the caption
// under the picture a Qt button needs more height than 39, and with a wide font a caption
// may need more width than 125: then all buttons take what the largest needs, alike.
constexpr QSize toolButtonLeast(125, 39);

} // namespace

// The caption names the database the program works on, so that a desk sees which one it is.
void Tf_ok_gl::showDatabaseInCaption()
{
    const QString caption = QStringLiteral("Naliczanie opłat za korzystanie ze środowiska z tytułu spalania paliw w silnikach");
    setWindowTitle(dm_.isConnected()
                       ? caption + QStringLiteral(" — ") + data::shownDatabaseName(dm_.databaseName())
                       : caption);
}

Tf_ok_gl::Tf_ok_gl(Tdm_1& dm, QWidget* parent)
    : QMainWindow(parent),
      obr_gl(new desktop::ImageList(this)),
      AM_gl(new QObject(this)),
      dm_(dm),
      barStyle_(new desktop::BarStyle(this))
{
    text::applyProgramFormats();
    f_ok_gl = this;

    showDatabaseInCaption();
    connect(&dm_, &Tdm_1::connectionChanged, this, &Tf_ok_gl::showDatabaseInCaption);
    setWindowIcon(icons::program());
    // The restored size fills the screen too: a desktop without a window manager that
    // honours the maximised state still shows the whole window.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    desktop::setHelpContext(this, help_context::mainWindow);

    obr_gl->setObjectName(QStringLiteral("obr_gl"));
    AM_gl->setObjectName(QStringLiteral("AM_gl"));
    createImages();
    createActions();
    createMenu();
    createToolBar();
    createPopup();
    connectActions();

    auto* centre = new QWidget;
    centre->setObjectName(QStringLiteral("centre"));
    setCentralWidget(centre);
    // Made now so that the hint of the item under the mouse shows at the bottom.
    statusBar();
}

Tf_ok_gl::~Tf_ok_gl()
{
    if (f_ok_gl == this)
        f_ok_gl = nullptr;
}

void Tf_ok_gl::contextMenuEvent(QContextMenuEvent* event)
{
    pop_gl->popup(event->globalPos());
    event->accept();
}

QAction* Tf_ok_gl::makeAction(const char* name, const QString& caption, const QString& category,
                              const QString& hint, int image)
{
    auto* action = new QAction(caption, AM_gl);
    action->setObjectName(QLatin1String(name));
    if (!category.isEmpty())
        action->setProperty("category", category);
    if (!hint.isEmpty()) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    if (image >= 0) {
        action->setIcon(obr_gl->icon(image));
        action->setProperty("imageIndex", image);
    }
    return action;
}

void Tf_ok_gl::createImages()
{
    obr_gl->setIcon(ImageImport, icons::importing());
    obr_gl->setIcon(ImageEndOfWork, icons::endOfWork());
    obr_gl->setIcon(ImageHelp, icons::help());
    obr_gl->setIcon(ImageMail, icons::mail());
    obr_gl->setIcon(ImageWeb, icons::web());
    obr_gl->setIcon(ImagePurchases, icons::purchaseEntry());
    obr_gl->setIcon(ImageSettlement, icons::settlement());
    obr_gl->setIcon(ImageEveryTaxpayer, icons::everyTaxpayer());
}

void Tf_ok_gl::createActions()
{
    const QString taxpayer = QStringLiteral("Podatnik");
    const QString tables = QStringLiteral("Tablice");
    const QString purchases = QStringLiteral("Faktury zakupu paliw");
    const QString about = QStringLiteral("Informacje");

    a_pod = makeAction("a_pod", QStringLiteral("Dane ewidencyjne"), taxpayer);
    a_pod_kp = makeAction("a_pod_kp", QStringLiteral("Import danych podatnika z PKPiR"), taxpayer, {}, ImageImport);
    a_sam = makeAction("a_sam", QStringLiteral("Samochody"), taxpayer);
    a_koniec = makeAction("a_koniec", QStringLiteral("&Koniec"), taxpayer,
                          QStringLiteral("Koniec pracy z aplikacją"), ImageEndOfWork);
    a_pal = makeAction("a_pal", QStringLiteral("Paliwa"), tables);
    a_sil = makeAction("a_sil", QStringLiteral("Rodzaje pojazdów"), tables);
    a_opl = makeAction("a_opl", QStringLiteral("Opłaty"), tables);
    a_par = makeAction("a_par", QStringLiteral("Wskaźniki"), tables);
    a_akt_opl = makeAction("a_akt_opl", QStringLiteral("Dodanie opłat za kolejny rok z pliku SQL"), tables);
    A_serw_op = makeAction("A_serw_op", QStringLiteral("Ścieżka do bazy danych"), tables);
    a_kopia = makeAction("a_kopia", QStringLiteral("Kopia zapasowa bazy danych…"), tables);
    a_odtw = makeAction("a_odtw", QStringLiteral("Odtworzenie bazy z kopii…"), tables);
    a_zak = makeAction("a_zak", QStringLiteral("Wprowadzanie"), purchases,
                       QStringLiteral("Wprowadzanie zakupów paliw"), ImagePurchases);
    a_zak_kpr = makeAction("a_zak_kpr", QStringLiteral("&Import z systemu PKPiR, FK"), purchases,
                           QStringLiteral("Import danych dotyczących zakupów paliw z systemu PKPiR"), ImageImport);
    a_zak_ksef = makeAction("a_zak_ksef", QStringLiteral("Import z &e-faktur (KSeF)"), purchases,
                            QStringLiteral("Import zakupów paliw z e-faktur KSeF"), ImageImport);
    a_rozl = makeAction("a_rozl", QStringLiteral("&Rozliczenie"), {},
                        QStringLiteral("Wyliczenie kwartalnej opłaty za korzystanie ze środowiska"), ImageSettlement);
    a_zest_opl = makeAction("a_zest_opl", QStringLiteral("Zestawienie opłat &wszystkich podatników"),
                            QStringLiteral("Zestawienia"),
                            QStringLiteral("Opłata, próg i wydruki wszystkich podatników za okres"), ImageEveryTaxpayer);
    a_zest_opl->setIconText(QStringLiteral("Wszyscy podatnicy"));
    a_pomoc = makeAction("a_pomoc", QStringLiteral("&Pomoc"), {}, QStringLiteral("Help Contents"), ImageHelp);
    a_opr = makeAction("a_opr", QStringLiteral("&O programie"), about);
    a_strwww = makeAction("a_strwww", QStringLiteral("&Strona www producenta"), about, {}, ImageWeb);
    a_email = makeAction("a_email", QStringLiteral("&Wyślij e-mail"), about, {}, ImageMail);

    // The tool button carries a shorter caption than the menu item.
    a_zak_kpr->setIconText(QStringLiteral("Zakupy z PKPiR, FK"));
    a_zak_ksef->setIconText(QStringLiteral("Zakupy z KSeF"));
}

void Tf_ok_gl::createMenu()
{
    // "&Podatnik" and "&Pomoc" share their letter: Alt+P always opens "Podatnik".
    menu_gl = new desktop::MenuBar(this);
    setMenuBar(menu_gl);
    menu_gl->setObjectName(QStringLiteral("menu_gl"));
    menu_gl->setStyle(barStyle_);

    QMenu* taxpayer = menu_gl->addMenu(QStringLiteral("&Podatnik"));
    taxpayer->setObjectName(QStringLiteral("m_podatnik"));
    taxpayer->addActions({a_pod, a_pod_kp, a_sam});
    taxpayer->addSeparator();
    taxpayer->addAction(a_koniec);

    QMenu* tables = menu_gl->addMenu(QStringLiteral("Parametry"));
    tables->setObjectName(QStringLiteral("m_parametry"));
    tables->addActions({a_pal, a_sil, a_opl, a_par, a_akt_opl, A_serw_op});
    tables->addSeparator();
    tables->addActions({a_kopia, a_odtw});

    QMenu* purchases = menu_gl->addMenu(QStringLiteral("Faktury zakupu paliw"));
    purchases->setObjectName(QStringLiteral("m_faktury"));
    purchases->addActions({a_zak, a_zak_kpr, a_zak_ksef});
    // The menu's default item is drawn bold in this menu only, not on the tool bar or the popup.
    purchases->setDefaultAction(a_zak);

    menu_gl->addAction(a_rozl);
    QMenu* overviews = menu_gl->addMenu(QStringLiteral("&Zestawienia"));
    overviews->setObjectName(QStringLiteral("m_zestawienia"));
    overviews->addAction(a_zest_opl);
    menu_gl->addAction(a_pomoc);

    QMenu* about = menu_gl->addMenu(QStringLiteral("&Informacje"));
    about->setObjectName(QStringLiteral("m_informacje"));
    about->addAction(a_opr);
    about->addSeparator();
    about->addActions({a_strwww, a_email});
}

void Tf_ok_gl::createToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("Pasek narzędzi"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->addActions({a_zak, a_rozl, a_zak_kpr, a_zak_ksef, a_zest_opl});
    ToolBar1->addSeparator();
    ToolBar1->addAction(a_koniec);

    QList<QToolButton*> buttons;
    QSize size = toolButtonLeast;
    for (QAction* a : ToolBar1->actions()) {
        if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(a))) {
            button->setStyle(barStyle_);
            buttons << button;
            size = size.expandedTo(button->sizeHint());
        }
    }
    for (QToolButton* button : buttons)
        button->setFixedSize(size);
}

void Tf_ok_gl::createPopup()
{
    pop_gl = new QMenu(this);
    pop_gl->setObjectName(QStringLiteral("pop_gl"));
    pop_gl->addActions({a_zak, a_rozl, a_zak_kpr, a_zak_ksef});
}

bool Tf_ok_gl::databaseConnected()
{
    if (dm_.isConnected())
        return true;
    desktop::showError(QStringLiteral("Brak połączenia z bazą danych. Wskaż bazę danych w menu Parametry → "
                                      "Ścieżka do bazy danych."),
                       this);
    return false;
}

void Tf_ok_gl::connectActions()
{
    // A screen of the database's data opens only with a database connected: without one it
    // would open half-built and fail at every step.
    const auto withDatabase = [this](auto open) {
        return [this, open] {
            if (databaseConnected())
                open();
        };
    };
    connect(a_koniec, &QAction::triggered, this, &QWidget::close);
    connect(a_pomoc, &QAction::triggered, this, [this] { desktop::HelpSystem::showContents(this); });
    connect(a_opr, &QAction::triggered, this, [this] { desktop::openModal(form_info, this); });
    connect(a_pod, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_pod, this, dm_); }));
    connect(a_sam, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_sam, this, dm_); }));
    connect(a_pal, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_pal, this, dm_); }));
    connect(a_sil, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_siln, this, dm_); }));
    connect(a_opl, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_opl, this, dm_); }));
    connect(a_par, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_par, this, dm_); }));
    connect(a_rozl, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_rozl, this, dm_); }));
    connect(a_zest_opl, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_zest_opl, this, dm_); }));
    connect(a_zak, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_zak, this, dm_); }));
    connect(a_zak_kpr, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_zak_kpr, this, dm_); }));
    connect(a_zak_ksef, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_zak_ksef, this, dm_); }));
    connect(a_pod_kp, &QAction::triggered, this, withDatabase([this] { desktop::openModal(f_pod_kpr, this, dm_); }));
    connect(A_serw_op, &QAction::triggered, this, [this] { desktop::openModal(F_serw_op, this, dm_); });
    connect(a_kopia, &QAction::triggered, this, withDatabase([this] { makeBackup(dm_, this); }));
    connect(a_odtw, &QAction::triggered, this, [this] { restoreBackup(dm_, this); });
    connect(a_akt_opl, &QAction::triggered, this, withDatabase([this] { desktop::openModal(F_akt_opl, this, dm_); }));
    connect(a_strwww, &QAction::triggered, this, [] { desktop::openAddress(QString::fromUtf8(maker::web)); });
    connect(a_email, &QAction::triggered, this,
            [] { desktop::openAddress(QStringLiteral("mailto:") + QString::fromUtf8(maker::mail)); });
}
