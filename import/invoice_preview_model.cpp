#include "import/invoice_preview_model.h"

#include <QComboBox>

#include "import/invoice_log.h"
#include "import/invoice_preview.h"
#include "text/formats.h"

namespace ksef {

InvoicePreviewModel::InvoicePreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void InvoicePreviewModel::setPreview(InvoicePreview* preview)
{
    beginResetModel();
    preview_ = preview;
    endResetModel();
}

void InvoicePreviewModel::refresh()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

bool InvoicePreviewModel::vehicleChoosable(int row) const
{
    const PreviewLine& l = preview_->lines()[static_cast<size_t>(row)];
    switch (l.status) {
    case LineStatus::NoVehicle:
    case LineStatus::AmbiguousVehicle:
    case LineStatus::UncorrectedUnknown: return true;
    case LineStatus::Stored:
    case LineStatus::StoredBefore:
    case LineStatus::Repeated: return false;
    default: return l.chosen;
    }
}

QList<QPair<int, QString>> InvoicePreviewModel::vehicleChoices(int row) const
{
    QList<QPair<int, QString>> choices;
    for (int v : preview_->vehicleChoices(row))
        choices.append({v, preview_->reg().vehicles[static_cast<size_t>(v)].registration});
    return choices;
}

int InvoicePreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !preview_ ? 0 : static_cast<int>(preview_->lines().size());
}

int InvoicePreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant InvoicePreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const PreviewLine& l = preview_->lines()[static_cast<size_t>(row)];
    const PreviewInvoice& invoice = preview_->invoices()[static_cast<size_t>(l.invoice)];
    if (role == Qt::TextAlignmentRole)
        return index.column() == Quantity ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role == Qt::ToolTipRole && index.column() == Status)
        return reasonOf(*preview_, row);
    if (role == Qt::ToolTipRole && index.column() == Vehicle && vehicleChoosable(row))
        return QStringLiteral("F2 albo Enter: wybór pojazdu z listy pojazdów nabywcy");
    if (role == Qt::ForegroundRole && index.column() == Status && isLeft(l.status))
        return QColor(160, 30, 20);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Taxpayer:
        return invoice.taxpayers.size() == 1 ? preview_->reg().taxpayers[static_cast<size_t>(invoice.taxpayers.first())].shortName
                                             : QStringLiteral("NIP %1").arg(invoice.buyerNip);
    case Vehicle:
        if (role == Qt::EditRole)
            return l.vehicle;
        if (l.vehicle >= 0)
            return preview_->reg().vehicles[static_cast<size_t>(l.vehicle)].registration;
        return vehicleChoosable(row) ? QStringLiteral("(wybierz)") : QString();
    case Fuel: return l.fuel > 0 ? fuelName(*preview_, l.fuel) : fuelKindName(l.kind);
    case Date: return text::formatDate(l.date.isValid() ? l.date : invoice.invoiceDate);
    case Quantity:
        // Until the line's fuel is known the quantity stands as the invoice writes it.
        if (l.fuel > 0)
            return QStringLiteral("%1 %2").arg(quantityText(l.amount), unitSymbol(unitOfFuel(l.kind)));
        return l.quantity ? QStringLiteral("%1 %2").arg(quantityText(*l.quantity), l.unitText).trimmed() : QString();
    case Invoice: return QStringLiteral("%1, wiersz %2").arg(invoice.id.number).arg(l.number);
    case Seller:
        return invoice.sellerName.isEmpty() ? QStringLiteral("NIP %1").arg(invoice.id.sellerNip) : invoice.sellerName;
    case Status:
        return isLeft(l.status) ? QStringLiteral("%1: %2").arg(statusText(l.status), reasonOf(*preview_, row))
                                : statusText(l.status);
    }
    return {};
}

QVariant InvoicePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const titles[ColumnCount] = {"Podatnik", "Pojazd", "Paliwo", "Data", "Ilość", "Faktura", "Sprzedawca", "Stan"};
    return QString::fromUtf8(titles[section]);
}

Qt::ItemFlags InvoicePreviewModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Vehicle && vehicleChoosable(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool InvoicePreviewModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != Vehicle || !vehicleChoosable(index.row()))
        return false;
    const int vehicle = value.toInt();
    if (vehicle < 0 || vehicle == preview_->lines()[static_cast<size_t>(index.row())].vehicle)
        return false;
    preview_->chooseVehicle(index.row(), vehicle);
    // A correction waits for all its lines: another line's status may change with this one.
    refresh();
    emit vehicleChosen();
    return true;
}

QWidget* VehicleChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("cb_pojazd"));
    for (const auto& [vehicle, registration] : static_cast<const InvoicePreviewModel*>(index.model())->vehicleChoices(index.row()))
        box->addItem(registration, vehicle);
    return box;
}

void VehicleChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = static_cast<QComboBox*>(editor);
    box->setCurrentIndex(std::max(0, box->findData(index.data(Qt::EditRole))));
}

void VehicleChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* box = static_cast<QComboBox*>(editor);
    if (box->currentIndex() >= 0)
        model->setData(index, box->currentData(), Qt::EditRole);
}

} // namespace ksef
