// The board's arithmetic without windows: amount texts of the totals, the layout,
// the column model and the drag data.
#include "board/BoardColumnModel.h"
#include "board/BoardLayout.h"
#include "board/BoardStore.h"
#include "board/TotalsText.h"
#include "store/Error.h"
#include "support/Strings.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QTest>

using namespace ravnobor;
using namespace ravnobor::board;
using ravnobor::test::strings;

class TestBoardCore : public QObject {
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void currencyChangesSuffixesOnly();
    void layout_data();
    void layout();
    void layoutKeepsMinimumWidths();
    void storedPrice_data();
    void storedPrice();
    void modelKeepsCountAndSum();
    void rowsKeepOrderAcrossBlocks();
    void dragDataRoundTrip();
};

#define PAY "Доплатить до равенства  "
#define SUB "Вычесть до равенства  "

namespace {
Money m(const char* text) {
    return Money::fromDecimalText(QString::fromLatin1(text));
}
} // namespace

void TestBoardCore::totals_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Money>("u");
    QTest::addColumn<Money>("s1");
    QTest::addColumn<Money>("s2");
    // total, distributed, undistributed, half, share 1, share 2, party 1's line, party 2's line
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << "ru_RU" << m("0") << m("0") << m("0")
                           << strings({"0,00 руб.", "0,00 руб.", "0,00 руб.", "0,00 руб.", "0,00 руб.  ", "0,00 руб.  ",
                                       PAY "0,00 руб.", SUB "0,00 руб."});
    QTest::newRow("equal shares") << "ru_RU" << m("0") << m("500") << m("500")
                                  << strings({"1000,00 руб.", "1000,00 руб.", "0,00 руб.", "500,00 руб.",
                                              "500,00 руб.  ", "500,00 руб.  ", PAY "0,00 руб.", SUB "0,00 руб."});
    QTest::newRow("1000/400/250") << "ru_RU" << m("250") << m("1000") << m("400")
                                  << strings({"1650,00 руб.", "1400,00 руб.", "250,00 руб.", "700,00 руб.",
                                              "1000,00 руб.  ", "400,00 руб.  ", SUB "300,00 руб.", PAY "300,00 руб."});
    QTest::newRow("half of 100.25") << "ru_RU" << m("0") << m("100.25") << m("0")
                                    << strings({"100,25 руб.", "100,25 руб.", "0,00 руб.", "50,13 руб.",
                                                "100,25 руб.  ", "0,00 руб.  ", SUB "50,13 руб.", PAY "50,13 руб."});
    QTest::newRow("point locale") << "en_US" << m("0.5") << m("0.1") << m("0.2")
                                  << strings({"0.80 руб.", "0.30 руб.", "0.50 руб.", "0.15 руб.", "0.10 руб.  ",
                                              "0.20 руб.  ", PAY "0.05 руб.", SUB "0.05 руб."});
    // Exact decimal sums: a hair below half a cent rounds down, half a cent up.
    QTest::newRow("no float artefact") << "en_US" << m("0") << m("0.0049") << m("0.005")
                                       << strings({"0.01 руб.", "0.01 руб.", "0.00 руб.", "0.00 руб.", "0.00 руб.  ",
                                                   "0.01 руб.  ", PAY "0.00 руб.", SUB "0.00 руб."});
    QTest::newRow("negative share, no minus zero")
        << "ru_RU" << m("-0.004") << m("-0.008") << m("0")
        << strings({"-0,01 руб.", "-0,01 руб.", "0,00 руб.", "0,00 руб.", "-0,01 руб.  ", "0,00 руб.  ",
                    PAY "0,00 руб.", SUB "0,00 руб."});
    QTest::newRow("negative shares") << "ru_RU" << m("0") << m("-100.5") << m("-300")
                                     << strings({"-400,50 руб.", "-400,50 руб.", "0,00 руб.", "-200,25 руб.",
                                                 "-100,50 руб.  ", "-300,00 руб.  ", SUB "99,75 руб.",
                                                 PAY "99,75 руб."});
    QTest::newRow("large") << "ru_RU" << m("1000000000000000") << m("999999999999999.99") << m("0.01")
                           << strings({"2000000000000000,00 руб.", "1000000000000000,00 руб.",
                                       "1000000000000000,00 руб.", "500000000000000,00 руб.",
                                       "999999999999999,99 руб.  ", "0,01 руб.  ", SUB "499999999999999,99 руб.",
                                       PAY "499999999999999,99 руб."});
    QTest::newRow("half cent of an odd difference")
        << "ru_RU" << m("0") << m("0.03") << m("0.02")
        << strings({"0,05 руб.", "0,05 руб.", "0,00 руб.", "0,03 руб.", "0,03 руб.  ", "0,02 руб.  ", SUB "0,01 руб.",
                    PAY "0,01 руб."});
}

