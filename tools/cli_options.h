#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "data/period.h"

// What the commands of brenvald-cli share: their exit codes, the ways a command ends early,
// and the reading of their options.
namespace tools {

constexpr int exitBadArguments = 2;
constexpr int exitFailure = 1;
// Added to the number of the signal that ended a command, as a shell reports it.
constexpr int exitOnSignal = 128;

// Arguments the command cannot take: the message, then the usage, exit code 2.
struct BadArguments {
    QString message;
};

// A termination signal cut the command short.
struct Interrupted {};

// The user asked for the usage (--help): it goes to standard output and the tool ends well.
struct HelpAsked {};

// One command of the tool: its name, its lines of the usage, and what runs it.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args);
};

void printError(const QString& text);

// A command's options, by QCommandLineParser: --name VALUE (or --name=VALUE), and --flag
// without a value; each at most once. Other arguments go to `positional`, or are refused
// when it is null.
QMap<QString, QString> parseOptions(const QStringList& args, const QStringList& withValue, const QStringList& flags,
                                    QStringList* positional = nullptr);
// Refuses the command when one of the options is missing.
void requireOptions(const QMap<QString, QString>& options, std::initializer_list<const char*> names);
// How a command prints its result: a table to read, --tsv for scripts, --csv for a
// spreadsheet (begun with spreadsheetMark, the UTF-8 byte-order mark); both at once are refused.
enum class OutputFormat { Table, Tsv, Csv };
OutputFormat outputFormat(const QMap<QString, QString>& options);
inline const QString spreadsheetMark = QString(QChar(0xFEFF));
// The year of an option: four digits, 1990 or later.
int yearOption(const QString& text);

// --year, and --half I|II where the year is settled by half-years (refused elsewhere): the
// settlement period, with no taxpayer.
data::PeriodChoice periodOptions(const QMap<QString, QString>& options);

} // namespace tools
