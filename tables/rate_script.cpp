#include "tables/rate_script.h"

#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

#include "data/multi_row_insert.h"
#include "data/rate_store.h"
#include "text/cp1250.h"
#include "text/formats.h"

namespace rates {

namespace {

QString notARateText()
{
    return QStringLiteral("Wiersz nie jest stawką opłaty. Oczekiwano: numer rodzaju pojazdu, numer paliwa, stawka za "
                          "tonę (z kropką dziesiętną), rok i nawias zamykający, np. 1, 1, 101.14, 2024)");
}

// A year or a rate no rate file of the law has: a slip, refused before it reaches the table.
QString implausible(const RateValues& v)
{
    if (v.year < 2000 || v.year > 2100)
        return QStringLiteral("Rok %1 leży poza zakresem od 2000 do 2100.").arg(v.year);
    if (v.ratePerTonne < 0 || v.ratePerTonne > 100000)
        return QStringLiteral("Stawka %1 zł za tonę leży poza zakresem od 0 do 100 000 zł.")
            .arg(QString::number(v.ratePerTonne, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')));
    return {};
}

QString okText() { return QStringLiteral("     OK"); }
QString errorText(const QString& reason) { return QStringLiteral("  Błąd ") + reason; }

} // namespace

QString statementHead()
{
    return data::RateStore::statementHead();
}

QStringList fileLines(const QByteArray& bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    const QString text = text::fromCp1250(data);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

std::optional<RateValues> parseLine(const QString& line)
{
    // After the parenthesis: blanks, a semicolon and comments ("--" to the end, "/* */"), as
    // files written for the database's own tools end their lines.
    static const QRegularExpression rate(QStringLiteral(
        "^[ \\t]*(\\d{1,9})[ \\t]*,[ \\t]*(\\d{1,9})[ \\t]*,[ \\t]*(-?\\d{1,12}(?:\\.\\d{1,12})?)[ \\t]*,"
        "[ \\t]*(\\d{1,9})[ \\t]*\\)(?:[ \\t;]|/\\*.*?\\*/)*(?:--.*)?$"));
    const QRegularExpressionMatch m = rate.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    RateValues v;
    v.vehicleType = m.captured(1).toLongLong();
    v.fuel = m.captured(2).toLongLong();
    v.ratePerTonne = m.captured(3).toDouble();
    v.year = m.captured(4).toLongLong();
    return v;
}

std::vector<RateStatement> statementsOf(const QStringList& lines)
{
    std::vector<RateStatement> statements;
    statements.reserve(lines.size());
    for (const QString& line : lines)
        statements.push_back({line, parseLine(line), {}});
    return statements;
}

std::vector<RateStatement> readRateFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Nie można odczytać pliku %1: %2").arg(path, file.errorString()).toStdString());
    return statementsOf(fileLines(file.readAll()));
}

int runStatements(Tdm_1& dm, std::vector<RateStatement>& statements, const std::function<void()>& waiting,
                  const std::function<bool()>& stop)
{
    data::RateStore store(dm, waiting);
    int errors = 0;
    // The rates go to the database many to a statement; a lost server fails every line alike,
    // and the rest is not tried.
    std::vector<RateStatement*> queued;
    const auto write = [&] {
        std::vector<data::RateRow> rows;
        for (const RateStatement* s : queued)
            rows.push_back(*s->values);
        const auto refusals = store.insert(rows);
        for (size_t i = 0; i < queued.size(); ++i) {
            if (refusals[i]) {
                // One row of the log holds the server's text on one line.
                queued[i]->outcome = errorText(text::oneLine(*refusals[i]));
                ++errors;
            } else {
                queued[i]->outcome = okText();
            }
        }
        queued.clear();
    };
    for (RateStatement& s : statements) {
        if (stop && stop())
            break;
        if (!s.values) {
            s.outcome = errorText(s.line.trimmed().isEmpty() ? QStringLiteral("Pusty wiersz: brak wartości stawki.")
                                                             : notARateText());
            ++errors;
            continue;
        }
        if (const QString why = implausible(*s.values); !why.isEmpty()) {
            s.outcome = errorText(why);
            ++errors;
            continue;
        }
        queued.push_back(&s);
        if (queued.size() == data::MultiRowInsert::rowsPerStatement)
            write();
    }
    write();
    store.finish();
    return errors;
}

QString summaryText(int count, int errors)
{
    return QStringLiteral("Przetworzono ") + QString::number(count) + QStringLiteral(" poleceń\n\r")
           + QStringLiteral("  w tym błędnych ") + QString::number(errors);
}

} // namespace rates
