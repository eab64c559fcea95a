#include "import/pod_kpr.h"

#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "desktop/caption_width.h"
#include "desktop/attempt.h"
#include "desktop/help_context.h"
#include "import/folder_chooser.h"
#include "import/import_help.h"
#include "import/jest_pod.h"
#include "import/run_bar.h"
#include "import/ledger_files.h"
#include "import/taxpayer_import.h"
#include "text/formats.h"
#include "desktop/named.h"

using desktop::named;

Tf_pod_kpr* f_pod_kpr = nullptr;

Tf_pod_kpr::Tf_pod_kpr(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::OwnerCentre,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                     | Qt::WindowCloseButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("f_pod_kpr"));
    setWindowTitle(QStringLiteral("Przepisanie danych podatników z systemu PKPiR"));
    desktop::setHelpContext(this, import_help::taxpayerImport);
    buildControls();
    desktop::fitCaption(*this);

    z_katalog->installEventFilter(this);
    connect(z_katalog, &QLineEdit::returnPressed, this, &Tf_pod_kpr::z_katalogClick);
    connect(kl_wyb_kat, &QPushButton::clicked, this, [this] { gb_wyb_kat->openBelow(z_katalog, 20); });
    connect(gb_wyb_kat, &FolderChooser::chosen, this, [this](const QString& folder) {
        z_katalog->setText(folder);
        z_katalogClick();
    });
    connect(kl_przen, &QToolButton::clicked, this, &Tf_pod_kpr::dodaj_zaznaczone);
    connect(sg_kon, &QTableWidget::cellDoubleClicked, this, &Tf_pod_kpr::dodaj_zaznaczone);
    connect(kl_wszystko, &QToolButton::clicked, this, &Tf_pod_kpr::kl_wszystkoClick);
    connect(kl_usun_zaz, &QPushButton::clicked, mem_wyb_konta, &QPlainTextEdit::clear);
    connect(kl_ok, &QPushButton::clicked, this, &Tf_pod_kpr::kl_okClick);
    connect(kl_anul, &QPushButton::clicked, this, &QDialog::reject);
    setCancelButton(kl_anul);
}

Tf_pod_kpr::~Tf_pod_kpr()
{
    closeDataIfOpen();
}

