// The three kinds of document, written through the core code and through the
// "Документы" menu of the main window, read back as a reader sees them.
#include "documents/DocumentFile.h"
#include "documents/Documents.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/NumberText.h"
#include "store/TDataModule1.h"
#include "support/Strings.h"
#include "support/TestProgram.h"
#include "tst_documents_reader.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace ravnobor;
using namespace ravnobor::documents;
using namespace Qt::StringLiterals;
using ravnobor::test::DocxReader;
using ravnobor::test::strings;

Q_DECLARE_METATYPE(std::vector<ravnobor::documents::BoardLine>)

namespace {

QString reportTemplate() {
    return ravnobor::test::builtFile(ReportTemplateFile);
}
QString listTemplate() {
    return ravnobor::test::builtFile(ListTemplateFile);
}

Money money(const char* text) {
    return Money::fromDecimalText(QString::fromLatin1(text));
}

DivisionReportData reportData(std::vector<BoardLine> left, std::vector<BoardLine> right, Money share1, Money share2,
                              Money undistributed = {}) {
    DivisionReportData data;
    data.variantLine = u"  Вариант раздела: предложение стороны 1,  цена: цена 1"_s;
    data.party1Name = u"Иванов И.И."_s;
    data.party2Name = u"Петрова А.С."_s;
    data.currencySuffix = u"руб."_s;
    data.party1Items = std::move(left);
    data.party2Items = std::move(right);
    data.share1Total = share1;
    data.share2Total = share2;
    data.undistributedTotal = undistributed;
    return data;
}

DocxReader report(const DivisionReportData& data, const QLocale& locale = QLocale(u"ru_RU"_s)) {
    WordDocument doc = WordDocument::fromTemplate(reportTemplate());
    fillDivisionReport(doc, data, locale);
    return DocxReader(doc.toDocx());
}

// The report's text below the table, for these names and amounts.
QStringList reportTotals(const QString& q1, const QString& q2, const QString& s1, const QString& s2, const QString& u,
                         const QString& diff, const QString& larger, const QString& smaller, const QString& half) {
    return {u"Стоимость имущества, передаваемого стороне %1: %2"_s.arg(q1, s1),
            u"Стоимость имущества, передаваемого стороне %1: %2"_s.arg(q2, s2),
            u"Стоимость нераспределённого имущества: %1"_s.arg(u),
            u"Разница в стоимости имущества, передаваемого сторонам %1 и %2: %3"_s.arg(q1, q2, diff),
            u"Для уравнивания долей сторона %1 выплачивает стороне %2 денежную компенсацию в размере %3"_s.arg(
                larger, smaller, half)};
}

QStringList afterTable(const DocxReader& reader) {
    return reader.paragraphs().mid(5, 5);
}

GeneralListData listData(std::vector<PropertyListItem> items) {
    GeneralListData data;
    data.party1Name = u"Иванов И.И."_s;
    data.party2Name = u"Петрова А.С."_s;
    data.currencySuffix = u"руб."_s;
    data.items = std::move(items);
    return data;
}

DocxReader generalList(const GeneralListData& data, const QLocale& locale = QLocale(u"ru_RU"_s)) {
    WordDocument doc = WordDocument::fromTemplate(listTemplate());
    fillGeneralList(doc, data, locale);
    return DocxReader(doc.toDocx());
}

QAction* documentAction(Program& program, const char* name) {
    QAction* action = program.formMain().action(QString::fromLatin1(name));
    return action && action->isEnabled() ? action : nullptr;
}

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(u"ru_RU"_s)); }

    void reportRows_data();
    void reportRows();
    void reportTotalsName_data();
    void reportTotalsName();
    void reportFillsHeadingUnquotedAndKeepsOddNames();
    void reportWithUnequalShare_data();
    void reportWithUnequalShare();
    void reportTotalsRowIsBold();
    void reportLeavesNoPlaceholder();
    void reportOnATemplateWithoutTableStillWrites();

    void generalListRowsAndSums_data();
    void generalListRowsAndSums();
    void generalListNames();
    void generalListWalksFromTheFirstRow();
    void generalListRefusesAPriceThatIsNoNumber();
    void columnTextOfStoredValues_data();
    void columnTextOfStoredValues();

    void partyList_data();
    void partyList();

    void commandWritesNumberedFilesAndOpensThem();
    void reportCommandPrintsTheMainWindowsState();
    void partyListCommandOfEmptyShareOpensEmptyDocument();
    void reportAndPartyListsPrintTheBoard();
    void missingTemplateEndsCommandWithMessage();
    void desktopThatCannotOpenNamesTheFile();
    void documentFileTakesCaseNameAndOrdinaryMode();
    void reportNameEndingInInitialHasOneFullStop();
    void reportShowsTheBalanceAsAPicture();
    void descriptionUnderTheTitle();
    void refusedWriteNamesTheSystemsCause();

    void wordProcessorReadsEveryDocument_data();
    void wordProcessorReadsEveryDocument();
};

// ---- division variant report

