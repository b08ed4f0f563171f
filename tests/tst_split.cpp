#include "split/ExactAmount.h"
#include "split/ShareTotals.h"
#include "split/SplitPlan.h"
#include "split/SubsetSearch.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/Money.h"
#include "store/Share.h"

#include <QTest>

#include <random>

using namespace ravnobor;
using namespace ravnobor::split;

namespace {

Money rub(const char* text) {
    return Money::fromDecimalText(QString::fromLatin1(text));
}

SplitItem item(const char* price1, const char* price2, int allocation = 0) {
    SplitItem out;
    out.price = rub(price1);
    out.price1 = rub(price1);
    out.price2 = rub(price2);
    out.allocation = allocation;
    return out;
}

const QString Rub = QStringLiteral("руб.");

} // namespace

class TestSplit : public QObject {
    Q_OBJECT
private slots:
    void sumsOfUnrelatedSharesStayRight();
    void shareParser_data();
    void shareParser();
    void shareRefused_data();
    void shareRefused();
    void shareTotals_data();
    void shareTotals();
    void minimalPaymentAgainstBruteForce_data();
    void minimalPaymentAgainstBruteForce();
    void searchBeyondExhaustiveLimit_data();
    void searchBeyondExhaustiveLimit();
    void minimalPaymentReachesSmallestStep_data();
    void minimalPaymentReachesSmallestStep();
    void minimalPaymentKeepsPlacedItems();
    void ownPricesExample();
    void ownPricesTiesAndUnequalShare();
};

void TestSplit::shareParser_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("numerator");
    QTest::addColumn<qint64>("denominator");
    QTest::addColumn<bool>("equal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("other");
    QTest::newRow("percent") << "60" << 3LL << 5LL << false << "60"
                             << "40";
    QTest::newRow("percent with comma") << "33,33" << 3333LL << 10000LL << false << "33,33"
                                        << "66,67";
    QTest::newRow("percent with point") << "33.33" << 3333LL << 10000LL << false << "33.33"
                                        << "66.67";
    QTest::newRow("percent sign") << "12,5 %" << 1LL << 8LL << false << "12,5 %"
                                  << "87,5%";
    QTest::newRow("one third") << "1/3" << 1LL << 3LL << false << "1/3"
                               << "2/3";
    QTest::newRow("two thirds") << "2/3" << 2LL << 3LL << false << "2/3"
                                << "1/3";
    QTest::newRow("blanks ignored") << "  1 / 3 " << 1LL << 3LL << false << "1 / 3"
                                    << "2/3";
    QTest::newRow("unreduced fraction") << "2/6" << 1LL << 3LL << false << "2/6"
                                        << "4/6";
    QTest::newRow("empty is equal") << "" << 1LL << 2LL << true << ""
                                    << "";
    QTest::newRow("blanks are equal") << "   " << 1LL << 2LL << true << ""
                                      << "";
    QTest::newRow("fifty percent is equal") << "50" << 1LL << 2LL << true << "50"
                                            << "50";
    QTest::newRow("trailing zeros") << "25,000000" << 1LL << 4LL << false << "25,000000"
                                    << "75";
    QTest::newRow("tiny percent") << "0,0001" << 1LL << 1000000LL << false << "0,0001"
                                  << "99,9999";
}

void TestSplit::shareParser() {
    QFETCH(QString, typed);
    QFETCH(qint64, numerator);
    QFETCH(qint64, denominator);
    QFETCH(bool, equal);
    QFETCH(QString, text);
    QFETCH(QString, other);
    QVERIFY(Share::isValid(typed));
    const Share share = Share::parse(typed);
    QCOMPARE(qint64(share.numerator()), numerator);
    QCOMPARE(qint64(share.denominator()), denominator);
    QCOMPARE(share.isEqual(), equal);
    QCOMPARE(share.text(), text);
    QCOMPARE(share.otherText(), other);
}