void Tf_pod_kpr::buildControls()
{
    e_katalog = named(new QLabel(QStringLiteral("Katalog z danymi systemu PKPiR"), this), "e_katalog");
    z_katalog = named(new QLineEdit(this), "z_katalog");
    e_katalog->setBuddy(z_katalog);
    kl_wyb_kat = named(new QPushButton(QStringLiteral("Przeglądaj..."), this), "kl_wyb_kat");
    kl_wyb_kat->setFocusPolicy(Qt::ClickFocus);
    kl_wyb_kat->setAutoDefault(false);

    e_l_kon = named(new QLabel(QStringLiteral("&Lista kont systemu PKPiR"), this), "e_l_kon");
    sg_kon = named(new QTableWidget(0, 3, this), "sg_kon");
    sg_kon->setHorizontalHeaderLabels({QStringLiteral("Konto"), QStringLiteral("Nazwa pełna"), QStringLiteral("NIP")});
    sg_kon->setColumnWidth(0, 47);
    sg_kon->setColumnWidth(1, 268);
    // A NIP is shown whole, dashes included.
    sg_kon->setColumnWidth(2, std::max(90, sg_kon->fontMetrics().horizontalAdvance(QStringLiteral("000-000-00-00")) + 12));
    sg_kon->verticalHeader()->setDefaultSectionSize(18);
    sg_kon->verticalHeader()->hide();
    sg_kon->setSelectionBehavior(QAbstractItemView::SelectRows);
    sg_kon->setSelectionMode(QAbstractItemView::ContiguousSelection);
    sg_kon->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg_kon->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sg_kon->setMinimumSize(47 + 268 + sg_kon->columnWidth(2) + 24, 260);
    e_l_kon->setBuddy(sg_kon);

    kl_przen = named(new QToolButton(this), "kl_przen");
    kl_przen->setText(QStringLiteral(">"));
    kl_przen->setToolTip(QStringLiteral("Przenieś wybrane konta"));
    kl_wszystko = named(new QToolButton(this), "kl_wszystko");
    kl_wszystko->setText(QStringLiteral(">>"));
    kl_wszystko->setToolTip(QStringLiteral("Przenieś wszystkie konta"));

    e_wyb_konta = named(new QLabel(QStringLiteral("&Wybrane konta"), this), "e_wyb_konta");
    mem_wyb_konta = named(new QPlainTextEdit(this), "mem_wyb_konta");
    mem_wyb_konta->setLineWrapMode(QPlainTextEdit::NoWrap);
    mem_wyb_konta->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mem_wyb_konta->setFixedWidth(110);
    e_wyb_konta->setBuddy(mem_wyb_konta);

    kl_usun_zaz = named(new QPushButton(QStringLiteral("&Usuń listę wybranych kont"), this), "kl_usun_zaz");
    kl_ok = named(new QPushButton(QStringLiteral("&Przepisz"), this), "kl_ok");
    kl_anul = named(new QPushButton(QStringLiteral("&Anuluj"), this), "kl_anul");
    for (QPushButton* b : {kl_usun_zaz, kl_ok, kl_anul})
        b->setAutoDefault(false);
    runBar_ = new RunBar(this);
    gb_wyb_kat = new FolderChooser(this);
    gb_wyb_kat->setCaption(QStringLiteral("Wskaż katalog z danymi systemu PKPiR"));

    auto* folder = new QHBoxLayout;
    folder->addWidget(e_katalog);
    folder->addWidget(z_katalog, 1);
    folder->addWidget(kl_wyb_kat);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(kl_przen);
    arrows->addWidget(kl_wszystko);
    arrows->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(e_l_kon, 0, 0);
    lists->addWidget(sg_kon, 1, 0);
    lists->addLayout(arrows, 1, 1);
    lists->addWidget(e_wyb_konta, 0, 2);
    lists->addWidget(mem_wyb_konta, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kl_usun_zaz);
    buttons->addStretch();
    buttons->addWidget(runBar_, 2);
    buttons->addWidget(kl_ok);
    buttons->addWidget(kl_anul);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folder);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(660, 420);
}

void Tf_pod_kpr::FormActivate()
{
    z_katalog->setText(QDir::toNativeSeparators(ledger::defaultFolder(ledger::Source::Pkpir)));
    z_katalogClick();
    sg_kon->setFocus(Qt::OtherFocusReason);
}

// Clicking into the folder, leaving it or pressing Enter in it, and the chooser's "OK": the
// accounts of the folder are read again and the chosen list is emptied.
bool Tf_pod_kpr::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == z_katalog && isDataOpen()) {
        if (event->type() == QEvent::MouseButtonRelease)
            z_katalogClick();
        else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                z_katalogClick();
        }
    }
    return DataScreen::eventFilter(watched, event);
}

void Tf_pod_kpr::z_katalogClick()
{
    // Only another folder reloads the accounts and empties the chosen list: leaving the
    // field, or clicking into it again, keeps what the user chose.
    if (QDir::fromNativeSeparators(z_katalog->text()) != loadedFolder_ || !folderLoaded_) {
        mem_wyb_konta->clear();
        wczytaj_konta();
    }
    gb_wyb_kat->hide();
}

