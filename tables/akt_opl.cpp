#include "tables/akt_opl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/dm1.h"
#include "desktop/caption_width.h"
#include "desktop/attempt.h"
#include "desktop/messages.h"
#include "desktop/open_file_dialog.h"
#include "desktop/remembered_folders.h"

TF_akt_opl* F_akt_opl = nullptr;

TF_akt_opl::TF_akt_opl(Tdm_1& dm, QWidget* parent) : QDialog(parent), dm_(dm)
{
    setObjectName(QStringLiteral("F_akt_opl"));
    setWindowTitle(QStringLiteral("Aktualizacja stawek opłat za kolejny rok"));
    desktop::fitCaption(*this);

    RE_info = new QTextEdit(this);
    RE_info->setObjectName(QStringLiteral("RE_info"));
    RE_info->setReadOnly(true);
    RE_info->setPlainText(QStringLiteral("Niezbędne jest posiadanie pliku z poleceniami SQL zawierającego stawki opłat "
                                         "za poszczególne rodzaje pojazdów na kolejny rok. \n"
                                         "Plik taki można otrzymać od producenta programu lub pobrać z jego strony "
                                         "internetowej. "));
    RE_info->setFixedHeight(RE_info->fontMetrics().lineSpacing() * 3 + 12);

    SG_pol = new QTableWidget(0, 2, this);
    SG_pol->setObjectName(QStringLiteral("SG_pol"));
    SG_pol->setHorizontalHeaderLabels(
        {QStringLiteral("       Polecenie SQL"), QStringLiteral("   Komunikat z wykonania")});
    SG_pol->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SG_pol->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SG_pol->setColumnWidth(0, 600);
    SG_pol->setColumnWidth(1, 208);
    // The outcome column takes the room a wider window gives.
    SG_pol->horizontalHeader()->setStretchLastSection(true);
    SG_pol->verticalHeader()->hide();
    SG_pol->verticalHeader()->setDefaultSectionSize(20);
    SG_pol->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG_pol->setSelectionMode(QAbstractItemView::ContiguousSelection);
    SG_pol->setWordWrap(false);
    SG_pol->hide();

    e_sql = new QLabel(QStringLiteral("Plik z poleceniami SQL:"), this);
    LE_sql = new QLineEdit(this);
    LE_sql->setObjectName(QStringLiteral("LE_sql"));
    e_sql->setBuddy(LE_sql);
    SB_plik = new QToolButton(this);
    SB_plik->setObjectName(QStringLiteral("SB_plik"));
    SB_plik->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SB_plik->setToolTip(QStringLiteral("Przeglądaj..."));
    kl_akt = new QPushButton(QStringLiteral("Aktualizuj &Stawki"), this);
    kl_akt->setObjectName(QStringLiteral("kl_akt"));
    // Before a file is loaded there is nothing to run.
    kl_akt->setEnabled(false);
    kl_anul = new QPushButton(QStringLiteral("&Anuluj"), this);
    kl_anul->setObjectName(QStringLiteral("kl_anul"));
    kl_anul->setAutoDefault(false);

    auto* P_kl = new QWidget(this);
    P_kl->setObjectName(QStringLiteral("P_kl"));
    auto* panel = new QGridLayout(P_kl);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(e_sql, 0, 0, 1, 2);
    panel->addWidget(LE_sql, 1, 0);
    panel->addWidget(SB_plik, 1, 1);
    panel->setColumnStretch(0, 1);
    panel->setColumnMinimumWidth(2, 24);
    panel->addWidget(kl_akt, 1, 3);
    panel->addWidget(kl_anul, 1, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RE_info);
    layout->addWidget(SG_pol, 1);
    layout->addStretch(0);
    layout->addWidget(P_kl);
    resize(860, 520);
    if (parent)
        move(parent->geometry().center() - rect().center());

    connect(SB_plik, &QToolButton::clicked, this, &TF_akt_opl::SB_plikClick);
    connect(kl_akt, &QPushButton::clicked, this, &TF_akt_opl::kl_aktClick);
    connect(kl_anul, &QPushButton::clicked, this, &QDialog::reject);
}

QString TF_akt_opl::shippedRatesFolder()
{
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/brenvald/rates"));
    return folder.exists() ? folder.canonicalPath() : QString();
}

void TF_akt_opl::SB_plikClick()
{
    // The file shown, else the folder of the last rate file, else (the first time) the rate
    // files that came with the program.
    QString start = fileName_.isEmpty() ? desktop::rememberedFolder(QStringLiteral("rates")) : fileName_;
    if (start.isEmpty())
        start = shippedRatesFolder();
    const QString chosen = desktop::askOpenFileName(
        {QStringLiteral("Wskaż plik z aktualnymi stawkami"), start,
         {QStringLiteral("Pliki tekstowe (*.txt), SQL (*.sql) (*.sql *.txt)"), QStringLiteral("Wszystkie pliki(*.*) (*)")},
         {}, QStringLiteral("rates")},
        this);
    // Cancelling keeps the name the dialog had, and that file is shown again.
    if (!chosen.isEmpty())
        fileName_ = chosen;
    LE_sql->setText(fileName_);
    if (!fileName_.isEmpty() && QFileInfo(fileName_).isFile())
        desktop::attempt(this, [&] { loadFile(fileName_); });
}

void TF_akt_opl::loadFile(const QString& path)
{
    std::vector<rates::RateStatement> read = rates::readRateFile(path);
    statements_ = std::move(read);
    // The outcomes of a run stay beside the statements: cancelling the file dialog after a
    // run shows the same file again with its log.
    SG_pol->setRowCount(static_cast<int>(statements_.size()));
    for (int r = 0; r < SG_pol->rowCount(); ++r) {
        SG_pol->setItem(r, 0, new QTableWidgetItem(statements_[r].shownSql()));
        SG_pol->item(r, 0)->setToolTip(statements_[r].shownSql());
    }
    SG_pol->show();
    kl_akt->setEnabled(!ran_);
}

void TF_akt_opl::kl_aktClick()
{
    ran_ = true;
    kl_akt->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    int errors = 0;
    const bool completed = desktop::attempt(this, [&] { errors = rates::runStatements(dm_, statements_, [] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
    for (int r = 0; r < SG_pol->rowCount(); ++r) {
        // The server's texts are longer than the column: the whole text shows under the mouse.
        SG_pol->setItem(r, 1, new QTableWidgetItem(statements_[r].outcome));
        SG_pol->item(r, 1)->setToolTip(statements_[r].outcome);
    }
    if (completed)
        desktop::showMessage(rates::summaryText(static_cast<int>(statements_.size()), errors), {}, this);
}