void TestSplit::shareRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString range = QStringLiteral("доля должна быть больше 0 и меньше 100 % (дробью — больше 0 и меньше 1).");
    const QString unrecognised = QStringLiteral("введите процент (например, 60 или 33,33) или дробь (например, 1/3).");
    QTest::newRow("zero") << "0" << range;
    QTest::newRow("zero with decimals") << "0,00" << range;
    QTest::newRow("hundred") << "100" << range;
    QTest::newRow("above hundred") << "250" << range;
    QTest::newRow("negative") << "-5" << range;
    QTest::newRow("negative fraction") << "-1/3" << range;
    QTest::newRow("whole fraction") << "3/3" << range;
    QTest::newRow("improper fraction") << "4/3" << range;
    QTest::newRow("zero numerator") << "0/3" << range;
    QTest::newRow("zero denominator") << "1/0" << QStringLiteral("знаменатель дроби не может быть нулём.");
    QTest::newRow("letters") << "abc" << unrecognised;
    QTest::newRow("two separators") << "1,2,3" << unrecognised;
    QTest::newRow("separator alone") << "," << unrecognised;
    QTest::newRow("half a fraction") << "1/" << unrecognised;
    QTest::newRow("decimal fraction") << "1,5/3" << unrecognised;
    QTest::newRow("too precise") << "33,33333" << QStringLiteral("у процента не больше 4 знаков после запятой.");
    QTest::newRow("huge denominator") << "1/2000001" << QStringLiteral("знаменатель дроби не больше 1000000.");
    QTest::newRow("endless digits") << "99999999999999999999999" << range;
}

void TestSplit::shareRefused() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QString expected = QStringLiteral("Доля стороны 1 «%1» не годится: %2").arg(typed.trimmed(), message);
    QString error;
    QVERIFY(!Share::isValid(typed, &error));
    QCOMPARE(error, expected);
    try {
        Share::parse(typed);
        QFAIL("accepted");
    } catch (const Error& e) {
        QCOMPARE(e.message(), expected);
    }
}

void TestSplit::shareTotals_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("s1");
    QTest::addColumn<QString>("s2");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    const QString third = QStringLiteral("Доля стороны 1 (1/3) от суммы распределенного имущества");
    const QString half = QStringLiteral("Половина от суммы распределенного имущества");
    // 1/3 of 100 is 33.333...: shown 33,33; S1 = 0 must pay up all of it.
    QTest::newRow("third, nothing with party 1") << "ru_RU"
                                                 << "1/3"
                                                 << "0"
                                                 << "100" << third << "33,33 руб."
                                                 << "Доплатить до установленной доли  33,33 руб."
                                                 << "Вычесть до установленной доли  33,33 руб.";
    // 1/3 of 100.005 is exactly 33.335: half a cent rounds away from zero; 100.005 − 33.335 = 66.67.
    QTest::newRow("third, half a cent") << "ru_RU"
                                        << "1/3"
                                        << "100.005"
                                        << "0" << third << "33,34 руб."
                                        << "Вычесть до установленной доли  66,67 руб."
                                        << "Доплатить до установленной доли  66,67 руб.";
    // 1/3 of 200 is 66.666...; 100 − 66.666... = 33.333...
    QTest::newRow("third, point locale") << "en_US"
                                         << "1/3"
                                         << "100"
                                         << "100" << third << "66.67 руб."
                                         << "Вычесть до установленной доли  33.33 руб."
                                         << "Доплатить до установленной доли  33.33 руб.";
    QTest::newRow("third, on target") << "ru_RU"
                                      << "1/3"
                                      << "100"
                                      << "200" << third << "100,00 руб."
                                      << "Доплатить до установленной доли  0,00 руб."
                                      << "Вычесть до установленной доли  0,00 руб.";
    // A debt with party 1: the target is negative too.
    QTest::newRow("third, debts") << "ru_RU"
                                  << "1/3"
                                  << "-30"
                                  << "0" << third << "-10,00 руб."
                                  << "Доплатить до установленной доли  20,00 руб."
                                  << "Вычесть до установленной доли  20,00 руб.";
    QTest::newRow("percent as typed") << "ru_RU"
                                      << " 33,33 "
                                      << "0"
                                      << "1"
                                      << QStringLiteral("Доля стороны 1 (33,33) от суммы распределенного имущества")
                                      << "0,33 руб."
                                      << "Доплатить до установленной доли  0,33 руб."
                                      << "Вычесть до установленной доли  0,33 руб.";
    QTest::newRow("equal, party 1 larger") << "ru_RU"
                                           << ""
                                           << "1000"
                                           << "400" << half << "700,00 руб."
                                           << "Вычесть до равенства  300,00 руб."
                                           << "Доплатить до равенства  300,00 руб.";
    QTest::newRow("equal, nothing placed") << "ru_RU"
                                           << ""
                                           << "0"
                                           << "0" << half << "0,00 руб."
                                           << "Доплатить до равенства  0,00 руб."
                                           << "Вычесть до равенства  0,00 руб.";
    QTest::newRow("equal, same shares") << "en_US"
                                        << ""
                                        << "500"
                                        << "500" << half << "500.00 руб."
                                        << "Доплатить до равенства  0.00 руб."
                                        << "Вычесть до равенства  0.00 руб.";
    QTest::newRow("equal, half a cent") << "ru_RU"
                                        << ""
                                        << "100.25"
                                        << "0" << half << "50,13 руб."
                                        << "Вычесть до равенства  50,13 руб."
                                        << "Доплатить до равенства  50,13 руб.";
    QTest::newRow("fifty percent is equal") << "ru_RU"
                                            << "50"
                                            << "0"
                                            << "10" << half << "5,00 руб."
                                            << "Доплатить до равенства  5,00 руб."
                                            << "Вычесть до равенства  5,00 руб.";
}