void TestDocuments::reportRows_data() {
    QTest::addColumn<std::vector<BoardLine>>("left");
    QTest::addColumn<std::vector<BoardLine>>("right");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<QStringList>>("rows"); // data rows and the totals row

    QTest::newRow("both lists empty") << std::vector<BoardLine>{} << std::vector<BoardLine>{} << "ru_RU"
                                      << QList<QStringList>{
                                             strings({"", "ИТОГО", "0,00 руб.", "", "", "ИТОГО", "0,00 руб."})};
    QTest::newRow("left longer")
        << std::vector<BoardLine>{{u"Дом"_s, u"1500"_s}, {u"Гараж"_s, QString()}, {u"Дача"_s, u"10,5"_s}}
        << std::vector<BoardLine>{{u"Машина"_s, u"700"_s}} << "ru_RU"
        << QList<QStringList>{strings({"1", "Дом", "1500", "", "1", "Машина", "700"}),
                              strings({"2", "Гараж", "", "", "", "", ""}),
                              strings({"3", "Дача", "10,5", "", "", "", ""}),
                              strings({"", "ИТОГО", "0,00 руб.", "", "", "ИТОГО", "0,00 руб."})};
    QTest::newRow("right longer, point locale")
        << std::vector<BoardLine>{{u"Стол"_s, u"1.5"_s}}
        << std::vector<BoardLine>{{u"Стул"_s, u"2"_s}, {u"Шкаф"_s, u"3"_s}} << "en_US"
        << QList<QStringList>{strings({"1", "Стол", "1.5", "", "1", "Стул", "2"}),
                              strings({"", "", "", "", "2", "Шкаф", "3"}),
                              strings({"", "ИТОГО", "0.00 руб.", "", "", "ИТОГО", "0.00 руб."})};
}

void TestDocuments::reportRows() {
    QFETCH(std::vector<BoardLine>, left);
    QFETCH(std::vector<BoardLine>, right);
    QFETCH(QString, locale);
    QFETCH(QList<QStringList>, rows);
    const DocxReader reader = report(reportData(left, right, {}, {}), QLocale(locale));
    const auto table = reader.rows();
    QCOMPARE(int(table.size()), 2 + int(rows.size())); // two heading rows, nothing after the totals row
    QCOMPARE(table[1], strings({"№", "Наименование", "Стоимость", "", "№", "Наименование", "Стоимость"}));
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(table[size_t(2 + i)], rows[i]);
}

void TestDocuments::reportTotalsName_data() {
    QTest::addColumn<QString>("share1");
    QTest::addColumn<QString>("share2");
    QTest::addColumn<QString>("undistributed");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("amounts"); // share 1, share 2, undistributed, difference, half
    QTest::addColumn<bool>("party1First");

    QTest::newRow("zero totals name party 2") << "0"
                                              << "0"
                                              << "0"
                                              << "ru_RU" << strings({"0,00", "0,00", "0,00", "0,00", "0,00"}) << false;
    QTest::newRow("equal shares name party 2")
        << "1500"
        << "1500"
        << "99.995"
        << "ru_RU" << strings({"1500,00", "1500,00", "100,00", "0,00", "0,00"}) << false;
    QTest::newRow("larger by a cent names party 1")
        << "100.01"
        << "100"
        << "0"
        << "ru_RU" << strings({"100,01", "100,00", "0,00", "0,01", "0,01"}) << true;
    QTest::newRow("party 2 larger, point locale")
        << "1000.5"
        << "2500.25"
        << "7"
        << "en_US" << strings({"1000.50", "2500.25", "7.00", "1499.75", "749.88"}) << false;
}

void TestDocuments::reportTotalsName() {
    QFETCH(QString, share1);
    QFETCH(QString, share2);
    QFETCH(QString, undistributed);
    QFETCH(QString, locale);
    QFETCH(QStringList, amounts);
    QFETCH(bool, party1First);
    const DivisionReportData data = reportData({}, {}, Money::fromDecimalText(share1), Money::fromDecimalText(share2),
                                               Money::fromDecimalText(undistributed));
    const DocxReader reader = report(data, QLocale(locale));
    const QString q1 = u"\"Иванов И.И.\""_s, q2 = u"\"Петрова А.С.\""_s;
    QStringList a;
    for (const QString& amount : amounts)
        a << amount + u" руб."_s;
    QCOMPARE(afterTable(reader),
             reportTotals(q1, q2, a[0], a[1], a[2], a[3], party1First ? q1 : q2, party1First ? q2 : q1, a[4]));
    QCOMPARE(reader.rows().back(), QStringList({QString(), u"ИТОГО"_s, a[0], QString(), QString(), u"ИТОГО"_s, a[1]}));
}

void TestDocuments::reportWithUnequalShare_data() {
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("share1");
    QTest::addColumn<QString>("share2");
    QTest::addColumn<bool>("party1Pays");
    QTest::addColumn<QString>("payment");
    // 1/3 of 200 is 66.666...: party 1 is 33.333... above it, though the shares are equal.
    QTest::newRow("party 1 above a third") << "1/3"
                                           << "100"
                                           << "100" << true << "33,33";
    // 1/3 of 110 is 36.666...: party 1 is 26.666... below it.
    QTest::newRow("party 1 below a third") << "1/3"
                                           << "10"
                                           << "100" << false << "26,67";
    // 60 % of 100 is 60: party 1 is 10 below although its share is the larger.
    QTest::newRow("party 1 below 60 percent") << "60"
                                              << "50"
                                              << "50" << false << "10,00";
    QTest::newRow("on target names party 2") << "2/3"
                                             << "200"
                                             << "100" << false << "0,00";
}

