#include "dbwidgets/db_grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QScrollBar>
#include <vector>

#include "dataset/data_source.h"
#include "dataset/dataset.h"
#include "dbwidgets/grid_delegate.h"
#include "dbwidgets/grid_footer.h"
#include "dbwidgets/grid_model.h"
#include "desktop/messages.h"

namespace dbw {

DBGrid::DBGrid(QWidget* parent) : QTableView(parent), footer_(new GridFooter(this))
{
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    // One line a row: a value too long for its cell is cut at its end, not wrapped at a '/'.
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setFixedWidth(14);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::titleClick);
    // The chosen row stays marked when the grid loses the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    footer_->hide();
}

ds::Dataset* DBGrid::dataset() const
{
    return source_ ? source_->dataset() : nullptr;
}

void DBGrid::setDataSource(ds::DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    QAbstractItemModel* old = model();
    model_ = new GridModel(source, this);
    if (!columns_.isEmpty())
        model_->setGridColumns(columns_);
    setModel(model_);
    delete old;
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DBGrid::refreshFooter);
    // While the rows are reloaded the view moves its current cell by itself (a focused editor
    // that goes hands the focus on as Tab would, from no row to the first): that is not the
    // user's move, and must not move the dataset (nor drop a row just begun). The dataset's
    // row is taken again once the reload is over.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { reloading_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { reloading_ = false; });
    connect(source_, &ds::DataSource::scrolled, this, &DBGrid::syncCurrent);
    connect(source_, &ds::DataSource::updateRecord, this, &DBGrid::commitOpenEditor);
    connect(source_, &ds::DataSource::datasetChanged, this, [this] {
        resizeColumnsFromFields();
        syncCurrent();
        refreshFooter();
    });
    connect(source_, &ds::DataSource::stateChanged, this, &DBGrid::dropEditorOfCancelledRow);
    // After the state change has been told to everyone, the rows included.
    connect(source_, &ds::DataSource::stateChanged, this, &DBGrid::refreshFooter, Qt::QueuedConnection);
    connect(source_, &ds::DataSource::dataChanged, this, [this](ds::Field* f) {
        if (f)
            refreshFooter();
        viewport()->update();
    });
    resizeColumnsFromFields();
    syncCurrent();
}

void DBGrid::setColumns(const QList<GridColumn>& columns)
{
    columns_ = columns;
    if (model_)
        model_->setGridColumns(columns);
    resizeColumnsFromFields();
    syncCurrent();
}

void DBGrid::resizeColumnsFromFields()
{
    if (!model_)
        return;
    const int charWidth = fontMetrics().averageCharWidth();
    // Digits are wider than the average letter: a number is measured in digits.
    const int digitWidth = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < model_->columnCount(); ++c) {
        const GridColumn* spec = model_->gridColumn(c);
        const ds::Field* f = model_->fieldAt(c);
        const bool number = f && f->type() != ds::FieldType::String && f->type() != ds::FieldType::Date;
        int width = spec && spec->width > 0 ? spec->width
                                            : (f ? f->displayWidth() * (number ? digitWidth : charWidth) + 12 : 80);
        const int title = horizontalHeader()->fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + 16;
        if (!(spec && spec->width > 0))
            width = std::max(width, title);
        if (spec && spec->widenToContent && f)
            width = std::max(width, widestKnownValue(*f) + 12);
        setColumnWidth(c, width);
    }
}