void TestSplit::shareTotals() {
    QFETCH(QString, locale);
    QFETCH(QString, share);
    QFETCH(QString, s1);
    QFETCH(QString, s2);
    QFETCH(QString, caption);
    QFETCH(QString, target);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    const ShareTotals totals = split::shareTotals(Money::fromDecimalText(s1), Money::fromDecimalText(s2),
                                                  Share::parse(share), Rub, QLocale(locale));
    QCOMPARE(totals.targetCaption, caption);
    QCOMPARE(totals.targetText, target);
    QCOMPARE(totals.party1Line, line1);
    QCOMPARE(totals.party2Line, line2);
}

namespace {

// A random little case: prices with cents, debts and weightless items, some placed.
std::vector<SplitItem> randomCase(std::mt19937_64& random, int count) {
    std::vector<SplitItem> items(static_cast<size_t>(count));
    for (SplitItem& it : items) {
        const qint64 cents = qint64(random() % 200001) - (random() % 5 == 0 ? 150000 : 0);
        it.price = random() % 9 == 0 ? Money() : Money::fromUnits(Int128(cents) * 1000000);
        it.price1 = it.price;
        it.price2 = Money::fromUnits(Int128(random() % 100000) * 1000000);
        const int place = int(random() % 4);
        it.allocation = place == 0 ? 1 : (place == 1 ? -5 : 0);
    }
    return items;
}

// The smallest |S1 − share × (S1 + S2)| over every placement of the free items.
ExactAmount bruteForcePayment(const std::vector<SplitItem>& items, const Share& share, bool keepPlaced) {
    std::vector<size_t> free;
    Money placed1;
    Money total;
    for (size_t i = 0; i < items.size(); ++i) {
        total += items[i].price;
        if (keepPlaced && items[i].allocation != 0) {
            if (items[i].allocation > 0)
                placed1 += items[i].price;
        } else {
            free.push_back(i);
        }
    }
    const ExactAmount target = ExactAmount::partOf(share, total);
    ExactAmount best;
    for (quint32 mask = 0; mask < (1u << free.size()); ++mask) {
        Money s1 = placed1;
        for (size_t k = 0; k < free.size(); ++k)
            if (mask & (1u << k))
                s1 += items[free[k]].price;
        const ExactAmount payment = (ExactAmount(s1) - target).abs();
        if (mask == 0 || payment < best)
            best = payment;
    }
    return best;
}

} // namespace