// The party above its target pays the amount by which it is above; the difference stays the difference.
void TestDocuments::reportWithUnequalShare() {
    QFETCH(QString, share);
    QFETCH(QString, share1);
    QFETCH(QString, share2);
    QFETCH(bool, party1Pays);
    QFETCH(QString, payment);
    DivisionReportData data =
        reportData({}, {}, Money::fromDecimalText(share1), Money::fromDecimalText(share2), money("5"));
    data.share = split::Share::parse(share);
    const DocxReader reader = report(data);
    const QString q1 = u"\"Иванов И.И.\""_s, q2 = u"\"Петрова А.С.\""_s;
    const auto rub = [](const QString& amount) -> QString { return amount + u" руб."_s; };
    const Money difference = (Money::fromDecimalText(share1) - Money::fromDecimalText(share2)).abs();
    QCOMPARE(afterTable(reader),
             reportTotals(q1, q2, rub(Money::fromDecimalText(share1).toText()),
                          rub(Money::fromDecimalText(share2).toText()), rub(u"5,00"_s), rub(difference.toText()),
                          party1Pays ? q1 : q2, party1Pays ? q2 : q1, rub(payment)));
}

void TestDocuments::reportFillsHeadingUnquotedAndKeepsOddNames() {
    DivisionReportData data = reportData({{u"Стол & стул <дуб>\tрезной\x07"_s, u"12"_s}}, {}, money("12"), {});
    data.party1Name = u"ООО \"Ромашка\""_s;
    data.party2Name = u"Кто-то <Сторона 2> #7# <Сторона1>"_s;
    const DocxReader reader = report(data);
    const QStringList p = reader.paragraphs();
    QCOMPARE(p.mid(1, 3), QStringList({data.variantLine, u"Сторона 1: ООО \"Ромашка\""_s,
                                       u"Сторона 2: Кто-то <Сторона 2> #7# <Сторона1>"_s}));
    QCOMPARE(reader.rows()[2], QStringList({u"1"_s, u"Стол & стул <дуб>\tрезной"_s, u"12"_s, QString(), QString(),
                                            QString(), QString()}));
    const QString q1 = u"\"ООО \"Ромашка\"\""_s, q2 = u"\"Кто-то <Сторона 2> #7# <Сторона1>\""_s;
    QCOMPARE(afterTable(reader), reportTotals(q1, q2, u"12,00 руб."_s, u"0,00 руб."_s, u"0,00 руб."_s, u"12,00 руб."_s,
                                              q1, q2, u"6,00 руб."_s));
    QVERIFY(reader.xml().contains("Стол &amp; стул &lt;дуб&gt;"));
}

void TestDocuments::reportTotalsRowIsBold() {
    const DocxReader reader = report(reportData({{u"Дом"_s, u"1"_s}}, {{u"Сад"_s, u"2"_s}}, money("1"), money("2")));
    const int totals = int(reader.rows().size()) - 1;
    QCOMPARE(totals, 3);
    for (int column : {1, 2, 5, 6})
        QVERIFY2(ravnobor::test::cellIsBold(reader.cell(totals, column)), qPrintable(QString::number(column)));
    for (int column : {0, 1, 2, 4, 5, 6})
        QVERIFY(!ravnobor::test::cellIsBold(reader.cell(2, column)));
}

void TestDocuments::reportLeavesNoPlaceholder() {
    const DocxReader reader = report(reportData({}, {}, {}, {}));
    const QString all = reader.text();
    for (const char* placeholder :
         {"<Заголовок>", "<Сторона", "#5#", "#7#", "#8#", "#11#", "#14#", "#15#", "<Диаграмма>"})
        QVERIFY2(!all.contains(QString::fromUtf8(placeholder)), placeholder);
}

void TestDocuments::reportOnATemplateWithoutTableStillWrites() {
    // A template the user replaced by one of their own: nothing to fill, no table, no crash.
    WordDocument doc = WordDocument::blank();
    fillDivisionReport(doc, reportData({{u"Дом"_s, u"1"_s}}, {}, money("1"), {}));
    const DocxReader reader(doc.toDocx());
    QVERIFY(reader.parsed());
    QVERIFY(reader.text().contains(u"ИТОГО"_s));
}

// ---- general list

