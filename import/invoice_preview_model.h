#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

namespace ksef {

class InvoicePreview;

// The fuel lines of an e-invoice preview as the import screen's grid shows them, one row a
// line: taxpayer, vehicle, fuel, date, quantity in the fuel's unit, invoice, seller, status
// with its reason. The vehicle of a line the invoice gives none or several of can be chosen
// (the edit role takes the vehicle's index in the register), and the line is matched again.
class InvoicePreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Taxpayer, Vehicle, Fuel, Date, Quantity, Invoice, Seller, Status, ColumnCount };

    explicit InvoicePreviewModel(QObject* parent = nullptr);

    // Shows these lines (none: nothing); the preview must outlive the model's use of it.
    void setPreview(InvoicePreview* preview);
    // After the preview's statuses changed outside the model (a store).
    void refresh();

    // Whether the line's vehicle can be chosen: the invoice names none (a correction of purchases
    // never taken over included) or several, or the user chose it.
    bool vehicleChoosable(int row) const;
    // The vehicles the line can be given (their indices in the register) with their registrations.
    QList<QPair<int, QString>> vehicleChoices(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void vehicleChosen(); // the totals change

private:
    InvoicePreview* preview_ = nullptr;
};

// The drop-down of the vehicles a line can be given: the buyer's, taking its fuel on its date.
class VehicleChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

} // namespace ksef