void TestBoardCore::totals() {
    QFETCH(QString, locale);
    QFETCH(Money, u);
    QFETCH(Money, s1);
    QFETCH(Money, s2);
    QFETCH(QStringList, expected);
    const TotalsTexts t = totalsTexts(
        {u, s1, s2, QStringLiteral("руб."), QStringLiteral("Иванов"), QStringLiteral("ООО \"Рога\"")}, QLocale(locale));
    QCOMPARE((QStringList{t.edit17, t.edit18, t.edit19, t.edit20, t.edit16, t.edit9, t.edit12, t.edit10}), expected);
    QCOMPARE(t.label14, QStringLiteral("  Иванов"));
    QCOMPARE(t.label8, QStringLiteral("  ООО \"Рога\""));
    QCOMPARE(t.priceCaption, QStringLiteral("Цена, руб."));
}

void TestBoardCore::currencyChangesSuffixesOnly() {
    const TotalsTexts t =
        totalsTexts({m("1"), m("2"), m("3"), QStringLiteral("ЕВРО"), {}, {}}, QLocale(QStringLiteral("ru_RU")));
    QCOMPARE(t.edit17, QStringLiteral("6,00 ЕВРО"));
    QCOMPARE(t.edit10, QStringLiteral("Вычесть до равенства  0,50 ЕВРО"));
    QCOMPARE(t.priceCaption, QStringLiteral("Цена, ЕВРО"));
}

void TestBoardCore::layout_data() {
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("priceWidth");
    QTest::addColumn<QList<int>>("expected"); // side, centre, side name, centre name, label2 left, label width, panel 0
    QTest::newRow("designed 678") << 670 << 70 << QList<int>{226, 218, 131, 123, 449, 216, 232};
    QTest::newRow("679") << 671 << 70 << QList<int>{226, 219, 131, 124, 450, 216, 233};
    QTest::newRow("680") << 672 << 70 << QList<int>{227, 218, 132, 123, 450, 217, 234};
    QTest::newRow("wide price column") << 670 << 90 << QList<int>{226, 218, 111, 103, 449, 216, 232};
    QTest::newRow("1024") << 1016 << 70 << QList<int>{341, 334, 246, 239, 680, 331, 578};
}

void TestBoardCore::layout() {
    QFETCH(int, client);
    QFETCH(int, priceWidth);
    QFETCH(QList<int>, expected);
    const BoardGeometry g = boardGeometry({client, priceWidth, priceWidth, priceWidth, {300, 70, 70}});
    QCOMPARE(g.leftWidth, g.rightWidth);
    QCOMPARE(g.leftNameWidth, g.rightNameWidth);
    QCOMPARE(g.label1Left, 5);
    QCOMPARE(g.label2Width, g.label1Width);
    QCOMPARE(g.rightLeft + g.rightWidth, client);
    QCOMPARE((QList<int>{g.leftWidth, g.centreWidth, g.leftNameWidth, g.centreNameWidth, g.label2Left, g.label1Width,
                         g.statusPanel0Width}),
             expected);
}

void TestBoardCore::layoutKeepsMinimumWidths() {
    const int narrowest = minimumClientWidth();
    const BoardGeometry g = boardGeometry({narrowest});
    QVERIFY(g.centreWidth >= MinimumListWidth);
    QCOMPARE(g.rightLeft + g.rightWidth, narrowest);
    const BoardGeometry tooNarrow = boardGeometry({narrowest - 1});
    QVERIFY(tooNarrow.centreWidth >= MinimumListWidth);
    QVERIFY(tooNarrow.leftWidth >= MinimumListWidth);
}

void TestBoardCore::storedPrice_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("ruText"); // empty: no price; "!" refused
    QTest::addColumn<QString>("enText");
    QTest::newRow("whole") << QVariant(1500.0) << "1500"
                           << "1500";
    QTest::newRow("fraction") << QVariant(1234.5) << "1234,5"
                              << "1234.5";
    QTest::newRow("million, no exponent") << QVariant(1e6) << "1000000"
                                          << "1000000";
    QTest::newRow("tenth") << QVariant(0.1) << "0,1"
                           << "0.1";
    QTest::newRow("integer stored") << QVariant(qint64(250)) << "250"
                                    << "250";
    QTest::newRow("negative") << QVariant(-12.25) << "-12,25"
                              << "-12.25";
    QTest::newRow("limit") << QVariant(1e15) << "1000000000000000"
                           << "1000000000000000";
    QTest::newRow("empty") << QVariant() << ""
                           << "";
    QTest::newRow("beyond the limit") << QVariant(1e16) << "!"
                                      << "!";
    QTest::newRow("not a number") << QVariant(QStringLiteral("дорого")) << "!"
                                  << "!";
}