void TestDocuments::generalListRowsAndSums_data() {
    QTest::addColumn<std::vector<PropertyListItem>>("items");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("sums");

    QTest::newRow("empty list") << std::vector<PropertyListItem>{} << "ru_RU" << QList<QStringList>{}
                                << strings({"0,00", "0,00", "0,00"});
    QTest::newRow("prices as stored")
        << std::vector<PropertyListItem>{{u"Дом"_s, 1500.0, QVariant(), 1234.567, u"БТИ"_s, u"a & b <c>\tx\x01"_s},
                                         {u"Сад"_s, 0.1, 2.0, QVariant(), QVariant(), QVariant()},
                                         {u"Пруд"_s, qlonglong(7), -0.5, 1e15, u"оценщик"_s, u" пробелы "_s}}
        << "ru_RU"
        << QList<QStringList>{strings({"1", "Дом", "1500", "", "1234,567", "БТИ", "a & b <c>\tx"}),
                              strings({"2", "Сад", "0,1", "2", "", "", ""}),
                              strings({"3", "Пруд", "7", "-0,5", "1000000000000000", "оценщик", " пробелы "})}
        << strings({"1507,10", "1,50", "1000000000001234,57"});
    QTest::newRow("point locale") << std::vector<PropertyListItem>{{u"Дом"_s, 12.25, 0.005, u""_s, QVariant(),
                                                                    QVariant()}}
                                  << "en_US" << QList<QStringList>{strings({"1", "Дом", "12.25", "0.005", "", "", ""})}
                                  << strings({"12.25", "0.01", "0.00"});
}

void TestDocuments::generalListRowsAndSums() {
    QFETCH(std::vector<PropertyListItem>, items);
    QFETCH(QString, locale);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, sums);
    const DocxReader reader = generalList(listData(items), QLocale(locale));
    const auto table = reader.rows();
    QCOMPARE(int(table.size()), 1 + int(rows.size()) + 1); // heading, items, the empty row after them
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(table[size_t(1 + i)], rows[i]);
    QCOMPARE(table.back(), QStringList(7, QString()));
    const QStringList p = reader.paragraphs();
    QCOMPARE(p.mid(2, 3),
             QStringList({u"Общая стоимость имущества по оценке стороны \"Иванов И.И.\": %1 руб."_s.arg(sums[0]),
                          u"Общая стоимость имущества по оценке стороны \"Петрова А.С.\": %1 руб."_s.arg(sums[1]),
                          u"Общая стоимость имущества по согласованным ценам: %1 руб."_s.arg(sums[2])}));
}

void TestDocuments::generalListNames() {
    GeneralListData data = listData({});
    data.party1Name = u"ООО \"Ромашка\""_s;
    const DocxReader reader = generalList(data);
    QCOMPARE(reader.paragraphs().value(1),
             u"подлежащего разделу между сторонами \"ООО \"Ромашка\"\" и \"Петрова А.С.\""_s);
    QCOMPARE(reader.rows()[0].mid(2, 2),
             QStringList({u"Цена по оценке ООО \"Ромашка\""_s, u"Цена по оценке Петрова А.С."_s}));
}

