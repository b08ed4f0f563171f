// The spreadsheet readers and the import's rules, without windows.
#include "sheets/DelimitedText.h"
#include "sheets/ImportNumber.h"
#include "sheets/ImportPlan.h"
#include "sheets/SpreadsheetFile.h"
#include "sheets/TextDecoding.h"
#include "store/Error.h"
#include "support/Strings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <zip.h>

using namespace ravnobor;
using namespace ravnobor::sheets;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(RAVNOBOR_SOURCE_DIR "/tests/data/") + QString::fromLatin1(name);
}

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// A zip archive made in code from (name, bytes) entries.
void writeZip(const QString& path, const std::vector<std::pair<std::string, QByteArray>>& entries) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    QVERIFY(archive);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        QVERIFY(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE) >= 0);
    }
    QCOMPARE(zip_close(archive), 0);
}

const QByteArray WorkbookXml = "<workbook xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main' "
                               "xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'>"
                               "<sheets><sheet name='A' sheetId='1' r:id='rId1'/></sheets></workbook>";
const QByteArray RelsXml = "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
                           "<Relationship Id='rId1' Target='worksheets/sheet1.xml'/></Relationships>";

QString readError(const QString& path) {
    try {
        readSpreadsheet(path);
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void csvEncodingsAndDelimiters_data();
    void csvEncodingsAndDelimiters();
    void xlsxFromOpenpyxl();
    void xlsxFromXlsxWriter();
    void odsFromOdfpy();
    void hostileFiles_data();
    void hostileFiles();
    void planSkipsRowsWithReasons();
    void headingsGuessTheColumns();
};

void TestSheets::numbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("problem");
    const auto ok = [](const char* name, const char* text, double value) {
        QTest::newRow(name) << u8(text) << QVariant(value) << int(ImportedNumber::None);
    };
    const auto bad = [](const char* name, const char* text, int problem = ImportedNumber::NotNumber) {
        QTest::newRow(name) << u8(text) << QVariant() << problem;
    };
    ok("blanks and comma", "1 250 000,50", 1250000.5);
    ok("no-break spaces", "1\u00A0250\u00A0000,50", 1250000.5);
    ok("narrow no-break spaces", "1\u202F250\u202F000,50", 1250000.5);
    ok("apostrophes", "1'250'000.50", 1250000.5);
    ok("commas then point", "1,250,000.50", 1250000.5);
    ok("points then comma", "1.250.000,50", 1250000.5);
    ok("point", "0.1", 0.1);
    ok("comma", "12,5", 12.5);
    ok("roubles", "1 500 руб.", 1500);
    ok("r.", "1500 р.", 1500);
    ok("rouble sign", "₽ 1500", 1500);
    ok("dollar", "$1,250.75", 1250.75);
    ok("euro", "99,90 €", 99.9);
    ok("hryvnia", "200 грн.", 200);
    ok("minus", "-300", -300);
    ok("minus sign", "\u2212300", -300);
    ok("parentheses", "(1 500,25)", -1500.25);
    ok("bound", "1000000000000000", 1e15);
    ok("spreadsheet number", "1250000.5", 1250000.5);
    QTest::newRow("empty") << QString() << QVariant() << int(ImportedNumber::None);
    QTest::newRow("blank") << u8("  ") << QVariant() << int(ImportedNumber::None);
    bad("thousands word", "12 тыс.");
    bad("two commas", "1,250,000");
    bad("bad grouping", "1,25,000.5");
    bad("date", "01.02.2020");
    bad("letters", "abc");
    bad("stray blank", "12 5,0 0");
    bad("past the bound", "1000000000000001", ImportedNumber::OutOfRange);
}

void TestSheets::numbers() {
    QFETCH(QString, text);
    QFETCH(QVariant, value);
    QFETCH(int, problem);
    const ImportedNumber number = importNumber(text);
    QCOMPARE(int(number.problem), problem);
    QCOMPARE(number.value, value);
}

void TestSheets::csvEncodingsAndDelimiters_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray body =
        "Наименование;Цена 1\r\n\"Дом; с садом\";\"1 250 000,50\"\r\n\"Гараж\n\"\"большой\"\"\";7\r\n";
    QTest::newRow("utf-8") << body;
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF" + body);
    QByteArray cp1251;
    for (const QChar c : QString::fromUtf8(body))
        cp1251 +=
            c.unicode() < 0x80 ? char(c.unicode()) : char(c.unicode() == 0x401 ? 0xA8 : 0xC0 + (c.unicode() - 0x410));
    QTest::newRow("windows-1251") << cp1251;
    QByteArray comma = body;
    comma.replace(';', ',');
    QTest::newRow("comma") << comma;
    QByteArray tab = body;
    tab.replace(';', '\t');
    QTest::newRow("tab") << tab;
}