void TestBoardCore::storedPrice() {
    QFETCH(QVariant, stored);
    QFETCH(QString, ruText);
    QFETCH(QString, enText);
    if (ruText == u'!') {
        QVERIFY_THROWS_EXCEPTION(Error, board::storedPrice(stored, QStringLiteral("Шкаф")));
        try {
            board::storedPrice(stored, QStringLiteral("Шкаф"));
        } catch (const Error& e) {
            QVERIFY2(e.message().contains(QStringLiteral("«Шкаф»")), qPrintable(e.message()));
        }
        return;
    }
    const std::optional<Money> price = board::storedPrice(stored, QStringLiteral("Шкаф"));
    QCOMPARE(price.has_value(), !ruText.isEmpty());
    if (price) {
        QCOMPARE(price->toPlainText(QLocale(QStringLiteral("ru_RU"))), ruText);
        QCOMPARE(price->toPlainText(QLocale(QStringLiteral("en_US"))), enText);
    }
}

void TestBoardCore::modelKeepsCountAndSum() {
    BoardColumnModel model(1);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    std::vector<BoardRow> rows;
    rows.push_back({1, QStringLiteral("Стол"), m("100.25")});
    rows.push_back({2, QStringLiteral("Стул"), std::nullopt});
    rows.push_back({3, QStringLiteral("Шкаф"), m("0.1")});
    model.replaceRows(std::move(rows));
    QCOMPARE(model.count(), 3);
    QCOMPARE(model.sum(), m("100.35"));
    QCOMPARE(model.index(0, BoardColumnModel::PriceColumn).data().toString(), QLocale().toString(100.25, 'f', 2));
    QCOMPARE(model.index(1, BoardColumnModel::PriceColumn).data().toString(), QString());
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Имущество"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Цена"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));

    const BoardRow taken = model.take(0);
    QCOMPARE(taken.key, 1);
    QCOMPARE(model.count(), 2);
    QCOMPARE(model.sum(), m("0.1"));
    model.append(taken);
    QCOMPARE(model.row(2).name, QStringLiteral("Стол"));
    QCOMPARE(model.sum(), m("100.35"));
    model.setPriceCaption(QStringLiteral("Цена, грн."));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Цена, грн."));
}

void TestBoardCore::rowsKeepOrderAcrossBlocks() {
    // Three blocks and a bit; moves taken from the front, the middle, block edges and
    // the end, each added again at the end, as the board's moves do.
    const int items = 3 * BoardRows::BlockSize + 7;
    std::vector<BoardRow> start;
    std::vector<qint64> expected;
    for (int i = 0; i < items; ++i) {
        start.push_back({qint64(i), QString::number(i), std::nullopt});
        expected.push_back(i);
    }
    BoardRows rows;
    rows.assign(std::move(start));
    const auto keys = [&rows] {
        std::vector<qint64> out;
        for (int r = 0; r < rows.size(); ++r)
            out.push_back(rows[r].key);
        return out;
    };
    for (int step = 0; step < 4 * items; ++step) {
        const int at = step % 5 == 0 ? 0 : (step * 7919) % rows.size();
        QCOMPARE(rows[at].key, expected[size_t(at)]);
        BoardRow taken = rows.take(at);
        QCOMPARE(taken.name, QString::number(expected[size_t(at)]));
        expected.erase(expected.begin() + at);
        if (step % 3 != 2) { // every third item leaves the list
            expected.push_back(taken.key);
            rows.push_back(std::move(taken));
        }
        if (rows.size() == 1)
            break;
    }
    QCOMPARE(rows.size(), int(expected.size()));
    QCOMPARE(keys(), expected);
    std::vector<qint64> copied;
    for (const BoardRow& row : rows.toVector())
        copied.push_back(row.key);
    QCOMPARE(copied, expected);
    for (int last = rows.size() - 1; last >= 0; --last)
        QCOMPARE(rows.take(last).key, expected[size_t(last)]);
    QCOMPARE(rows.size(), 0);
    rows.push_back({5, QStringLiteral("5"), std::nullopt});
    QCOMPARE(rows[0].key, 5);
}

void TestBoardCore::dragDataRoundTrip() {
    BoardColumnModel model(-1);
    model.setDragToken("window-1");
    std::vector<BoardRow> rows;
    rows.push_back({42, QStringLiteral("Ваза"), m("5")});
    model.replaceRows(std::move(rows));
    std::unique_ptr<QMimeData> mime(model.mimeData({model.index(0, 0)}));
    QVERIFY(mime);
    const std::optional<BoardDrag> drag = decodeBoardDrag(mime.get());
    QVERIFY(drag);
    QCOMPARE(drag->token, QByteArray("window-1"));
    QCOMPARE(drag->sourceTag, -1);
    QCOMPARE(drag->key, 42);

    QMimeData text;
    text.setText(QStringLiteral("Ваза"));
    QVERIFY(!decodeBoardDrag(&text));
    QMimeData junk;
    junk.setData(BoardColumnModel::MimeType, "window-1\n7\n42");
    QVERIFY(!decodeBoardDrag(&junk));
}

QTEST_GUILESS_MAIN(TestBoardCore)
#include "tst_board_core.moc"