void TestDocuments::generalListWalksFromTheFirstRow() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"case.rvb"_s);
    ravnobor::test::makeCase(path, {{u"Первый"_s, 1.0, QVariant(), QVariant(), 0, 0},
                                    {u"Второй"_s, 2.0, QVariant(), QVariant(), 0, 0},
                                    {u"Третий"_s, 3.0, QVariant(), QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    list.open();
    list.last(); // wherever the grid left the cursor
    const std::vector<PropertyListItem> items = readPropertyItems(list);
    QVERIFY(!list.isOpen());
    QCOMPARE(int(items.size()), 3);
    QCOMPARE(items[0].name.toString(), u"Первый"_s);
    const DocxReader reader = generalList(listData(items));
    QCOMPARE(reader.rows()[1].mid(0, 3), strings({"1", "Первый", "1"}));
    QCOMPARE(reader.rows()[3].mid(0, 3), strings({"3", "Третий", "3"}));
    QVERIFY(reader.text().contains(u"\": 6,00 руб."_s));
}

void TestDocuments::generalListRefusesAPriceThatIsNoNumber() {
    WordDocument doc = WordDocument::fromTemplate(listTemplate());
    try {
        fillGeneralList(doc, listData({{u"Дом"_s, u"дорого"_s, QVariant(), QVariant(), QVariant(), QVariant()}}));
        QFAIL("a price that is no number was summed");
    } catch (const Error& e) {
        QCOMPARE(e.message(),
                 u"Цена «дорого» в поле «Цена 1» у предмета «Дом» не является числом, список не составлен"_s);
    }
}

void TestDocuments::columnTextOfStoredValues_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("comma");
    QTest::addColumn<QString>("point");
    QTest::newRow("whole") << QVariant(1500.0) << "1500"
                           << "1500";
    QTest::newRow("fraction") << QVariant(1234.5) << "1234,5"
                              << "1234.5";
    QTest::newRow("three decimals") << QVariant(0.125) << "0,125"
                                    << "0.125";
    QTest::newRow("negative") << QVariant(-0.5) << "-0,5"
                              << "-0.5";
    QTest::newRow("negative zero") << QVariant(-0.0) << "0"
                                   << "0";
    QTest::newRow("limit") << QVariant(1e15) << "1000000000000000"
                           << "1000000000000000";
    QTest::newRow("binary artefact") << QVariant(0.1 + 0.2) << ""
                                     << "";
    QTest::newRow("nine decimals") << QVariant(0.000000001) << ""
                                   << "";
    QTest::newRow("beyond the limit") << QVariant(1e300) << ""
                                      << "";
    QTest::newRow("integer") << QVariant(qlonglong(-7)) << "-7"
                             << "-7";
    QTest::newRow("empty") << QVariant() << ""
                           << "";
    QTest::newRow("text stays as stored") << QVariant(u"1.10"_s) << "1.10"
                                          << "1.10";
}

void TestDocuments::columnTextOfStoredValues() {
    QFETCH(QVariant, stored);
    QFETCH(QString, comma);
    QFETCH(QString, point);
    for (const QString& name : {u"ru_RU"_s, u"en_US"_s}) {
        const QLocale locale(name);
        const ColumnText columnText(locale);
        const QString text = columnText(stored);
        // Numbers read exactly as the rest of the program shows them.
        if (stored.typeId() != QMetaType::QString)
            QCOMPARE(text, store::plainNumberText(stored, locale));
        const QString expected = name == u"ru_RU"_s ? comma : point;
        if (!expected.isEmpty() || stored.isNull())
            QCOMPARE(text, expected);
        std::optional<Money> number;
        columnText(stored, &number);
        if (number)
            QCOMPARE(*number, Money::fromDouble(stored.toDouble()));
    }
}

// ---- party lists

void TestDocuments::partyList_data() {
    QTest::addColumn<std::vector<BoardLine>>("items");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("empty share") << std::vector<BoardLine>{} << u"0"_s
                                 << strings({"Имущество, передаваемое стороне Иванов С. П.", "Итого: 0,00 руб."});
    QTest::newRow("rows") << std::vector<BoardLine>{{u"Вклад в банке, счёт № 4081"_s, u"612350,75"_s},
                                                    {u"Сад & <пруд>"_s, u"10,5"_s},
                                                    {u"Без цены"_s, QString()},
                                                    {u" "_s, u"0"_s}}
                          << u"612361.25"_s
                          << strings({"Имущество, передаваемое стороне Иванов С. П.",
                                      "Вклад в банке, счёт № 4081\t612350,75 руб.", "Сад & <пруд>\t10,5 руб.",
                                      "Без цены\t", " \t0 руб.", "Итого: 612361,25 руб."});
}

void TestDocuments::partyList() {
    QFETCH(std::vector<BoardLine>, items);
    QFETCH(QString, total);
    QFETCH(QStringList, paragraphs);
    WordDocument doc = WordDocument::blank();
    fillPartyList(doc, {u"Иванов С. П."_s, u"руб."_s, items, Money::fromDecimalText(total)}, QLocale(u"ru_RU"_s));
    const DocxReader reader(doc.toDocx());
    QCOMPARE(reader.paragraphs(), paragraphs);
    QVERIFY(!reader.xml().contains("<w:br"));
    // The heading is bold; every line below it has one right tab stop at the right margin
    // (A4 less the blank document's margins), with dots up to the price.
    pugi::xml_document xml;
    QVERIFY(xml.load_buffer(reader.xml().constData(), size_t(reader.xml().size())));
    const pugi::xml_node body = xml.child("w:document").child("w:body");
    int lines = 0;
    for (pugi::xml_node p = body.child("w:p"); p; p = p.next_sibling("w:p"), ++lines) {
        const pugi::xml_node tabs = p.child("w:pPr").child("w:tabs");
        const bool heading = lines == 0;
        QCOMPARE(bool(tabs), !heading);
        QCOMPARE(ravnobor::test::runIsBold(p.child("w:r")), heading);
        if (heading)
            continue;
        QCOMPARE(int(std::distance(tabs.children().begin(), tabs.children().end())), 1);
        const pugi::xml_node tab = tabs.child("w:tab");
        QCOMPARE(QString::fromUtf8(tab.attribute("w:val").value()), u"right"_s);
        QCOMPARE(QString::fromUtf8(tab.attribute("w:leader").value()), u"dot"_s);
        QCOMPARE(tab.attribute("w:pos").as_int(), 11906 - 1701 - 850);
    }
    QCOMPARE(lines, int(paragraphs.size()));
}

// ---- the commands of the main window

void TestDocuments::commandWritesNumberedFilesAndOpensThem() {
    ravnobor::test::TestProgram t;
    const QString casePath = t.path(u"case.rvb"_s);
    ravnobor::test::makeCase(casePath,
                             {{u"Дом"_s, 1500.0, 1400.0, QVariant(), 0, 0}, {u"Сад"_s, QVariant(), 2.5, 3.125, 0, 0}});
    Program& program = t.start({casePath});
    QAction* action = documentAction(program, "Doc_im");
    QVERIFY(action);
    action->trigger();
    action->trigger();
    QCOMPARE(t.dialogs.shown.size(), 0);
    const QString folder = program.state.documentsFolder;
    const QString first = folder + u"/case — Общий список имущества.docx"_s;
    const QString second = folder + u"/case — Общий список имущества (2).docx"_s;
    QCOMPARE(t.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));
    const DocxReader reader = DocxReader::fromFile(second);
    QCOMPARE(reader.rows()[1], strings({"1", "Дом", "1500", "1400", "", "", ""}));
    QCOMPARE(reader.rows()[2], strings({"2", "Сад", "", "2,5", "3,125", "", ""}));
    QVERIFY(reader.text().contains(u"по согласованным ценам: 3,13 руб."_s));
    QVERIFY(!program.dataModule().ADODataSet1().isOpen());
}

