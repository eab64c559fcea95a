#pragma once

#include <QObject>

// One test class for the whole text library, its slots spread over a file per area,
// so that any single function can be run by name.
class TestText : public QObject {
    Q_OBJECT

private slots:
    void init();

    // test_money.cpp
    void moneyFromDouble_data();
    void moneyFromDouble();
    void moneySumsDoNotDrift();
    void moneyFromDecimalString_data();
    void moneyFromDecimalString();
    void moneyToDecimalString_data();
    void moneyToDecimalString();
    void moneyDecimalStringRoundTrip();
    void moneyArithmetic();
    void formatMoney_data();
    void formatMoney();
    void formatMoneyFollowsFormats();

    // test_numbers.cpp
    void formatFloat_data();
    void formatFloat();
    void formatFloatFollowsFormats();
    void formatFixed_data();
    void formatFixed();
    void formatNumber_data();
    void formatNumber();
    void formatGeneral_data();
    void formatGeneral();
    void formatGeneralOfExtendedValues();
    void parseFloat_data();
    void parseFloat();
    void parseFloatFollowsFormats();
    void parseFloatReadsWhatFormatNumberWrites();

    // test_dates.cpp
    void parseDate_data();
    void parseDate();
    void formatDate();
    void formatDateFollowsFormats();
    void sqlDateLiteral();

    // test_cp1250.cpp
    void cp1250AsciiIsIdentity();
    void cp1250EveryByteRoundTrips();
    void cp1250DecodesEveryByteToADistinctCharacter();
    void cp1250Letters_data();
    void cp1250Letters();
    void cp1250MatchesSystemCodec();
    void cp1250Sentence();
    void cp1250Unmappable_data();
    void cp1250Unmappable();
    void cp1250EmptyAndZeroBytes();

    // test_csv.cpp
    void csvFields_data();
    void csvFields();
    void csvTextNeverAFormula_data();
    void csvTextNeverAFormula();
    void csvFileWholeOrNotAtAll();
};
