#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <functional>
#include <vector>

#include "data/rate_store.h"

class Tdm_1;

// A year's fee rates from a text file: every line holds the values of one rate as the end of
// an insert into TAB_OPL_SILN ("1, 1, 101.14, 2024)"). Each line is read as data, never run
// as SQL: four numbers and the closing parenthesis, inserted through bound parameters.
namespace rates {

// What every statement starts with; the grid shows it followed by the line.
QString statementHead();

using RateValues = data::RateRow;

struct RateStatement {
    QString line;
    std::optional<RateValues> values; // empty when the line is not one rate
    QString outcome;                  // after a run: "     OK" or "  Błąd " and the reason

    QString shownSql() const { return statementHead() + line; }
};

// The file's lines: line ends CR LF, LF or CR; a final line end adds no line; an empty line
// inside the file stays (and fails). A UTF-8 byte-order mark is not part of the first line.
QStringList fileLines(const QByteArray& bytes);
// The values of one line, or nothing when it is not "type, fuel, rate, year)" with whole
// numbers, a rate with a decimal point, and at most blanks around them, a semicolon and a
// comment ("-- …" or "/* … */") after it. A year outside 2000–2100 or a rate below 0 or
// above 100 000 zł per tonne parses, and is refused when the statements run.
std::optional<RateValues> parseLine(const QString& line);
std::vector<RateStatement> statementsOf(const QStringList& lines);
// Reads and parses a file; throws std::runtime_error with a Polish text when it cannot be read.
std::vector<RateStatement> readRateFile(const QString& path);

// Inserts every parsed rate, one by one, in one unit of work; a line that does not parse or
// that the database refuses gets "  Błąd " and its reason and the run goes on. What was
// inserted is committed at the end. Returns the number
// of failed lines. One desk loads rates at a time: while another desk loads, this one waits
// for it up to the bound (running `waiting` meanwhile) and then refuses with a message.
// `stop`, asked before each line, ends the run there: what was inserted is committed, and
// the lines not tried keep no outcome.
int runStatements(Tdm_1& dm, std::vector<RateStatement>& statements,
                  const std::function<void()>& waiting = {}, const std::function<bool()>& stop = {});

// "Przetworzono 4 poleceń\n\r  w tym błędnych 1"
QString summaryText(int count, int errors);

} // namespace rates