void TestDocuments::reportCommandPrintsTheMainWindowsState() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    program.formMain().Label3->setText(u"  Вариант раздела: тест"_s);
    program.state.party1Name = u"Первая"_s;
    program.state.party2Name = u"Вторая"_s;
    program.state.currencySuffix = u"ЕВРО"_s;
    program.state.share1Total = money("10.5");
    program.state.share2Total = money("4");
    program.state.undistributedTotal = money("1");
    QAction* action = documentAction(program, "ToolButton14");
    QVERIFY(action);
    action->trigger();
    QCOMPARE(t.dialogs.shown.size(), 0);
    const QString path = program.state.documentsFolder + u"/Вариант раздела имущества.docx"_s;
    QCOMPARE(t.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(path)}));
    const DocxReader reader = DocxReader::fromFile(path);
    QCOMPARE(reader.paragraphs().mid(1, 3),
             QStringList({u"  Вариант раздела: тест"_s, u"Сторона 1: Первая"_s, u"Сторона 2: Вторая"_s}));
    QCOMPARE(afterTable(reader),
             reportTotals(u"\"Первая\""_s, u"\"Вторая\""_s, u"10,50 ЕВРО"_s, u"4,00 ЕВРО"_s, u"1,00 ЕВРО"_s,
                          u"6,50 ЕВРО"_s, u"\"Первая\""_s, u"\"Вторая\""_s, u"3,25 ЕВРО"_s));
    const auto rows = reader.rows();
    QCOMPARE(rows.back().mid(1, 2), strings({"ИТОГО", "10,50 ЕВРО"}));
    // The rows above the totals are the board's lists as the board gives them.
    const auto left = program.formMain().boardItems(layout::ToParty1);
    const auto right = program.formMain().boardItems(layout::ToParty2);
    QCOMPARE(int(rows.size()), 2 + int(std::max(left.size(), right.size())) + 1);
}

void TestDocuments::partyListCommandOfEmptyShareOpensEmptyDocument() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    QVERIFY(program.formMain().boardItems(layout::ToParty2).empty());
    QAction* action = documentAction(program, "N22");
    QVERIFY(action);
    action->trigger();
    const QString path = program.state.documentsFolder + u"/Список имущества стороны 2.docx"_s;
    QCOMPARE(t.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(path)}));
    QCOMPARE(DocxReader::fromFile(path).paragraphs(),
             strings({"Имущество, передаваемое стороне  . .", "Итого: 0,00 руб."}));
    QVERIFY(documentAction(program, "N11"));
}

void TestDocuments::reportAndPartyListsPrintTheBoard() {
    ravnobor::test::TestProgram t;
    const QString casePath = t.path(u"case.rvb"_s);
    ravnobor::test::makeCase(casePath, {{u"Дом"_s, 1500.0, 1.0, QVariant(), 1, 0},
                                        {u"Пруд"_s, 10.0, 1.0, QVariant(), 0, 0},
                                        {u"Лес"_s, 700.0, 1.0, QVariant(), -1, 0},
                                        {u"Сад"_s, 2.5, 1.0, QVariant(), 1, 0}});
    Program& program = t.start({casePath});
    const auto left = program.formMain().boardItems(layout::ToParty1);
    const auto right = program.formMain().boardItems(layout::ToParty2);
    QCOMPARE(int(left.size()), 2);
    QCOMPARE(int(right.size()), 1);
    documentAction(program, "ToolButton14")->trigger();
    documentAction(program, "N11")->trigger();
    QCOMPARE(t.dialogs.shown.size(), 0);
    const QString folder = program.state.documentsFolder;
    const auto rows = DocxReader::fromFile(folder + u"/case — Вариант раздела имущества.docx"_s).rows();
    QCOMPARE(int(rows.size()), 2 + 2 + 1);
    QCOMPARE(rows[2],
             QStringList({u"1"_s, left[0].name, left[0].price, QString(), u"1"_s, right[0].name, right[0].price}));
    QCOMPARE(rows[3], QStringList({u"2"_s, left[1].name, left[1].price, QString(), QString(), QString(), QString()}));
    const QString suffix = program.state.currencySuffix;
    QCOMPARE(rows[4], QStringList({QString(), u"ИТОГО"_s, program.state.share1Total.toAmountText(suffix), QString(),
                                   QString(), u"ИТОГО"_s, program.state.share2Total.toAmountText(suffix)}));
    QCOMPARE(program.state.share1Total, money("1502.5"));
    const QStringList party1 = DocxReader::fromFile(folder + u"/case — Список имущества стороны 1.docx"_s).paragraphs();
    QCOMPARE(party1, QStringList({u"Имущество, передаваемое стороне "_s + program.state.party1Name,
                                  left[0].name + u'\t' + left[0].price + u' ' + suffix,
                                  left[1].name + u'\t' + left[1].price + u' ' + suffix,
                                  u"Итого: "_s + program.state.share1Total.toAmountText(suffix)}));
}