void Tf_pod_kpr::wczytaj_konta()
{
    loadedFolder_ = QDir::fromNativeSeparators(z_katalog->text());
    folderLoaded_ = true;
    const QList<ledger::AccountRow> accounts = ledger::readAccounts(loadedFolder_);
    sg_kon->setRowCount(0);
    sg_kon->setRowCount(static_cast<int>(accounts.size()));
    for (int row = 0; row < accounts.size(); ++row) {
        const ledger::AccountRow& a = accounts[row];
        const QStringList cells{a.code, a.fullName, a.nip};
        for (int column = 0; column < 3; ++column)
            sg_kon->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    if (!accounts.isEmpty())
        sg_kon->setCurrentCell(0, 0);
}

QStringList Tf_pod_kpr::chosenLines() const
{
    return mem_wyb_konta->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void Tf_pod_kpr::dodaj_zaznaczone()
{
    z_katalogClick(); // a folder typed and not yet left: its accounts are the ones chosen from
    QStringList lines = chosenLines();
    QList<int> rows;
    for (const QTableWidgetSelectionRange& range : sg_kon->selectedRanges())
        for (int row = range.topRow(); row <= range.bottomRow(); ++row)
            rows << row;
    std::sort(rows.begin(), rows.end());
    for (int row : rows) {
        const QString code = sg_kon->item(row, 0)->text();
        if (!lines.contains(code))
            lines << code;
    }
    mem_wyb_konta->setPlainText(lines.join(QLatin1Char('\n')));
}

void Tf_pod_kpr::kl_wszystkoClick()
{
    z_katalogClick();
    QStringList lines;
    for (int row = 0; row < sg_kon->rowCount(); ++row)
        lines << sg_kon->item(row, 0)->text();
    mem_wyb_konta->setPlainText(lines.join(QLatin1Char('\n')));
}

// What a run of the import has to say: the short names changed, the accounts refused.
void Tf_pod_kpr::showNotes(QStringList notes, const QStringList& refused)
{
    if (!refused.isEmpty())
        notes << QStringLiteral("Nie przejęto:") << refused;
    if (!notes.isEmpty())
        desktop::showMessage(notes.join(QLatin1Char('\n')), {}, this);
}

void Tf_pod_kpr::kl_okClick()
{
    ledger::TaxpayerImport import(dm_, loadedFolder_, [this](const ledger::Comparison& c) {
        Tf_jest_pod dialog(c, this);
        // Under the account grid, a little inside the screen's sides.
        QRect place(mapToGlobal(QPoint(6, sg_kon->y() + sg_kon->height() + 30)),
                    QSize(width() - 20, dialog.sizeHint().height()));
        // Kept on the screen when the screen's lower part is too low for it.
        if (const QScreen* s = screen(); s && place.bottom() > s->availableGeometry().bottom())
            place.moveBottom(s->availableGeometry().bottom());
        dialog.setGeometry(place);
        return runComparison(dialog);
    });
    import.setWaiting([this] { runBar_->keepAlive(); });
    // Blank lines name no account. A line that is no number ends the run with its box; an
    // account the database refuses is named with the reason after the run, and stays chosen;
    // "Przerwij" ends the run before the next account, which stays chosen with those after it.
    QStringList refused, notes, left;
    const QStringList lines = mem_wyb_konta->toPlainText().split(QLatin1Char('\n'));
    {
        const RunBar::Run running(*runBar_);
        int taken = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            runBar_->progress(i, lines.size());
            if (runBar_->stopAsked()) {
                for (const QString& notReached : lines.mid(i))
                    if (!notReached.trimmed().isEmpty())
                        left << notReached;
                notes.prepend(ledger::stoppedLine(taken));
                break;
            }
            if (line.trimmed().isEmpty())
                continue;
            bool number = false;
            line.trimmed().toInt(&number);
            if (!number) {
                // The run stops here with the conversion's box; the list stays as it was typed.
                desktop::attempt(this, [&] { import.przepisz_konto(line); });
                showNotes(notes, refused);
                return;
            }
            try {
                import.przepisz_konto(line);
                ++taken;
                if (!import.shortNameGiven().isEmpty())
                    notes << QStringLiteral("Konto %1: nazwa skrócona %2 (jego nazwę skróconą ma inny podatnik).")
                                 .arg(line.trimmed(), import.shortNameGiven());
            } catch (const std::exception& e) {
                refused << QStringLiteral("Konto %1: %2").arg(line.trimmed(), text::oneLine(QString::fromUtf8(e.what())));
                left << line;
            }
        }
    }
    // The list as it is now stands behind the box: after a stop, the accounts not reached.
    mem_wyb_konta->setPlainText(left.join(QLatin1Char('\n')));
    showNotes(notes, refused);
    if (left.isEmpty())
        accept();
}
