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

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
