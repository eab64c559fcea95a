#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

#include "text/money.h"

namespace ds {

class Dataset;

enum class FieldType { SmallInt, Integer, Float, Decimal, Date, String };
enum class FieldKind { Data, Lookup, Calculated };

// One column of a dataset: its type and the rules that the data layer applies to it.
// Values: SmallInt and Integer as int, Float as double, Decimal as text::Money (rounded to
// the field's scale), Date as QDate, String as QString; null as an invalid QVariant. An
// empty string is null.
class Field {
public:
    Field(Dataset* owner, int index, const QString& name, FieldType type, FieldKind kind, int size, int scale);

    Dataset& dataset() const { return *owner_; }
    const QString& name() const { return name_; }
    FieldType type() const { return type_; }
    FieldKind kind() const { return kind_; }
    int size() const { return size_; }
    int scale() const { return scale_; }
    int index() const { return index_; }
    bool isNumeric() const;

    // Definition, fluent.
    Field& setRequired(bool on = true) { required_ = on; return *this; }
    Field& setVisible(bool on) { visible_ = on; return *this; }
    Field& setReadOnly(bool on) { readOnly_ = on; return *this; }
    Field& setCurrency(bool on = true) { currency_ = on; return *this; }
    Field& setDisplayLabel(const QString& label) { displayLabel_ = label; return *this; }
    Field& setDisplayFormat(const QString& mask) { displayFormat_ = mask; return *this; }
    Field& setEditFormat(const QString& mask) { editFormat_ = mask; return *this; }
    Field& setDisplayWidth(int chars) { displayWidth_ = chars; return *this; }
    Field& setRange(double minValue, double maxValue) { range_ = {{minValue, maxValue}}; return *this; }
    // Lookup definition: keyFields of this dataset ("A;B") are looked up in lookupKeyFields
    // of `lookup`, and the field shows `resultField` of the row found.
    Field& setLookup(const QString& keyFields, Dataset* lookup, const QString& lookupKeyFields,
                     const QString& resultField);

    bool isRequired() const { return required_; }
    bool isVisible() const { return visible_; }
    bool isReadOnly() const { return readOnly_; }
    bool isCurrency() const { return currency_; }
    const QString& displayLabel() const { return displayLabel_; }
    // The label, or the name when there is none: how messages name the field.
    QString displayName() const { return displayLabel_.isEmpty() ? name_ : displayLabel_; }
    const QString& displayFormat() const { return displayFormat_; }
    const QString& editFormat() const { return editFormat_; }
    int displayWidth() const;
    std::optional<std::pair<double, double>> range() const { return range_; }
    Dataset* lookupDataset() const { return lookupDataset_; }
    const QString& keyFields() const { return keyFields_; }
    const QString& lookupKeyFields() const { return lookupKeyFields_; }
    const QString& lookupResultField() const { return lookupResultField_; }

    // The field's own change reaction: runs after every change of its value in the current
    // row, before the data sources hear of it. Its owner attaches it once; while a
    // ReactionBlocker lives, it does not run.
    std::function<void(Field&)> onChange;
    bool reactionBlocked() const { return reactionBlocks_ > 0; }

    // Suspends the field's change reaction for its own lifetime, as QSignalBlocker does for
    // signals; blockers nest.
    class ReactionBlocker {
    public:
        explicit ReactionBlocker(Field& f) : field_(f) { ++field_.reactionBlocks_; }
        ~ReactionBlocker() { --field_.reactionBlocks_; }
        ReactionBlocker(const ReactionBlocker&) = delete;
        ReactionBlocker& operator=(const ReactionBlocker&) = delete;

    private:
        Field& field_;
    };

    // Value of the active row: the row being edited, or the current row.
    QVariant value() const;
    bool isNull() const { return !value().isValid(); }
    // The value the row had before the edit began (in edit state; otherwise the value).
    QVariant oldValue() const;
    QString asString() const;
    int asInteger() const;
    double asFloat() const;
    text::Money asMoney() const;
    QDate asDate() const;

    // Converts to the field's type, checks range and read-only, stores in the edit row (the
    // dataset must be editing or inserting, or computing calculated fields), then runs the
    // change reactions. Throws ds::Error when refused.
    void setValue(const QVariant& v);
    void clear() { setValue(QVariant()); }
    // Text as the user typed it, parsed by the field's type.
    void setText(const QString& text);

    QString displayText() const; // with the display format
    QString editText() const;    // with the edit format (or the display format for numbers)

    // The same for any row of the dataset (grids).
    QVariant valueAt(int row) const;
    QString displayTextAt(int row) const;

    // Value converted to this field's type; throws ds::Error for what cannot be converted.
    QVariant convert(const QVariant& v) const;
    QString format(const QVariant& v, bool forEdit) const;

private:
    void checkRange(const QVariant& v) const;

    Dataset* owner_;
    int index_;
    QString name_;
    FieldType type_;
    FieldKind kind_;
    int size_;
    int scale_;
    bool required_ = false;
    bool visible_ = true;
    bool readOnly_ = false;
    bool currency_ = false;
    int reactionBlocks_ = 0;
    QString displayLabel_;
    QString displayFormat_;
    QString editFormat_;
    int displayWidth_ = 0;
    std::optional<std::pair<double, double>> range_;
    Dataset* lookupDataset_ = nullptr;
    QString keyFields_;
    QString lookupKeyFields_;
    QString lookupResultField_;
};

} // namespace ds
