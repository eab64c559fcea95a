#include "data/refusals.h"

#include <QHash>
#include <QStringList>

#include "firebird/error.h"

namespace data {

namespace {

// isc_unique_key_violation and isc_foreign_key.
constexpr long duplicateKey = 335544665;
constexpr long foreignKey = 335544466;

// %1.. take the key's values in the order of the key's columns.
const QHash<QString, QString>& duplicates()
{
    static const QHash<QString, QString> sentences{
        {QStringLiteral("PK_PODAT"), QStringLiteral("Podatnik o numerze %1 już istnieje.")},
        {QStringLiteral("UQ_PODAT_NAZSKR"), QStringLiteral("Podatnik o nazwie skróconej „%1” już istnieje.")},
        {QStringLiteral("PK_SAM"), QStringLiteral("Samochód o numerze rejestracyjnym %1 już jest w bazie.")},
        {QStringLiteral("PK_TAB_OPL_SILN"), QStringLiteral("Stawka dla tego rodzaju pojazdu, paliwa i roku już istnieje.")},
        {QStringLiteral("PK_RODZ_PALIWA"), QStringLiteral("Paliwo o numerze %1 już istnieje.")},
        {QStringLiteral("PK_RODZ_SILNIKA"), QStringLiteral("Rodzaj pojazdu o numerze %1 już istnieje.")},
        {QStringLiteral("PK_PARAM"), QStringLiteral("Wskaźniki dla roku %1 już są w bazie.")},
        {QStringLiteral("PK_ZAK_PAL"), QStringLiteral("Zakup o numerze kolejnym %1 już jest w bazie.")},
    };
    return sentences;
}

struct Reference {
    QString missing; // the row refers to something that is not there
    QString present; // the row is referred to and cannot go
};

const QHash<QString, Reference>& references()
{
    static const QHash<QString, Reference> sentences{
        {QStringLiteral("FK_SAM_PODATNIK"),
         {QStringLiteral("Nie ma podatnika o numerze %1."), QStringLiteral("Podatnik ma samochody w bazie: nie można go usunąć.")}},
        {QStringLiteral("FK_ZAK_SAMOCHOD"),
         {QStringLiteral("Nie ma samochodu o numerze rejestracyjnym %1."),
          QStringLiteral("Samochód ma zakupy paliwa w bazie: nie można go usunąć.")}},
        {QStringLiteral("FK_SAM_SILNIK"),
         {QStringLiteral("Nie ma rodzaju pojazdu o numerze %1."),
          QStringLiteral("Ten rodzaj pojazdu mają samochody w bazie: nie można go usunąć.")}},
        {QStringLiteral("FK_OPL_SILNIK"),
         {QStringLiteral("Nie ma rodzaju pojazdu o numerze %1."),
          QStringLiteral("Dla tego rodzaju pojazdu są stawki opłat: nie można go usunąć.")}},
        {QStringLiteral("FK_SAM_PALIWO"),
         {QStringLiteral("Nie ma paliwa o numerze %1."), QStringLiteral("To paliwo mają samochody w bazie: nie można go usunąć.")}},
        {QStringLiteral("FK_ZAK_PALIWO"),
         {QStringLiteral("Nie ma paliwa o numerze %1."), QStringLiteral("To paliwo mają zakupy w bazie: nie można go usunąć.")}},
        {QStringLiteral("FK_OPL_PALIWO"),
         {QStringLiteral("Nie ma paliwa o numerze %1."), QStringLiteral("Dla tego paliwa są stawki opłat: nie można go usunąć.")}},
    };
    return sentences;
}

QString filled(QString sentence, const QStringList& values)
{
    for (const QString& v : values)
        if (sentence.contains(QLatin1Char('%')))
            sentence = sentence.arg(v);
    return sentence;
}

} // namespace

QString explainRefusal(const fb::Error& error)
{
    const QString constraint = error.constraint();
    if (error.hasCode(duplicateKey)) {
        const auto found = duplicates().constFind(constraint);
        return found == duplicates().constEnd() ? QStringLiteral("Taki wiersz już jest w bazie.")
                                                : filled(*found, error.keyValues());
    }
    if (error.hasCode(foreignKey)) {
        const bool referred = error.message().contains(QLatin1String("references are present"));
        const auto found = references().constFind(constraint);
        if (found == references().constEnd())
            return referred ? QStringLiteral("Inne dane w bazie odnoszą się do tego wiersza: nie można go usunąć.")
                            : QStringLiteral("Wiersz odnosi się do danych, których nie ma w bazie.");
        return referred ? found->present : filled(found->missing, error.keyValues());
    }
    return {};
}

bool isReferencedRow(const std::exception& failure)
{
    const auto* error = dynamic_cast<const fb::Error*>(&failure);
    return error && error->hasCode(foreignKey);
}

} // namespace data