void TestSheets::csvEncodingsAndDelimiters() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("список.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    const Workbook book = readSpreadsheet(path);
    QCOMPARE(book.sheets.size(), size_t(1));
    const std::vector<QStringList>& rows = book.sheets[0].rows;
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows[0], test::strings({"Наименование", "Цена 1"}));
    QString expected = u8("Дом; с садом");
    if (bytes.contains(",\"1 250"))
        expected.replace(u';', u',');
    if (bytes.contains("\t\"1 250"))
        expected.replace(u';', u'\t');
    QCOMPARE(rows[1], QStringList({expected, u8("1 250 000,50")}));
    QCOMPARE(rows[2], test::strings({"Гараж\n\"большой\"", "7"}));
}

void TestSheets::xlsxFromOpenpyxl() {
    const Workbook book = readSpreadsheet(fixture("sheets-openpyxl.xlsx"));
    QCOMPARE(book.sheets.size(), size_t(2));
    QCOMPARE(book.sheets[0].name, u8("Имущество"));
    QCOMPARE(book.sheets[1].name, u8("Мебель"));
    const std::vector<QStringList>& rows = book.sheets[0].rows;
    QCOMPARE(rows.size(), size_t(7));
    QCOMPARE(rows[1], test::strings({"Квартира", "1250000.5", "1300000", "", "Отчёт №5", "ипотека"}));
    QCOMPARE(rows[2], QStringList()); // the empty row
    QCOMPARE(rows[3], test::strings({"Автомобиль", "450000", "12 тыс."}));
    QCOMPARE(rows[4], test::strings({"Гараж", "", "100"})); // merged A5:B5: the value stands in A5
    // A formula without a cached value is empty; a date is its text.
    QCOMPARE(rows[6], test::strings({"Дача", "", "0.1", "", "", "01.02.2020"}));
    QCOMPARE(book.sheets[1].rows[2], test::strings({"Стул", "1 250,50"}));
}

void TestSheets::xlsxFromXlsxWriter() {
    const Workbook book = readSpreadsheet(fixture("sheets-xlsxwriter.xlsx"));
    QCOMPARE(book.sheets.size(), size_t(1));
    const std::vector<QStringList>& rows = book.sheets[0].rows;
    QCOMPARE(rows.size(), size_t(4));
    QCOMPARE(rows[0], test::strings({"Название", "Цена 1", "Заметки"}));
    QCOMPARE(rows[1], test::strings({"Телевизор", "0.1", "<Сторона 1> \"кавычки\" 😀"}));
    QCOMPARE(rows[2], test::strings({"Холодильник", "0.3"})); // the cached formula value
    QCOMPARE(rows[3], test::strings({"Телевизор", "-1234567.89"}));
}

void TestSheets::odsFromOdfpy() {
    const Workbook book = readSpreadsheet(fixture("sheets-odfpy.ods"));
    QCOMPARE(book.sheets.size(), size_t(2));
    QCOMPARE(book.sheets[0].name, u8("Опись"));
    const std::vector<QStringList>& rows = book.sheets[0].rows;
    QCOMPARE(rows.size(), size_t(5));
    QCOMPARE(rows[1], test::strings({"Дом", "3000000.25", "2500000", "две строки\nтекста"}));
    QCOMPARE(rows[2], QStringList());
    QCOMPARE(rows[3], QStringList());
    QCOMPARE(rows[4], test::strings({"Лодка", "", "700"})); // covered cell empty, uncached formula empty
    QCOMPARE(book.sheets[1].name, u8("Второй лист"));
    QCOMPARE(book.sheets[1].rows[1], test::strings({"Картина"}));
}

void TestSheets::hostileFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheetXml");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a zip") << u8("a.xlsx") << QString() << u8("это не книга Excel (.xlsx)");
    QTest::newRow("zip named ods") << u8("a.ods") << u8("<worksheet/>") << u8("это не таблица OpenDocument (.ods)");
    QTest::newRow("zip named csv") << u8("a.csv") << u8("<worksheet/>") << u8("это архив, а не текстовая таблица");
    QTest::newRow("zip bomb") << u8("a.xlsx") << u8("bomb") << u8("(возможно, это «zip-бомба»)");
    QTest::newRow("external entity")
        << u8("a.xlsx")
        << u8("<!DOCTYPE w [<!ENTITY e SYSTEM 'file:///etc/passwd'>]><worksheet><sheetData><row r='1'>"
              "<c r='A1' t='inlineStr'><is><t>&e;</t></is></c></row></sheetData></worksheet>")
        << u8("содержит объявление типа документа, которое программа не читает");
    QTest::newRow("bad xml") << u8("a.xlsx") << u8("<worksheet><sheetData><row>") << u8("не правильный XML");
    QTest::newRow("huge dimension")
        << u8("a.xlsx")
        << u8("<worksheet><dimension ref='A1:XFD1048576'/><sheetData><row r='1048576'><c r='XFD1048576'>"
              "<v>1</v></c></row></sheetData></worksheet>")
        << u8("больше 1000000 строк");
    QTest::newRow("huge shared-string count") << u8("a.xlsx") << u8("sst") << u8("слишком много строк");
}

