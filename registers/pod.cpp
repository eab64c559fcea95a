#include "registers/pod.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "data/dm1.h"
#include "data/field_names.h"
#include "dbwidgets/db_edit.h"
#include "dbwidgets/db_memo.h"
#include "dbwidgets/db_navigator.h"
#include "dbwidgets/leave_row.h"
#include "desktop/help_context.h"
#include "desktop/messages.h"
#include "registers/delete_refusal.h"
#include "registers/digits_only_filter.h"
#include "registers/glyphs.h"
#include "registers/identifiers.h"
#include "registers/registers_help.h"
#include "text/polish_order.h"

Tf_pod* f_pod = nullptr;

namespace {

QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint, const QIcon& icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

dbw::DBEdit* fieldEdit(QWidget* parent, ds::DataSource& source, const char* name, const QString& field, int maxLength)
{
    auto* e = new dbw::DBEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setDataSource(&source);
    e->setFieldName(field);
    e->setFieldMaxLength(maxLength);
    return e;
}

dbw::DBMemo* fieldMemo(QWidget* parent, ds::DataSource& source, const char* name, const QString& field, int maxLength, int lines)
{
    auto* m = new dbw::DBMemo(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setDataSource(&source);
    m->setFieldName(field);
    m->setMaxLength(maxLength);
    const int margins = 2 * (m->frameWidth() + static_cast<int>(m->document()->documentMargin()));
    m->setFixedHeight(m->fontMetrics().lineSpacing() * lines + margins);
    return m;
}

} // namespace

Tf_pod::Tf_pod(Tdm_1& dm, QWidget* parent)
    : DataScreen(parent, Placement::AsIs,
                 Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), dm_(dm)
{
    setObjectName(QStringLiteral("f_pod"));
    setWindowTitle(QStringLiteral("Podatnik"));
    desktop::setHelpContext(this, registers_help::taxpayers);
    buildControls();
    deleteRefusal_ = new DeleteRefusal(QStringLiteral("Nie można usunąć podatnika, który ma samochody. "
                                                      "Najpierw usuń jego samochody."), this);
    deleteRefusal_->guard(DBN_podat);

    connect(DBN_podat, &dbw::DBNavigator::clicked, this, [this](dbw::DBNavigator::Button b) {
        // "Odśwież dane" brings the taxpayers other desks saved: the list of names follows.
        if (b == dbw::DBNavigator::Refresh && !dm_.IBDS_podat.isEditing())
            fillShortNames();
        // A new taxpayer is keyed from its number on, not into the search box.
        if (b == dbw::DBNavigator::Insert && dm_.IBDS_podat.state() == ds::DatasetState::Insert)
            DBE_nr->setFocus(Qt::OtherFocusReason);
    });
    connect(z_szuk_nr, &QLineEdit::textChanged, this, &Tf_pod::z_szuk_nrChange);
    connect(&dm_, &Tdm_1::shortNameAdded, this, &Tf_pod::addShortName);
    connect(&dm_, &Tdm_1::shortNameRemoved, this, &Tf_pod::removeShortName);
    connect(z_szuk_naz, &QComboBox::editTextChanged, this, &Tf_pod::z_szuk_nazChange);
    connect(sb_nr, &QToolButton::clicked, this, &Tf_pod::sb_nrClick);
    connect(sb_naz, &QToolButton::clicked, this, &Tf_pod::sb_nazClick);
    connect(sb_sprnip, &QToolButton::clicked, this, &Tf_pod::sb_sprnipClick);
    connect(sb_reg, &QToolButton::clicked, this, &Tf_pod::sb_regClick);
    z_szuk_naz->lineEdit()->installEventFilter(this);
    z_szuk_naz->installEventFilter(this);
}

Tf_pod::~Tf_pod()
{
    closeDataIfOpen();
}

void Tf_pod::buildControls()
{
    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* top = new QHBoxLayout(Panel1);
    top->setContentsMargins(4, 4, 4, 4);
    DBN_podat = new dbw::DBNavigator(Panel1);
    DBN_podat->setObjectName(QStringLiteral("DBN_podat"));
    DBN_podat->setDataSource(&dm_.DS_podat);
    top->addWidget(DBN_podat);
    top->addSpacing(16);

    z_szuk_nr = new QLineEdit(Panel1);
    z_szuk_nr->setObjectName(QStringLiteral("z_szuk_nr"));
    z_szuk_nr->setToolTip(QStringLiteral("Nr podatnika"));
    z_szuk_nr->setMaxLength(3);
    z_szuk_nr->setFocusPolicy(Qt::ClickFocus); // not reached by Tab
    z_szuk_nr->setFixedWidth(z_szuk_nr->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    top->addWidget(z_szuk_nr);
    sb_nr = speedButton(Panel1, "sb_nr", QStringLiteral("Szukaj wg numeru"), registers::searchGlyph());
    top->addWidget(sb_nr);
    top->addSpacing(8);

    z_szuk_naz = new QComboBox(Panel1);
    z_szuk_naz->setObjectName(QStringLiteral("z_szuk_naz"));
    z_szuk_naz->setToolTip(QStringLiteral("Nazwa skrócona"));
    z_szuk_naz->setEditable(true);
    z_szuk_naz->setInsertPolicy(QComboBox::NoInsert);
    // The text is searched for as typed: completing it would search for another name.
    z_szuk_naz->setCompleter(nullptr);
    z_szuk_naz->lineEdit()->setMaxLength(15);
    z_szuk_naz->setMaxVisibleItems(12);
    z_szuk_naz->setMinimumContentsLength(16);
    z_szuk_naz->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(z_szuk_naz);
    sb_naz = speedButton(Panel1, "sb_naz", QStringLiteral("Szukaj wg nazwy"), registers::searchGlyph());
    top->addWidget(sb_naz);
    top->addStretch();

    auto* fields = new QGridLayout;
    fields->setContentsMargins(8, 8, 8, 8);
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(6);
    fields->setColumnStretch(1, 1);
    DBE_nr = fieldEdit(this, dm_.DS_podat, "DBE_nr", data::col::NR_PODAT, 3);
    DBE_nr->setFixedWidth(DBE_nr->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    DBE_nazskr = fieldEdit(this, dm_.DS_podat, "DBE_nazskr", data::col::NAZSKR, 15);
    DBE_nazskr->setFixedWidth(DBE_nazskr->fontMetrics().horizontalAdvance(QStringLiteral("W")) * 15 + 12);
    DBM_naz = fieldMemo(this, dm_.DS_podat, "DBM_naz", data::col::NAZWA, 125, 3);
    DBM_adr = fieldMemo(this, dm_.DS_podat, "DBM_adr", data::col::ADRES, 160, 3);
    DBM_tel = fieldMemo(this, dm_.DS_podat, "DBM_tel", data::col::TEL, 65, 2);
    DBE_nip = fieldEdit(this, dm_.DS_podat, "DBE_nip", data::col::NIP, 20);
    DBE_reg = fieldEdit(this, dm_.DS_podat, "DBE_reg", data::col::REGON, 20);
    const int idWidth = DBE_nip->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 22 + 12;
    DBE_nip->setFixedWidth(idWidth);
    DBE_reg->setFixedWidth(idWidth);
    sb_sprnip = speedButton(this, "sb_sprnip", QStringLiteral("Sprawdzenie poprawności NIP"), registers::checkGlyph());
    sb_reg = speedButton(this, "sb_reg", QStringLiteral("Sprawdzenie poprawności numeru REGON"), registers::checkGlyph());

    struct Row {
        const char* label;
        QString caption;
        QWidget* editor;
        QToolButton* button;
    };
    const Row rows[] = {
        {"e_nr", QStringLiteral("&Numer"), DBE_nr, nullptr},
        {"e_nazskr", QStringLiteral("Nazwa &skrócona"), DBE_nazskr, nullptr},
        {"e_naz", QStringLiteral("Na&zwa"), DBM_naz, nullptr},
        {"e_adr", QStringLiteral("&Adres"), DBM_adr, nullptr},
        {"e_tel", QStringLiteral("&Telefon"), DBM_tel, nullptr},
        {"e_nip", QStringLiteral("N&IP"), DBE_nip, sb_sprnip},
        {"e_reg", QStringLiteral("&Regon"), DBE_reg, sb_reg},
    };
    int r = 0;
    for (const Row& row : rows) {
        auto* label = new QLabel(row.caption, this);
        label->setObjectName(QString::fromLatin1(row.label));
        label->setBuddy(row.editor);
        const bool memo = qobject_cast<dbw::DBMemo*>(row.editor) != nullptr;
        fields->addWidget(label, r, 0, memo ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
        if (row.button) {
            auto* line = new QHBoxLayout;
            line->setSpacing(2);
            line->addWidget(row.editor);
            line->addWidget(row.button);
            line->addStretch();
            fields->addLayout(line, r, 1);
        } else {
            fields->addWidget(row.editor, r, 1, memo ? Qt::Alignment() : Qt::AlignLeft);
        }
        ++r;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addLayout(fields);
    layout->addStretch();

    setTabOrder(z_szuk_naz, DBE_nr);
    setTabOrder(DBE_nr, DBE_nazskr);
    setTabOrder(DBE_nazskr, DBM_naz);
    setTabOrder(DBM_naz, DBM_adr);
    setTabOrder(DBM_adr, DBM_tel);
    setTabOrder(DBM_tel, DBE_nip);
    setTabOrder(DBE_nip, DBE_reg);
    resize(600, sizeHint().height());
}

// Opening and closing ---------------------------------------------------------------------

void Tf_pod::FormActivate()
{
    data_ = dm_.openTaxpayers();
    ds::Dataset& podat = dm_.IBDS_podat;
    z_szuk_nrChange();
    z_szuk_nazChange();
    DigitsOnlyFilter::attach(DBE_nr);
    DigitsOnlyFilter::attach(z_szuk_nr);
    fillShortNames();
    podat.first();
}

void Tf_pod::FormDeactivate()
{
    data_.close();
}

// Short-name list ------------------------------------------------------------------------

void Tf_pod::fillShortNames()
{
    const QString typed = z_szuk_naz->currentText();
    const ds::Dataset& podat = dm_.IBDS_podat;
    const ds::Field& name = podat.fieldByName(data::col::NAZSKR);
    // Every row, not only those from the current one on: the dataset may have been left
    // open at another row, and the list must hold every taxpayer.
    QStringList names;
    for (int row = 0; row < podat.recordCount(); ++row)
        names << name.valueAt(row).toString();
    std::stable_sort(names.begin(), names.end(), text::beforeInNameOrder);
    z_szuk_naz->clear();
    z_szuk_naz->addItems(names);
    z_szuk_naz->setCurrentIndex(-1);
    z_szuk_naz->setEditText(typed);
}

void Tf_pod::addShortName(const QString& name)
{
    // Short names are unique; a row saved again after another desk deleted it is there already.
    if (z_szuk_naz->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        return;
    const QString typed = z_szuk_naz->currentText();
    int at = 0;
    while (at < z_szuk_naz->count() && !text::beforeInNameOrder(name, z_szuk_naz->itemText(at)))
        ++at;
    z_szuk_naz->insertItem(at, name);
    z_szuk_naz->setEditText(typed);
}

void Tf_pod::removeShortName(const QString& name)
{
    const int at = z_szuk_naz->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at < 0)
        return;
    const QString typed = z_szuk_naz->currentText();
    z_szuk_naz->removeItem(at);
    z_szuk_naz->setEditText(typed);
}

// Searches -------------------------------------------------------------------------------

void Tf_pod::z_szuk_nrChange()
{
    sb_nr->setEnabled(!z_szuk_nr->text().isEmpty());
}

void Tf_pod::z_szuk_nazChange()
{
    sb_naz->setEnabled(!z_szuk_naz->currentText().isEmpty());
}

bool Tf_pod::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        sb_nazClick();
        return true;
    }
    // The window system gives the keys to the combo box, which hands them to its line edit
    // past the line edit's filters; a test may give them to the line edit itself. Enter
    // searches, and goes no further (to a default button).
    if ((watched == z_szuk_naz || watched == z_szuk_naz->lineEdit()) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            sb_nazClick();
            return true;
        }
    }
    return DataScreen::eventFilter(watched, event);
}

void Tf_pod::sb_nrClick()
{
    z_szuk_naz->clearEditText();
    QString number = z_szuk_nr->text();
    while (number.size() >= 2 && number.startsWith(QLatin1Char('0')))
        number.remove(0, 1);
    // The decimal text of a taxpayer number has digits only; text pasted in past the
    // keystroke filter can match no taxpayer.
    const bool digitsOnly = !number.isEmpty()
        && std::all_of(number.begin(), number.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    if (digitsOnly && dm_.IBDS_podat.locate(QStringLiteral("nr_podat"), number))
        return;
    desktop::showMessage(QStringLiteral("Brak podatnika nr ") + number, QStringLiteral("Błąd"), this);
}

void Tf_pod::sb_nazClick()
{
    z_szuk_nr->clear();
    const QString name = z_szuk_naz->currentText();
    ds::Dataset& podat = dm_.IBDS_podat;
    const ds::LocateOptions beginning{.caseInsensitive = true, .partialKey = true};
    // Every name begins with the empty text; an empty search finds nobody.
    if (!name.isEmpty()
        && (podat.locate(QStringLiteral("nazskr"), name, beginning) || podat.locate(QStringLiteral("nazwa"), name, beginning)))
        return;
    desktop::showMessage(QStringLiteral("Brak podatnika ") + name, QStringLiteral("Błąd"), this);
}

// Identifier checks ----------------------------------------------------------------------

void Tf_pod::sb_sprnipClick()
{
    if (registers::spr_nip(DBE_nip->text())) {
        desktop::showMessage(QStringLiteral("Nr NIP jest poprawny"), {}, this);
    } else {
        QApplication::beep();
        desktop::showMessage(QStringLiteral("Nr NIP jest błędny!!"), {}, this);
    }
}

void Tf_pod::sb_regClick()
{
    if (registers::spr_regon(registers::trimControls(DBE_reg->text()))) {
        desktop::showMessage(QStringLiteral("Nr REGON jest poprawny"), {}, this);
    } else {
        QApplication::beep();
        desktop::showMessage(QStringLiteral("Nr REGON jest błędny!!"), {}, this);
    }
}