void TestDocuments::missingTemplateEndsCommandWithMessage() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    const QString templatePath = t.appDir() + u"/Отчет.dotx"_s;
    QVERIFY(QFile::remove(templatePath));
    const QStringList before = QDir(program.state.documentsFolder).entryList(QDir::Files | QDir::Hidden);
    documentAction(program, "ToolButton14")->trigger();
    QCOMPARE(t.dialogs.shown.size(), 1);
    QCOMPARE(t.dialogs.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(t.dialogs.shown[0].text, u"Не найден шаблон документа «%1»."_s.arg(templatePath));
    QVERIFY(t.desktop.opened.isEmpty());
    QCOMPARE(QDir(program.state.documentsFolder).entryList(QDir::Files | QDir::Hidden), before);
}

void TestDocuments::desktopThatCannotOpenNamesTheFile() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    t.desktop.result = false;
    documentAction(program, "N11")->trigger();
    const QString path = program.state.documentsFolder + u"/Список имущества стороны 1.docx"_s;
    QCOMPARE(t.dialogs.shown.size(), 1);
    QCOMPARE(
        t.dialogs.shown[0].text,
        u"Документ сохранён в файле «%1», но открыть его не удалось. Откройте этот файл в текстовом редакторе."_s.arg(
            path));
    QVERIFY(QFile::exists(path)); // kept for the user
}

void TestDocuments::documentFileTakesCaseNameAndOrdinaryMode() {
    QCOMPARE(documentFileName(u"/дела/Иванов.rvb"_s, GeneralListName), u"Иванов — Общий список имущества"_s);
    QCOMPARE(documentFileName(u"/дела/Иванов.копия.rvb"_s, GeneralListName),
             u"Иванов.копия — Общий список имущества"_s);
    QCOMPARE(documentFileName(QString(), GeneralListName), GeneralListName);
    const mode_t previous = ::umask(022);
    ravnobor::test::TestProgram t;
    const QString casePath = t.path(u"Иванов.rvb"_s);
    ravnobor::test::makeCase(casePath, {{u"Дом"_s, 1500.0, 1400.0, QVariant(), 1, 0}});
    Program& program = t.start({casePath});
    documentAction(program, "Doc_im")->trigger();
    documentAction(program, "N11")->trigger();
    ::umask(previous);
    QCOMPARE(t.dialogs.shown.size(), 0);
    const QString folder = program.state.documentsFolder;
    const QStringList paths{folder + u"/Иванов — Общий список имущества.docx"_s,
                            folder + u"/Иванов — Список имущества стороны 1.docx"_s};
    QCOMPARE(t.desktop.opened, QList<QUrl>({QUrl::fromLocalFile(paths[0]), QUrl::fromLocalFile(paths[1])}));
    for (const QString& path : paths) {
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, mode_t(0644));
    }
}

void TestDocuments::reportNameEndingInInitialHasOneFullStop() {
    DivisionReportData data = reportData({}, {}, {}, {});
    data.party1Name = u"Иванов С. П."_s;
    const QStringList p = report(data).paragraphs();
    QCOMPARE(p.mid(2, 2), QStringList({u"Сторона 1: Иванов С. П."_s, u"Сторона 2: Петрова А.С."_s}));
}

namespace {

// The document as LibreOffice reads it, converted to plain text; empty when it could not.
QString wordProcessorText(const QString& soffice, const QByteArray& docx) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"document.docx"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(docx) != docx.size())
        return {};
    file.close();
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(soffice, {u"-env:UserInstallation=file://"_s + dir.filePath(u"profile"_s), u"--headless"_s,
                            u"--convert-to"_s, u"txt:Text (encoded):UTF8"_s, u"--outdir"_s, dir.path(), path});
    if (!process.waitForFinished(180000))
        return {};
    return QString::fromUtf8(ravnobor::test::fileBytes(dir.filePath(u"document.txt"_s)));
}

} // namespace

void TestDocuments::reportShowsTheBalanceAsAPicture() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    program.state.share1Total = money("100");
    program.state.share2Total = money("300");
    documentAction(program, "ToolButton14")->trigger();
    QCOMPARE(t.dialogs.shown.size(), 0);
    const DocxReader reader =
        DocxReader::fromFile(program.state.documentsFolder + u"/Вариант раздела имущества.docx"_s);
    // Under the payment sentence, a paragraph holding the picture, and nothing else of it in the text.
    const QStringList paragraphs = reader.paragraphs();
    const int payment = int(paragraphs.indexOf(QRegularExpression(u"^Для уравнивания долей.*"_s)));
    QVERIFY(payment > 0);
    QCOMPARE(paragraphs.value(payment + 1), u"Сумма компенсации прописью: сто рублей 00 копеек."_s);
    QCOMPARE(paragraphs.value(payment + 2), QString());
    QVERIFY(reader.xml().contains("<wp:extent cx=\"5715000\" cy=\"857250\"/>"));
    QVERIFY(reader.xml().contains("<a:blip r:embed=\"rIdImage1\"/>"));
    QVERIFY(
        reader.part("word/_rels/document.xml.rels")
            .contains(
                "Id=\"rIdImage1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                "Target=\"media/image1.png\""));
    QVERIFY(reader.part("[Content_Types].xml").contains("<Default Extension=\"png\" ContentType=\"image/png\"/>"));
    // Twice the pixels of its size on paper, so it stays sharp when printed; the bar's colours in it.
    const QImage picture = QImage::fromData(reader.part("word/media/image1.png"), "PNG");
    QCOMPARE(picture.size(), QSize(2 * ReportChartWidth, 2 * ReportChartHeight));
    QVERIFY(picture.pixelColor(picture.width() / 10, picture.height() / 2) == QColor(167, 191, 237) ||
            picture.pixelColor(picture.width() / 10, picture.height() / 2 - 4) == QColor(167, 191, 237));
}

