#pragma once

#include <QString>
#include <optional>

#include "data/period.h"
#include "text/money.h"

// What a firm files for its yearly fee for one kind of use of the environment: the gases and
// dust let into the air, of which the program knows the part its vehicles' engines make
// (art. 289 of the environmental protection law; the sources are in data/reference/README.md).
// Fixed by the law, not by the year's parameters, so compiled in beside the change from
// half-years to years (data/period.h): every database, however old, gets it alike.
namespace data {

// From this year a yearly fee of at most smallFeeLimit needs no statement (wykaz) either.
constexpr int firstYearWithoutSmallStatements = 2017;
constexpr text::Money smallFeeLimit = text::Money::fromUnits(100 * 10000); // 100 zł

enum class Filing {
    NoStatement,             // neither a statement nor a payment
    StatementWithoutPayment, // a statement, nothing paid
    StatementAndPayment,
};

// What applies to the yearly fee `amount` (none: beyond what money holds) against the
// year's exemption threshold. None up to 2012, when fees were settled by half-years and only
// the threshold of payment is told. A fee above the threshold is paid and so filed, whatever
// the threshold.
std::optional<Filing> filing(int year, const std::optional<text::Money>& amount, text::Money threshold);

// A sentence for the settlement: "Opłata nie przekracza 100,00 zł: wykazu się nie składa,
// opłaty się nie wnosi."
QString filingSentence(Filing f, text::Money threshold);
// For a column: "bez wykazu", "wykaz, bez opłaty", "wykaz i opłata".
QString filingShort(Filing f);
// For scripts: "bez_wykazu", "wykaz", "wykaz_i_oplata".
QString filingCode(Filing f);

} // namespace data