void TestSplit::minimalPaymentAgainstBruteForce_data() {
    QTest::addColumn<quint64>("seed");
    for (quint64 seed : {1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233, 377, 610, 987, 1597})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestSplit::minimalPaymentAgainstBruteForce() {
    QFETCH(quint64, seed);
    std::mt19937_64 random(seed);
    const QStringList shares = {QString(), QStringLiteral("1/3"), QStringLiteral("2/5"), QStringLiteral("33,33"),
                                QStringLiteral("7/9")};
    for (int round = 0; round < 12; ++round) {
        const std::vector<SplitItem> items = randomCase(random, 1 + int(random() % 16));
        const Share share = Share::parse(shares[int(random() % shares.size())]);
        const bool keepPlaced = random() % 3 != 0;
        const SplitPlan plan = planMinimalPayment(items, share, keepPlaced);
        QVERIFY(plan.proven);
        QCOMPARE(plan.payment.abs(), bruteForcePayment(items, share, keepPlaced));
        // Placed items stay; every free one now has a party.
        for (size_t i = 0; i < items.size(); ++i) {
            if (keepPlaced && items[i].allocation != 0)
                QCOMPARE(plan.allocation[i], layout::allocationTag(items[i].allocation));
            else
                QVERIFY(plan.allocation[i] == 1 || plan.allocation[i] == -1);
        }
        // The payment is what the shares of the new placement say.
        Money s1;
        Money s2;
        for (size_t i = 0; i < items.size(); ++i)
            (plan.allocation[i] > 0 ? s1 : s2) += items[i].price;
        QCOMPARE(plan.share1, s1);
        QCOMPARE(plan.share2, s2);
        QCOMPARE(plan.payment, ExactAmount(s1) - ExactAmount::partOf(share, s1 + s2));
    }
}

void TestSplit::searchBeyondExhaustiveLimit_data() {
    minimalPaymentAgainstBruteForce_data();
}

// The large-case search on small cases: never better than the optimum, proven only when it is one,
// and at the optimum once a group holds every value.
void TestSplit::searchBeyondExhaustiveLimit() {
    QFETCH(quint64, seed);
    std::mt19937_64 random(seed);
    for (int round = 0; round < 12; ++round) {
        const int count = 1 + int(random() % 16);
        std::vector<Int128> values;
        for (int i = 0; i < count; ++i)
            values.push_back(Int128(random() % 2001) - 700);
        const Int128 target = Int128(random() % 8001) - 2000;
        Int128 best = -1;
        for (quint32 mask = 0; mask < (1u << count); ++mask) {
            Int128 sum = 0;
            for (int k = 0; k < count; ++k)
                if (mask & (1u << k))
                    sum += values[size_t(k)];
            const Int128 d = sum > target ? sum - target : target - sum;
            if (best < 0 || d < best)
                best = d;
        }
        for (int groupSize : {3, 28}) {
            SubsetSearchOptions options;
            options.exhaustiveLimit = 0;
            options.groupSize = groupSize;
            options.timeLimit = std::chrono::milliseconds(2);
            const SubsetChoice choice = closestSubset(values, target, options);
            Int128 sum = 0;
            for (int k = 0; k < count; ++k)
                if (choice.chosen[size_t(k)])
                    sum += values[size_t(k)];
            QVERIFY(sum == choice.sum);
            QVERIFY(choice.distance >= best);
            QVERIFY(choice.lowerBound <= best);
            if (choice.proven)
                QVERIFY(choice.distance == best);
            if (groupSize >= count) {
                QVERIFY(choice.proven);
                QVERIFY(choice.distance == best);
            }
        }
    }
}

void TestSplit::minimalPaymentReachesSmallestStep_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("oddTotal");
    QTest::newRow("41 items, even") << 41 << false;
    QTest::newRow("41 items, odd") << 41 << true;
    QTest::newRow("1000 items, even") << 1000 << false;
    QTest::newRow("1000 items, odd") << 1000 << true;
}

// Whole roubles from 1,000 to 1,000,000: the payment reaches 0,00, or 0,50 when the total is odd.
void TestSplit::minimalPaymentReachesSmallestStep() {
    QFETCH(int, count);
    QFETCH(bool, oddTotal);
    std::mt19937_64 random(static_cast<quint64>(count));
    std::vector<SplitItem> items(static_cast<size_t>(count));
    qint64 total = 0;
    for (SplitItem& it : items) {
        const qint64 roubles = 1000 + qint64(random() % 999001);
        it.price = Money::fromUnits(Int128(roubles) * 100000000);
        total += roubles;
    }
    if ((total % 2 == 1) != oddTotal) {
        items[0].price += Money::fromUnits(100000000);
        total += 1;
    }
    const SplitPlan plan = planMinimalPayment(items, Share(), true);
    QVERIFY(plan.proven);
    QCOMPARE(plan.payment.abs().toText(QLocale(QStringLiteral("ru_RU"))),
             oddTotal ? QStringLiteral("0,50") : QStringLiteral("0,00"));
    QCOMPARE(plan.count1 + plan.count2, count);
}