void TestDocuments::descriptionUnderTheTitle() {
    const QString description = u"Раздел совместно нажитого имущества супругов Ивановых"_s;
    DivisionReportData data = reportData({{u"Дом"_s, u"10"_s}}, {}, money("10"), {});
    data.description = description;
    const DocxReader withReport = report(data);
    QCOMPARE(withReport.paragraphs().mid(0, 5),
             QStringList({u"Вариант раздела имущества"_s, description, data.variantLine, u"Сторона 1: Иванов И.И."_s,
                          u"Сторона 2: Петрова А.С."_s}));
    QCOMPARE(withReport.rows()[2].mid(0, 3), strings({"1", "Дом", "10"}));

    GeneralListData list = listData({{u"Дом"_s, 1500.0, QVariant(), QVariant(), QVariant(), QVariant()}});
    list.description = description;
    const DocxReader withList = generalList(list);
    QCOMPARE(withList.paragraphs().mid(0, 3),
             QStringList({u"Общий список имущества"_s,
                          u"подлежащего разделу между сторонами \"Иванов И.И.\" и \"Петрова А.С.\""_s, description}));
    QCOMPARE(withList.rows()[1].mid(0, 3), strings({"1", "Дом", "1500"}));

    // No description, no line: the title is followed as before.
    data.description.clear();
    QCOMPARE(report(data).paragraphs().value(1), data.variantLine);
}

void TestDocuments::refusedWriteNamesTheSystemsCause() {
    ravnobor::test::TestProgram t;
    Program& program = t.start();
    const QString folder = program.state.documentsFolder;
    // A file size limit stands in for a full disk: the write is refused halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    documentAction(program, "N11")->trigger();
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(t.dialogs.shown.size(), 1);
    QCOMPARE(t.dialogs.shown[0].text, u"Не удалось записать документ «Список имущества стороны 1» в папку «%1»: файл "
                                      u"превышает допустимый размер."_s.arg(folder));
    QVERIFY(t.desktop.opened.isEmpty());
    QCOMPARE(QDir(folder).entryList({u"*Список*"_s}, QDir::Files | QDir::Hidden), QStringList());
}

void TestDocuments::wordProcessorReadsEveryDocument_data() {
    QTest::addColumn<QByteArray>("docx");
    QTest::addColumn<QStringList>("lines"); // each found whole in the converted text
    const QLocale ru(u"ru_RU"_s);
    {
        WordDocument doc = WordDocument::fromTemplate(reportTemplate());
        fillDivisionReport(doc, reportData({{u"Дом & сад"_s, u"1500"_s}}, {}, money("1500"), {}), ru);
        QTest::newRow("report") << doc.toDocx()
                                << strings({"Сторона 1: Иванов И.И.", "Дом & сад", "ИТОГО",
                                            "Для уравнивания долей сторона \"Иванов И.И.\" выплачивает стороне "
                                            "\"Петрова А.С.\" денежную компенсацию в размере 750,00 руб."});
    }
    {
        WordDocument doc = WordDocument::fromTemplate(listTemplate());
        fillGeneralList(doc, listData({{u"Дом"_s, 1500.0, 1400.0, QVariant(), u"Эксперт"_s, QVariant()}}), ru);
        QTest::newRow("general list") << doc.toDocx() << strings({"Дом", "1500", "1400", "Эксперт"});
    }
    {
        WordDocument doc = WordDocument::blank();
        fillPartyList(
            doc,
            {u"Иванов С. П."_s, u"руб."_s, {{u"Вклад в банке, счёт № 4081"_s, u"612350,75"_s}}, money("612350.75")},
            ru);
        QTest::newRow("party list") << doc.toDocx()
                                    << strings({"Имущество, передаваемое стороне Иванов С. П.",
                                                "Вклад в банке, счёт № 4081\t612350,75 руб.", "Итого: 612350,75 руб."});
    }
}

void TestDocuments::wordProcessorReadsEveryDocument() {
    QFETCH(QByteArray, docx);
    QFETCH(QStringList, lines);
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_s);
    if (soffice.isEmpty()) {
        if (qEnvironmentVariable("CI") == u"true"_s)
            QFAIL("LibreOffice (soffice) is missing: ./test.sh installs it");
        QSKIP("LibreOffice (soffice) is not installed");
    }
    const QString text = wordProcessorText(soffice, docx);
    for (const QString& line : lines)
        QVERIFY2(text.contains(line), qPrintable(line + u"\n---\n"_s + text));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
