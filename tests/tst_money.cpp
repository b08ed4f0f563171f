#include "documents/AmountWords.h"
#include "store/Error.h"
#include "store/Money.h"
#include "store/NumberText.h"

#include <QTest>

using ravnobor::Money;

class TestMoney : public QObject {
    Q_OBJECT
private slots:
    void amountText_data();
    void amountText();
    void plainText_data();
    void plainText();
    void priceFromText_data();
    void priceFromText();
    void amountInWords_data();
    void amountInWords();
};

void TestMoney::amountText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("halve");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half up") << "ru_RU"
                             << "50.125" << false << "50,13";
    QTest::newRow("half of 100.25") << "ru_RU"
                                    << "100.25" << true << "50,13";
    QTest::newRow("negative half") << "ru_RU"
                                   << "-50.125" << false << "-50,13";
    QTest::newRow("tiny negative is zero") << "ru_RU"
                                           << "-0.004" << false << "0,00";
    QTest::newRow("zero") << "en_US"
                          << "0" << false << "0.00";
    QTest::newRow("large") << "en_US"
                           << "1000000000000000" << false << "1000000000000000.00";
    QTest::newRow("point locale") << "en_US"
                                  << "1234.5" << false << "1234.50";
}

void TestMoney::amountText() {
    QFETCH(QString, locale);
    QFETCH(QString, value);
    QFETCH(bool, halve);
    QFETCH(QString, expected);
    Money m = Money::fromDecimalText(value);
    if (halve)
        m = m.half();
    QCOMPARE(m.toText(QLocale(locale)), expected);
    QCOMPARE(m.toAmountText(QStringLiteral("руб."), QLocale(locale)), expected + QStringLiteral(" руб."));
}

void TestMoney::plainText_data() {
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 1500.0 << "1500";
    QTest::newRow("fraction") << 1234.5 << "1234,5";
    QTest::newRow("million") << 1e6 << "1000000";
    QTest::newRow("tenth") << 0.1 << "0,1";
    QTest::newRow("negative") << -12.25 << "-12,25";
}

void TestMoney::plainText() {
    QFETCH(double, stored);
    QFETCH(QString, expected);
    QCOMPARE(ravnobor::store::plainNumberText(QVariant(stored), QLocale(QStringLiteral("ru_RU"))), expected);
}

void TestMoney::priceFromText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected"); // invalid QVariant: refused
    const QVariant refused;
    QTest::newRow("comma") << "ru_RU"
                           << "12,5" << QVariant(12.5);
    QTest::newRow("point under comma locale") << "ru_RU"
                                              << " 12.50 " << QVariant(12.5);
    QTest::newRow("point locale") << "en_US"
                                  << "12.5" << QVariant(12.5);
    QTest::newRow("empty") << "ru_RU"
                           << "" << QVariant(QMetaType(QMetaType::Nullptr));
    QTest::newRow("junk") << "ru_RU"
                          << "abc" << refused;
    QTest::newRow("inf") << "ru_RU"
                         << "inf" << refused;
    QTest::newRow("nan") << "en_US"
                         << "nan" << refused;
    QTest::newRow("1e999") << "en_US"
                           << "1e999" << refused;
    QTest::newRow("1e300") << "en_US"
                           << "1e300" << refused;
}

void TestMoney::priceFromText() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    if (!expected.isValid()) {
        try {
            ravnobor::store::priceFromText(text, QStringLiteral("Цена 1"), QLocale(locale));
            QFAIL("accepted");
        } catch (const ravnobor::Error& e) {
            QVERIFY(e.message().contains(QStringLiteral("«Цена 1»")));
            QVERIFY(e.message().contains(u'«' + text + u'»'));
        }
        return;
    }
    const QVariant got = ravnobor::store::priceFromText(text, QStringLiteral("Цена 1"), QLocale(locale));
    if (expected.typeId() == QMetaType::Nullptr)
        QVERIFY(got.isNull());
    else
        QCOMPARE(got.toDouble(), expected.toDouble());
}

void TestMoney::amountInWords_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* value, const char* currency, const char* expected) {
        QTest::addRow("%s %s", value, currency)
            << QString::fromLatin1(value) << QString::fromUtf8(currency) << QString::fromUtf8(expected);
    };
    row("4207824.63", "руб.", "четыре миллиона двести семь тысяч восемьсот двадцать четыре рубля 63 копейки");
    row("0", "руб.", "ноль рублей 00 копеек");
    row("1.01", "руб.", "один рубль 01 копейка");
    row("2.02", "руб.", "два рубля 02 копейки");
    row("5.05", "руб.", "пять рублей 05 копеек");
    row("11.11", "руб.", "одиннадцать рублей 11 копеек");
    row("12.12", "руб.", "двенадцать рублей 12 копеек");
    row("21.21", "руб.", "двадцать один рубль 21 копейка");
    row("101", "руб.", "сто один рубль 00 копеек");
    row("1000", "руб.", "одна тысяча рублей 00 копеек");
    row("2000", "руб.", "две тысячи рублей 00 копеек");
    row("5000", "руб.", "пять тысяч рублей 00 копеек");
    row("1000000", "руб.", "один миллион рублей 00 копеек");
    row("1000000000", "руб.", "один миллиард рублей 00 копеек");
    row("999999999999999.99", "руб.",
        "девятьсот девяносто девять триллионов девятьсот девяносто девять миллиардов девятьсот девяносто девять "
        "миллионов девятьсот девяносто девять тысяч девятьсот девяносто девять рублей 99 копеек");
    row("1000000000000000", "руб.", "один квадриллион рублей 00 копеек");
    row("0.005", "руб.", "ноль рублей 01 копейка"); // half away from zero
    row("-3.5", "руб.", "три рубля 50 копеек");
    row("0", "долл.США", "ноль долларов США 00 центов");
    row("1.01", "долл.США", "один доллар США 01 цент");
    row("2.02", "долл.США", "два доллара США 02 цента");
    row("5.05", "долл.США", "пять долларов США 05 центов");
    row("21.11", "долл.США", "двадцать один доллар США 11 центов");
    row("2000", "долл.США", "две тысячи долларов США 00 центов");
    row("0", "ЕВРО", "ноль евро 00 центов");
    row("1.01", "ЕВРО", "один евро 01 цент");
    row("2.02", "ЕВРО", "два евро 02 цента");
    row("12.12", "ЕВРО", "двенадцать евро 12 центов");
    row("1000000", "ЕВРО", "один миллион евро 00 центов");
    row("0", "грн.", "ноль гривен 00 копеек");
    row("1.01", "грн.", "одна гривна 01 копейка");
    row("2.02", "грн.", "две гривны 02 копейки");
    row("5.05", "грн.", "пять гривен 05 копеек");
    row("11", "грн.", "одиннадцать гривен 00 копеек");
    row("21.22", "грн.", "двадцать одна гривна 22 копейки");
    row("1000000000", "грн.", "один миллиард гривен 00 копеек");
    row("42", "фунт", "сорок два фунт 00");
}

void TestMoney::amountInWords() {
    QFETCH(QString, value);
    QFETCH(QString, currency);
    QFETCH(QString, expected);
    QCOMPARE(ravnobor::documents::amountInWords(Money::fromDecimalText(value), currency), expected);
}

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