void TestSplit::minimalPaymentKeepsPlacedItems() {
    // Party 1 holds 100 already; of 10, 20 and 30 free, 1/3 of 160 = 53.33.. is nearest with 100 alone.
    std::vector<SplitItem> items = {item("100", "0", 1), item("10", "0"), item("20", "0"), item("30", "0")};
    const Share third = Share::parse(QStringLiteral("1/3"));
    SplitPlan kept = planMinimalPayment(items, third, true);
    QCOMPARE(kept.allocation, (std::vector<int>{1, -1, -1, -1}));
    QCOMPARE(kept.payment.toText(QLocale(QStringLiteral("ru_RU"))), QStringLiteral("46,67"));
    QVERIFY(kept.proven);
    QCOMPARE(kept.count1, 1);
    QCOMPARE(kept.count2, 3);
    QCOMPARE(kept.changed, 3);
    // Unticked, everything is placed again: 20 + 30 = 50 is nearest to 53.33.
    SplitPlan again = planMinimalPayment(items, third, false);
    QCOMPARE(again.allocation, (std::vector<int>{-1, -1, 1, 1}));
    QCOMPARE(again.payment.toText(QLocale(QStringLiteral("ru_RU"))), QStringLiteral("-3,33"));
    QCOMPARE(again.changed, 4);
}

void TestSplit::ownPricesExample() {
    const std::vector<SplitItem> items = {item("100", "80"), item("60", "90"), item("20", "10")};
    const SplitPlan plan = planByOwnPrices(items, Share(), true);
    QCOMPARE(plan.allocation, (std::vector<int>{1, -1, 1}));
    QCOMPARE(plan.count1, 2);
    QCOMPARE(plan.count2, 1);
    QCOMPARE(plan.own1, rub("120"));
    QCOMPARE(plan.own2, rub("90"));
    QCOMPARE(plan.fair1, ExactAmount(rub("90")));
    QCOMPARE(plan.fair2, ExactAmount(rub("90")));
    QCOMPARE(plan.payment, ExactAmount(rub("15")));
    QCOMPARE(plan.result1, ExactAmount(rub("15")));
    QCOMPARE(plan.result2, ExactAmount(rub("15")));
    QCOMPARE(plan.payment.toAmountText(Rub, QLocale(QStringLiteral("ru_RU"))), QStringLiteral("15,00 руб."));
}

void TestSplit::ownPricesTiesAndUnequalShare() {
    // Party 2 already holds B (it counts in V2); the tie D goes where it shrinks the payment.
    std::vector<SplitItem> items = {item("100", "80"), item("60", "90", -1), item("20", "10"), item("40", "40")};
    // Without D party 1 would pay ((120 − 110) − (90 − 110)) / 2 = 15; D to party 2 makes it −5.
    SplitPlan plan = planByOwnPrices(items, Share(), true);
    QCOMPARE(plan.allocation, (std::vector<int>{1, -1, 1, -1}));
    QCOMPARE(plan.payment, ExactAmount(rub("-5")));
    QCOMPARE(plan.result1, plan.result2);
    // Party 1 holding 1/3: F1 = 220/3, F2 = 2/3 × 220; the same each way above the fair share.
    const Share third = Share::parse(QStringLiteral("1/3"));
    plan = planByOwnPrices(items, third, true);
    QCOMPARE(plan.fair1, ExactAmount::ratio(rub("220").units(), 3));
    QCOMPARE(plan.fair2, ExactAmount::ratio(rub("440").units(), 3));
    QCOMPARE(plan.result1, plan.result2);
    QCOMPARE(plan.result1 + plan.result2, ExactAmount(plan.own1 + plan.own2) - plan.fair1 - plan.fair2);
    // An item that both price at nothing still gets a party.
    items.push_back(item("0", "0"));
    plan = planByOwnPrices(items, Share(), true);
    QVERIFY(plan.allocation.back() != 0);
}

void TestSplit::sumsOfUnrelatedSharesStayRight() {
    // Four large prime denominators and prices near the limit: the exact denominator no
    // longer fits, so the sum is kept to a millionth of a unit and still rounds right.
    ExactAmount sum;
    const Money price = Money::fromDecimalText(QStringLiteral("999999999999999.99"));
    for (const char* share : {"1/999983", "1/999979", "1/999961", "1/999959"})
        sum = sum + ExactAmount::partOf(Share::parse(QString::fromLatin1(share)), price);
    QCOMPARE(sum.roundedToCents().toPlainText(QLocale(QLocale::Russian)),
             QStringLiteral("4000118003,93")); // the exact sum, rounded
}

QTEST_GUILESS_MAIN(TestSplit)
#include "tst_split.moc"