void TestSheets::hostileFiles() {
    QFETCH(QString, name);
    QFETCH(QString, sheetXml);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (sheetXml.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Наименование;Цена\n");
    } else {
        QByteArray sheet = sheetXml.toUtf8();
        std::vector<std::pair<std::string, QByteArray>> entries{{"xl/workbook.xml", WorkbookXml},
                                                                {"xl/_rels/workbook.xml.rels", RelsXml}};
        if (sheetXml == u8("bomb"))
            sheet = "<worksheet>" + QByteArray(20 * 1024 * 1024, ' ') + "</worksheet>";
        if (sheetXml == u8("sst")) {
            sheet =
                "<worksheet><sheetData><row r='1'><c r='A1' t='s'><v>3999999999</v></c></row></sheetData></worksheet>";
            entries.push_back(
                {"xl/sharedStrings.xml", "<sst count='4000000000' uniqueCount='4000000000'><si><t>a</t></si></sst>"});
        }
        entries.push_back({"xl/worksheets/sheet1.xml", sheet});
        writeZip(path, entries);
    }
    QElapsedTimer timer;
    timer.start();
    const QString error = readError(path);
    QVERIFY2(error.startsWith(u8("Файл «") + path + u8("» не удалось прочитать: ")) || error.startsWith(u8("На листе")),
             qPrintable(error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(timer.elapsed() < 5000);
}

void TestSheets::planSkipsRowsWithReasons() {
    Sheet sheet;
    sheet.rows = {test::strings({"Наименование", "Цена 1", "Оценка"}),
                  test::strings({"Дом", "1 250 000,50", "отчёт"}),
                  {},
                  test::strings({"", "5"}),
                  test::strings({"Машина", "12 тыс."}),
                  test::strings({"Лодка", "", ""})};
    ImportMapping mapping;
    mapping.header = true;
    mapping.column[FieldName] = 0;
    mapping.column[FieldPrice1] = 1;
    mapping.column[FieldValuation] = 2;
    const ImportPlan plan = planImport(sheet, mapping);
    QCOMPARE(plan.items.size(), size_t(2));
    QCOMPARE(plan.items[0].name, u8("Дом"));
    QCOMPARE(plan.items[0].prices[0], QVariant(1250000.5));
    QCOMPARE(plan.items[0].valuation, u8("отчёт"));
    QVERIFY(plan.items[1].prices[0].isNull());
    QVERIFY(plan.items[1].valuation.isEmpty());
    QCOMPARE(plan.skipped.size(), size_t(2));
    QCOMPARE(plan.skipped[0].row, 4);
    QCOMPARE(plan.skipped[0].reason, u8("нет наименования"));
    QCOMPARE(plan.skipped[1].row, 5);
    QCOMPARE(plan.skipped[1].reason, u8("в поле «Цена 1» не число: «12 тыс.»"));
}

void TestSheets::headingsGuessTheColumns() {
    Sheet sheet;
    sheet.rows = {
        test::strings({"№", "Имущество", "Иванов", "Цена|2 стороны", "Согласованная", "Примечание", "Оценка"}),
        test::strings({"1", "Дом", "5", "6", "7", "", ""})};
    QVERIFY(guessHeader(sheet));
    const ImportMapping mapping = guessMapping(sheet, true, u8("Иванов"), u8("Петрова"));
    QCOMPARE(mapping.column, (std::array<int, FieldCount>{1, 2, 3, 4, 6, 5}));
    Sheet plain;
    plain.rows = {test::strings({"Дом", "5"}), test::strings({"Сад", "6"})};
    QVERIFY(!guessHeader(plain));
    QCOMPARE(guessMapping(plain, false, {}, {}).column, (std::array<int, FieldCount>{-1, -1, -1, -1, -1, -1}));
}

QTEST_GUILESS_MAIN(TestSheets)
#include "tst_sheets.moc"
