#include "serw_op.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/connection_settings.h"
#include "data/dm1.h"
#include "desktop/caption_width.h"
#include "desktop/attempt.h"
#include "desktop/help_context.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "desktop/network_drive.h"
#include "desktop/open_file_dialog.h"
#include "help_topics.h"

TF_serw_op* F_serw_op = nullptr;

namespace {

QString localName() { return QStringLiteral("brenvald.gdb"); }

} // namespace

TF_serw_op::TF_serw_op(Tdm_1& dm, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      dm_(dm)
{
    setObjectName(QStringLiteral("F_serw_op"));
    setWindowTitle(QStringLiteral("Połozenie pliku z bazą danych -naliczanie opłat za korzystanie ze środowiska"));
    desktop::setHelpContext(this, help_context::databaseLocation);

    RG_serw = new QGroupBox(QStringLiteral("Serwer bazy danych wysyłanych dokumentów"), this);
    RG_serw->setObjectName(QStringLiteral("RG_serw"));
    rb_lokalny = new QRadioButton(QStringLiteral("lokalny (aplikacja na 1 komputerze)"), RG_serw);
    rb_lokalny->setObjectName(QStringLiteral("rb_lokalny"));
    rb_zdalny = new QRadioButton(QStringLiteral("zdalny (plik danych na innym komputerrze)"), RG_serw);
    rb_zdalny->setObjectName(QStringLiteral("rb_zdalny"));
    auto* items = new QGridLayout(RG_serw);
    items->addWidget(rb_lokalny, 0, 0);
    items->addWidget(rb_zdalny, 0, 1);
    rb_lokalny->setChecked(true);

    e_bd = new QLabel(QStringLiteral("&Baza danych"), this);
    LE_bd = new QLineEdit(this);
    LE_bd->setObjectName(QStringLiteral("LE_bd"));
    LE_bd->setMinimumWidth(420);
    e_bd->setBuddy(LE_bd);
    SB_bd = new QToolButton(this);
    SB_bd->setObjectName(QStringLiteral("SB_bd"));
    SB_bd->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SB_bd->setToolTip(QStringLiteral("Wskaż plik bazy danych"));

    kl_zap = new QPushButton(QStringLiteral("O&K"), this);
    kl_zap->setObjectName(QStringLiteral("kl_zap"));
    kl_zap->setToolTip(QStringLiteral("Zapis danych"));
    kl_zap->setDefault(true);
    kl_test = new QPushButton(QStringLiteral("Test połączenia z bazą"), this);
    kl_test->setObjectName(QStringLiteral("kl_test"));
    kl_test->setAutoDefault(false);
    kl_anul = new QPushButton(QStringLiteral("&Anuluj"), this);
    kl_anul->setObjectName(QStringLiteral("kl_anul"));
    kl_anul->setAutoDefault(false);
    kl_pom = new QPushButton(QStringLiteral("&Pomoc"), this);
    kl_pom->setObjectName(QStringLiteral("kl_pom"));
    kl_pom->setAutoDefault(false);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(LE_bd, 1);
    nameRow->addWidget(SB_bd);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(kl_test);
    buttons->addStretch(1);
    buttons->addWidget(kl_zap);
    buttons->addWidget(kl_anul);
    buttons->addWidget(kl_pom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RG_serw);
    layout->addWidget(e_bd);
    layout->addLayout(nameRow);
    layout->addStretch(1);
    layout->addLayout(buttons);
    // A fixed border: the dialog keeps the size its contents need in either mode.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    desktop::fitCaption(*this);

    connect(rb_lokalny, &QRadioButton::toggled, this, &TF_serw_op::showRemoteControls);
    connect(SB_bd, &QToolButton::clicked, this, &TF_serw_op::SB_bdClick);
    connect(kl_zap, &QPushButton::clicked, this, &TF_serw_op::kl_zapClick);
    connect(kl_test, &QPushButton::clicked, this, &TF_serw_op::kl_testClick);
    connect(kl_anul, &QPushButton::clicked, this, &QDialog::reject);
    connect(kl_pom, &QPushButton::clicked, this,
            [this] { desktop::HelpSystem::showTopic(help_context::databaseLocation, this); });

    QString name = localName();
    if (data::hasLocationFile()) {
        name = data::resolveDatabaseName();
        if (data::isRemoteName(name))
            rb_zdalny->setChecked(true);
    }
    LE_bd->setText(name);
    showRemoteControls();
    if (parent) {
        adjustSize();
        move(parent->geometry().center() - rect().center());
    }
}

int TF_serw_op::serverMode() const
{
    return rb_zdalny->isChecked() ? 1 : 0;
}

void TF_serw_op::setServerMode(int item)
{
    (item == 1 ? rb_zdalny : rb_lokalny)->setChecked(true);
}

void TF_serw_op::showRemoteControls()
{
    const bool remote = serverMode() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{e_bd, LE_bd, SB_bd, kl_test})
        w->setVisible(remote);
}

void TF_serw_op::SB_bdClick()
{
    // Qt's dialog leaves the current folder alone, so the location file is still read and
    // written in the folder the program started in.
    const QString path = desktop::askOpenFileName(
        {QStringLiteral("Wskaż plik bazy danych (brenvald.gdb)"), QString(),
         {QStringLiteral("Plik bazy danych (brenvald.gdb)")}, QStringLiteral("gdb"), {}},
        this);
    if (path.isEmpty())
        return;
    LE_bd->setText(data::databaseNameFromNetworkPath(desktop::networkFormOfPath(QDir::toNativeSeparators(path))));
}

QString TF_serw_op::chosenName() const
{
    return serverMode() == 1 ? LE_bd->text().trimmed() : localName();
}

bool TF_serw_op::saveAndConnect()
{
    const QString name = chosenName();
    // Where it was read, or where the program may write (a start folder that is read-only
    // leaves it to the user's configuration folder).
    if (!desktop::attempt(this, [&] { data::writeLocationFile(name, data::locationDirectoryForWriting()); }))
        return false;
    desktop::attempt(this, [&] { dm_.connectTo(name); });
    return true;
}

void TF_serw_op::kl_zapClick()
{
    // A name that could not be stored keeps the dialog open, so that nothing typed is lost.
    if (saveAndConnect())
        accept();
}

void TF_serw_op::kl_testClick()
{
    // A test writes nothing: only "OK" stores the name for the next start.
    desktop::attempt(this, [&] { dm_.connectTo(chosenName()); });
    if (dm_.isConnected())
        desktop::showMessage(QStringLiteral("Połączono z bazą danych"), {}, this);
}