// Only the values within a few characters of the longest are measured: a period's purchases
// may be many thousand rows.
int DBGrid::widestValue(const ds::Field& f) const
{
    const ds::Dataset* d = dataset();
    if (!d || !d->isActive())
        return 0;
    const QFontMetrics metrics = fontMetrics();
    qsizetype longest = 0;
    int widest = 0;
    for (int row = 0; row < d->recordCount(); ++row) {
        const QString text = f.displayTextAt(row);
        if (text.size() + 3 < longest)
            continue;
        longest = std::max(longest, text.size());
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest;
}

int DBGrid::widestKnownValue(const ds::Field& f)
{
    const ds::Dataset* d = dataset();
    if (!d || !d->isActive())
        return 0;
    if (d != widestOf_ || d->loads() != widestLoads_) {
        widest_.clear();
        widestOf_ = d;
        widestLoads_ = d->loads();
    }
    const auto known = widest_.constFind(&f);
    if (known == widest_.constEnd())
        return *widest_.insert(&f, widestValue(f));
    if (d->recNo() < 0)
        return *known;
    const int current = fontMetrics().horizontalAdvance(f.displayTextAt(d->recNo()));
    return current > *known ? *widest_.insert(&f, current) : *known;
}

void DBGrid::setGridReadOnly(bool on)
{
    readOnly_ = on;
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
}

void DBGrid::setRowSelect(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void DBGrid::setMultiSelect(bool on)
{
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void DBGrid::setBoldTitles(bool on)
{
    QFont f = horizontalHeader()->font();
    f.setBold(on);
    horizontalHeader()->setFont(f);
}

void DBGrid::setSortMarkers(const QList<QPair<QString, bool>>& markers)
{
    if (model_)
        model_->setSortMarkers(markers);
}

ds::Field* DBGrid::currentField() const
{
    return model_ ? model_->fieldAt(currentIndex().column()) : nullptr;
}

QList<int> DBGrid::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel() || !model())
        return rows;
    // By the selection's ranges, not its cells: linear in the rows however many columns
    // the grid has, and a row whose cells lie in several ranges counts once.
    std::vector<bool> chosen(static_cast<std::size_t>(model()->rowCount()), false);
    for (const QItemSelectionRange& range : selectionModel()->selection())
        // A selection can still name rows that a cancelled insert has just taken away.
        for (int row = range.top(); row <= std::min(range.bottom(), model()->rowCount() - 1); ++row)
            chosen[static_cast<std::size_t>(row)] = true;
    for (std::size_t row = 0; row < chosen.size(); ++row)
        if (chosen[row])
            rows << static_cast<int>(row);
    return rows;
}

int DBGrid::widthForAllColumns() const
{
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (!verticalHeader()->isHidden())
        width += std::max(verticalHeader()->width(), verticalHeader()->sizeHint().width());
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        if (!isColumnHidden(c))
            width += columnWidth(c);
    return width;
}

// Current row ----------------------------------------------------------------------------

void DBGrid::syncCurrent()
{
    ds::Dataset* d = dataset();
    if (!d || !model_)
        return;
    const int row = d->recNo();
    if (row < 0 || row >= model_->rowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    if (currentIndex().row() == row && currentIndex().isValid())
        return;
    syncing_ = true;
    const QModelIndex index = model_->index(row, std::max(0, column));
    const auto flags = selectionBehavior() == QAbstractItemView::SelectRows
                           ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::ClearAndSelect;
    selectionModel()->setCurrentIndex(index, flags);
    scrollTo(index);
    syncing_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update();
    ds::Dataset* d = dataset();
    if (syncing_ || reloading_ || !d || !current.isValid() || current.row() == d->recNo())
        return;
    try {
        d->moveTo(current.row());
    } catch (const std::exception& e) {
        // The row could not be left (a refused post): stay on it.
        syncing_ = true;
        const QModelIndex back = model_->index(d->recNo(), current.column());
        selectionModel()->setCurrentIndex(back, QItemSelectionModel::ClearAndSelect
                                                    | (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                                                         : QItemSelectionModel::NoUpdate));
        syncing_ = false;
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
}

// Keys -----------------------------------------------------------------------------------

bool DBGrid::canEditRows() const
{
    ds::Dataset* d = dataset();
    return !readOnly_ && d && d->isActive() && d->canModify();
}

void DBGrid::deleteCurrentRow()
{
    ds::Dataset* d = dataset();
    if (!canEditRows() || d->isEmpty())
        return;
    if (confirmDelete_ && desktop::ask(QStringLiteral("Czy usunąć bieżący wiersz?"), {}, this) != desktop::Answer::Yes)
        return;
    d->remove();
}

// The row goes into edit at the first keystroke in a cell, as in a form's edit: the navigator
// offers to save or cancel at once, and whatever moves the dataset posts the text first.
void DBGrid::beginRowEdit()
{
    ds::Dataset* d = dataset();
    if (!d || !d->isActive() || d->isEditing())
        return;
    try {
        d->edit();
    } catch (const std::exception& e) {
        desktop::showError(QString::fromUtf8(e.what()), this);
    }
}

// A row no longer in edit has been posted (the editor's text is in it) or cancelled (its text
// goes with the row): an editor left open would write it into whatever row comes next.
void DBGrid::dropEditorOfCancelledRow()
{
    ds::Dataset* d = dataset();
    if (!d || d->isEditing() || state() != QAbstractItemView::EditingState)
        return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setModified(false);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void DBGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    const QModelIndex index = currentIndex();
    ds::Field* f = model_ ? model_->fieldAt(index.column()) : nullptr;
    QWidget* editor = indexWidget(index);
    if (!f || !editor)
        return;
    // Written here rather than through the delegate, so that a refused value stops the post
    // that asked for it.
    if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->isModified()) {
        f->setText(edit->text());
        edit->setModified(false);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor);
               combo && combo->currentIndex() >= 0 && combo->currentText() != f->displayText()) {
        f->setValue(combo->currentText());
    }
}

void DBGrid::pressEditButton()
{
    if (state() == QAbstractItemView::EditingState)
        closePersistentEditor(currentIndex());
    emit editButtonClicked();
}

void DBGrid::keyPressEvent(QKeyEvent* event)
{
    ds::Dataset* d = dataset();
    const int key = event->key();
    if (key == Qt::Key_Insert && event->modifiers() == Qt::NoModifier && canEditRows()) {
        d->insert();
        return;
    }
    if (key == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        deleteCurrentRow();
        return;
    }
    if (key == Qt::Key_Escape && d && d->isEditing()) {
        d->cancel();
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && event->modifiers() == Qt::ControlModifier) {
        const GridColumn* c = model_ ? model_->gridColumn(currentIndex().column()) : nullptr;
        if (c && c->ellipsis)
            pressEditButton();
        return;
    }
    if (key == Qt::Key_Down && event->modifiers() == Qt::NoModifier && canEditRows()
        && d->recNo() == d->recordCount() - 1) {
        if (!(d->state() == ds::DatasetState::Insert && !d->isModified()))
            d->append();
        return;
    }
    QTableView::keyPressEvent(event);
}

// Titles and footer ------------------------------------------------------------------------

void DBGrid::titleClick(int section)
{
    const ds::Field* f = model_ ? model_->fieldAt(section) : nullptr;
    if (!f)
        return;
    emit titleClicked(f->name());
    ds::Dataset* d = dataset();
    if (!titleSorting_ || !d || !d->isActive())
        return;
    bool ascending = true;
    for (const auto& [name, asc] : model_->sortMarkers())
        if (name.compare(f->name(), Qt::CaseInsensitive) == 0)
            ascending = !asc;
    d->sortBy({{f->name(), ascending}});
    model_->setSortMarkers({{f->name(), ascending}});
}

void DBGrid::setFooter(int lines, FooterProvider provider)
{
    footerLines_ = lines;
    footerProvider_ = std::move(provider);
    footer_->setVisible(lines > 0);
    updateGeometries();
    refreshFooter();
}

// A total that takes in a row not yet saved says so: its figures carry an asterisk and the
// hint tells why, so that nobody copies a total the database does not hold.
FooterCell DBGrid::footerCell(const QString& field) const
{
    FooterCell cell = footerProvider_ ? footerProvider_(field) : FooterCell{};
    const ds::Dataset* d = dataset();
    if (cell.lines.isEmpty() || !d || !d->isEditing() || !d->isModified() || !d->fieldByName(field).isNumeric())
        return cell;
    for (QString& line : cell.lines)
        line += QStringLiteral(" *");
    const QString note = QStringLiteral("* z wierszem jeszcze niezapisanym");
    QStringList hints = cell.hint.isEmpty() ? QStringList(cell.lines.size(), QString()) : cell.hint.split(QLatin1Char('|'));
    for (QString& hint : hints)
        hint = hint.isEmpty() ? note : hint + QLatin1String(" ") + note;
    cell.hint = hints.join(QLatin1Char('|'));
    return cell;
}

double DBGrid::columnSum(const QString& field, bool selectedOnly) const
{
    ds::Dataset* d = dataset();
    if (!d || !d->isActive())
        return 0.0;
    const ds::Field& f = d->fieldByName(field);
    // Values as held, without copies: a footer sums tens of thousands of rows.
    QVariant looked;
    auto number = [&f, d, &looked](int row) -> long double {
        const QVariant& v = f.kind() == ds::FieldKind::Lookup ? (looked = f.valueAt(row)) : d->rowValue(row, f.index());
        return v.metaType() == QMetaType::fromType<text::Money>() ? v.value<text::Money>().toLongDouble()
                                                                   : static_cast<long double>(v.toDouble());
    };
    long double sum = 0;
    if (selectedOnly) {
        for (int row : selectedRows())
            sum += number(row);
    } else {
        for (int row = 0; row < d->recordCount(); ++row)
            sum += number(row);
    }
    return static_cast<double>(sum);
}

// Changes come many at once (a save changes, moves and renumbers rows; every typed field
// changes the row): the totals are read again once, when the event loop next runs, not once
// for each.
void DBGrid::refreshFooter()
{
    if (footerLines_ == 0 || footerPending_)
        return;
    footerPending_ = true;
    QTimer::singleShot(0, this, [this] {
        footerPending_ = false;
        footer_->fitColumns();
        footer_->update();
    });
}

void DBGrid::updateGeometries()
{
    const int footerHeight = footerLines_ > 0 ? footerLines_ * footer_->lineHeight() + 4 : 0;
    setViewportMargins(verticalHeader()->isVisible() ? verticalHeader()->width() : 0,
                       horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0, 0, footerHeight);
    QTableView::updateGeometries();
    if (footerHeight > 0) {
        // In the margin kept under the viewport, whether a horizontal scroll bar is shown or not
        // (the bar's own geometry is within its container, not the grid).
        const QRect vp = viewport()->geometry();
        footer_->setGeometry(0, vp.bottom() + 1, width() - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0), footerHeight);
    }
}

void DBGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        footer_->update();
}

} // namespace dbw
