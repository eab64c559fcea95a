#include "tools/cli_options.h"

#include <QCommandLineParser>
#include <QTextStream>

#include "data/period.h"

namespace tools {

void printError(const QString& text)
{
    QTextStream(stderr) << text << Qt::endl;
}

QMap<QString, QString> parseOptions(const QStringList& args, const QStringList& withValue, const QStringList& flags,
                                    QStringList* positional)
{
    if (!args.isEmpty() && withValue.contains(args.last()))
        throw BadArguments{QStringLiteral("Brak wartości opcji %1.").arg(args.last())};
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const QString& name : withValue)
        parser.addOption(QCommandLineOption(name.mid(2), {}, QStringLiteral("wartość")));
    for (const QString& name : flags)
        parser.addOption(QCommandLineOption(name.mid(2)));
    const QCommandLineOption help(QStringLiteral("help"));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("brenvald-cli")} + args)) {
        if (!parser.unknownOptionNames().isEmpty())
            throw BadArguments{QStringLiteral("Nieznany argument: --%1").arg(parser.unknownOptionNames().first())};
        throw BadArguments{QStringLiteral("Błędne argumenty: %1").arg(parser.errorText())};
    }
    if (parser.isSet(help))
        throw HelpAsked{};
    if (positional)
        *positional = parser.positionalArguments();
    else if (!parser.positionalArguments().isEmpty())
        throw BadArguments{QStringLiteral("Nieznany argument: %1").arg(parser.positionalArguments().first())};
    QMap<QString, QString> options;
    for (const QString& name : withValue + flags) {
        const QStringList values = parser.values(name.mid(2));
        if (values.size() > 1)
            throw BadArguments{QStringLiteral("Opcja %1 podana dwa razy.").arg(name)};
        if (parser.isSet(name.mid(2)))
            options.insert(name, values.isEmpty() ? QStringLiteral("1") : values.first());
    }
    return options;
}

void requireOptions(const QMap<QString, QString>& options, std::initializer_list<const char*> names)
{
    for (const char* required : names)
        if (!options.contains(QString::fromLatin1(required)))
            throw BadArguments{QStringLiteral("Brak wymaganej opcji %1.").arg(QString::fromLatin1(required))};
}

OutputFormat outputFormat(const QMap<QString, QString>& options)
{
    const bool tsv = options.contains(QStringLiteral("--tsv"));
    const bool csv = options.contains(QStringLiteral("--csv"));
    if (tsv && csv)
        throw BadArguments{QStringLiteral("Podaj --tsv albo --csv, nie obie naraz.")};
    return tsv ? OutputFormat::Tsv : csv ? OutputFormat::Csv : OutputFormat::Table;
}

int yearOption(const QString& text)
{
    bool ok = false;
    const int year = text.toInt(&ok);
    if (!ok || text.size() != 4 || year < 1990)
        throw BadArguments{QStringLiteral("Rok musi mieć cztery cyfry (np. 2024), a nie „%1”.").arg(text)};
    return year;
}

data::PeriodChoice periodOptions(const QMap<QString, QString>& options)
{
    const int year = yearOption(options.value(QStringLiteral("--year")));
    int half = 0;
    if (data::usesHalfYears(year)) {
        const QString h = options.value(QStringLiteral("--half"));
        if (h == QStringLiteral("I"))
            half = 0;
        else if (h == QStringLiteral("II"))
            half = 1;
        else if (h.isEmpty())
            throw BadArguments{QStringLiteral("Do roku %1 rozlicza się półrocza: podaj --half I albo --half II.").arg(data::lastYearOfHalfYears)};
        else
            throw BadArguments{QStringLiteral("Półrocze to I albo II, a nie „%1”.").arg(h)};
    } else if (options.contains(QStringLiteral("--half"))) {
        throw BadArguments{QStringLiteral("Od roku %1 rozlicza się cały rok: opcja --half nie jest dozwolona.").arg(data::lastYearOfHalfYears + 1)};
    }
    return data::periodChoice(data::YearParts::HalfYears, {}, year, half);
}

} // namespace tools
