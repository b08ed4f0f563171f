// The export of the property list and its division, read back by the program's own
// reader, by a plain reading of the file's XML, and by the import.
#include "support/Strings.h"
#include "support/TestProgram.h"

#include "sheets/DivisionExport.h"
#include "sheets/ImportPlan.h"
#include "sheets/SpreadsheetFile.h"
#include "shell/TFormMain.h"
#include "store/Error.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

#include <pugixml.hpp>
#include <zip.h>

using namespace ravnobor;
using namespace ravnobor::test;

namespace {

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

const QVariant Null;

// A zip entry's bytes, read without the program's reader.
QByteArray zipEntry(const QString& path, const char* name) {
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return {};
    zip_stat_t stat;
    QByteArray data;
    if (zip_stat(archive, name, 0, &stat) == 0) {
        zip_file_t* file = zip_fopen(archive, name, 0);
        data.resize(qsizetype(stat.size));
        zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
    }
    zip_discard(archive);
    return data;
}

// (cell reference → (formula, value text)) of one sheet part, read as plain XML.
std::map<QString, std::pair<QString, QString>> rawCells(const QString& path, const char* part) {
    const QByteArray xml = zipEntry(path, part);
    pugi::xml_document doc;
    doc.load_buffer(xml.constData(), size_t(xml.size()));
    std::map<QString, std::pair<QString, QString>> cells;
    for (const pugi::xml_node row : doc.child("worksheet").child("sheetData").children("row"))
        for (const pugi::xml_node c : row.children("c"))
            cells[QString::fromUtf8(c.attribute("r").value())] = {QString::fromUtf8(c.child_value("f")),
                                                                  QString::fromUtf8(c.child_value("v"))};
    return cells;
}

struct ExportFixture {
    ExportFixture() {
        const QString path = tp.path(QStringLiteral("Раздел.rvb"));
        makeCase(path, {{u8("Дом"), 1250000.5, 1300000.0, Null, 1, -1},
                        {u8("Машина; \"новая\""), 0.1, 0.2, 0.15, -1, 0},
                        {u8("Гараж"), Null, 300.0, Null, 0, 1}});
        program = &tp.start({path});
    }
    sheets::ExportCase exportCase() {
        sheets::ExportCase data;
        data.items = sheets::readExportItems(program->dataModule().connection());
        std::copy(program->state.headings.begin(), program->state.headings.end(), data.headings.begin());
        data.party1 = program->state.party1Name;
        data.party2 = program->state.party2Name;
        data.currencySuffix = program->state.currencySuffix;
        return data;
    }
    TestProgram tp;
    Program* program = nullptr;
};

} // namespace

class TestSheetsExport : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void xlsxThroughTheMenu();
    void xlsxReadBack();
    void csvText_data();
    void csvText();
    void roundTrip();
    void emptyCase();
    void splitItem();
    void fullDiskNamesTheCause_data();
    void fullDiskNamesTheCause();
};

void TestSheetsExport::xlsxThroughTheMenu() {
    ExportFixture f;
    const QString target = f.tp.path(QStringLiteral("вывод.xlsx"));
    f.tp.dialogs.nextFileNames.push_back(target);
    f.program->formMain().action(QStringLiteral("File_Export"))->trigger();
    QCOMPARE(f.tp.dialogs.shown.size(), 0);
    QCOMPARE(f.tp.dialogs.fileRequests.size(), 1);
    QCOMPARE(f.tp.dialogs.fileRequests[0].filters, strings({"Книга Excel (*.xlsx)", "Текст CSV (*.csv)"}));
    QCOMPARE(QFileInfo(f.tp.dialogs.fileRequests[0].fileName).fileName(), u8("Раздел.xlsx"));
    const sheets::Workbook book = sheets::readSpreadsheet(target);
    QCOMPARE(book.sheets.size(), size_t(2));
    QCOMPARE(book.sheets[0].rows.size(), size_t(5));
    // A CSV chosen by its name.
    const QString csv = f.tp.path(QStringLiteral("вывод.csv"));
    f.tp.dialogs.nextFileNames.push_back(csv);
    f.program->formMain().action(QStringLiteral("File_Export"))->trigger();
    QVERIFY(QFile(csv).size() > 0);
    QCOMPARE(QFile::permissions(target), QFile::permissions(csv)); // not the private temporary's
    QVERIFY(QDir(f.tp.path(QString())).entryList({QStringLiteral("*.xlsx.*")}).isEmpty()); // no temporary left
}

void TestSheetsExport::xlsxReadBack() {
    ExportFixture f;
    const QString target = f.tp.path(QStringLiteral("вывод.xlsx"));
    sheets::exportXlsx(f.exportCase(), target);
    const QString p1 = f.program->state.party1Name;
    const QString p2 = f.program->state.party2Name;

    const sheets::Workbook book = sheets::readSpreadsheet(target);
    QCOMPARE(book.sheets[0].name, u8("Имущество"));
    QCOMPARE(book.sheets[1].name, u8("Итоги"));
    const std::vector<QStringList>& rows = book.sheets[0].rows;
    QCOMPARE(rows[0], strings({"№", "Наименование", "Цена 1 стороны", "Цена 2 стороны", "Цена Согласованная", "Оценка",
                               "Заметки", "Вариант 1", "Вариант 2"}));
    QCOMPARE(rows[1], (QStringList{u8("1"), u8("Дом"), u8("1250000.5"), u8("1300000"), QString(), QString(), QString(),
                                   p1, p2}));
    QCOMPARE(rows[2], (QStringList{u8("2"), u8("Машина; \"новая\""), u8("0.1"), u8("0.2"), u8("0.15"), QString(),
                                   QString(), p2, u8("не распределено")}));
    QCOMPARE(rows[4], strings({"Итого", "", "1250000.6", "1300300.2", "0.15"}));

    const auto cells = rawCells(target, "xl/worksheets/sheet1.xml");
    QCOMPARE(cells.at(u8("C2")).second, u8("1250000.5"));
    QCOMPARE(cells.at(u8("C5")), (std::pair{u8("SUM(C2:C4)"), u8("1250000.6")}));
    QCOMPARE(cells.at(u8("D5")), (std::pair{u8("SUM(D2:D4)"), u8("1300300.2")}));
    QVERIFY(zipEntry(target, "xl/styles.xml").contains("formatCode=\"#,##0.00\""));

    // "Итоги": variant 1 priced by party 1: Дом to party 1, Машина to party 2, Гараж undistributed.
    const std::vector<QStringList>& totals = book.sheets[1].rows;
    QCOMPARE(totals.size(), size_t(7));
    QCOMPARE(totals[0].mid(0, 5),
             strings({"Вариант раздела", "Цена", "Всего имущества", "Распределено", "Не распределено"}));
    QCOMPARE(totals[1], (QStringList{p1, p1, u8("1250000.6"), u8("1250000.6"), u8("0"), u8("1250000.5"), u8("0.1"),
                                     u8("625000,30 руб."), u8("Вычесть до равенства  625000,20 руб."),
                                     u8("Доплатить до равенства  625000,20 руб.")}));
    // Variant 2 priced by agreement: only Машина has an agreed price, and it is undistributed there.
    QCOMPARE(totals[6].mid(0, 7),
             (QStringList{p2, u8("Согласованная"), u8("0.15"), u8("0"), u8("0.15"), u8("0"), u8("0")}));
}

void TestSheetsExport::csvText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("comma") << u8("ru_RU")
                           << u8("№;Наименование;Цена 1 стороны;Цена 2 стороны;Цена Согласованная;Оценка;Заметки;"
                                 "Вариант 1;Вариант 2\r\n"
                                 "1;Дом;1250000,5;1300000;;;;P1;P2\r\n"
                                 "2;\"Машина; \"\"новая\"\"\";0,1;0,2;0,15;;;P2;не распределено\r\n"
                                 "3;Гараж;;300;;;;не распределено;P1\r\n"
                                 "Итого;;1250000,6;1300300,2;0,15\r\n");
    QTest::newRow("point") << u8("en_US")
                           << u8("№,Наименование,Цена 1 стороны,Цена 2 стороны,Цена Согласованная,Оценка,Заметки,"
                                 "Вариант 1,Вариант 2\r\n"
                                 "1,Дом,1250000.5,1300000,,,,P1,P2\r\n"
                                 "2,\"Машина; \"\"новая\"\"\",0.1,0.2,0.15,,,P2,не распределено\r\n"
                                 "3,Гараж,,300,,,,не распределено,P1\r\n"
                                 "Итого,,1250000.6,1300300.2,0.15\r\n");
}

void TestSheetsExport::csvText() {
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    ExportFixture f;
    sheets::ExportCase data = f.exportCase();
    data.party1 = QStringLiteral("P1");
    data.party2 = QStringLiteral("P2");
    const QByteArray bytes = sheets::csvText(data, QLocale(locale));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), expected);
}

void TestSheetsExport::roundTrip() {
    ExportFixture f;
    const sheets::ExportCase data = f.exportCase();
    for (const char* name : {"back.xlsx", "back.csv"}) {
        const QString target = f.tp.path(QString::fromLatin1(name));
        if (QByteArray(name).endsWith("xlsx"))
            sheets::exportXlsx(data, target);
        else
            sheets::exportCsv(data, target);
        const sheets::Workbook book = sheets::readSpreadsheet(target);
        const sheets::Sheet& sheet = book.sheets[0];
        QVERIFY(sheets::guessHeader(sheet));
        const sheets::ImportMapping mapping = sheets::guessMapping(sheet, true, data.party1, data.party2);
        QCOMPARE(mapping.column, (std::array<int, sheets::FieldCount>{1, 2, 3, 4, 5, 6}));
        const sheets::ImportPlan plan = sheets::planImport(sheet, mapping);
        QCOMPARE(plan.items.size(), data.items.size());
        for (size_t i = 0; i < plan.items.size(); ++i) {
            QCOMPARE(plan.items[i].name, data.items[i].name);
            for (size_t p = 0; p < 3; ++p)
                QCOMPARE(plan.items[i].prices[p], data.items[i].prices[p]);
        }
        QCOMPARE(plan.skipped.size(), size_t(1)); // the totals row
        QCOMPARE(plan.skipped[0].reason, u8("нет наименования"));
    }
}

void TestSheetsExport::emptyCase() {
    TestProgram tp;
    Program& program = tp.start();
    sheets::ExportCase data;
    data.items = sheets::readExportItems(program.dataModule().connection());
    std::copy(program.state.headings.begin(), program.state.headings.end(), data.headings.begin());
    const QString target = tp.path(QStringLiteral("пусто.xlsx"));
    sheets::exportXlsx(data, target);
    const sheets::Workbook book = sheets::readSpreadsheet(target);
    QCOMPARE(book.sheets[0].rows.size(), size_t(2));
    QCOMPARE(book.sheets[0].rows[1], strings({"Итого", "", "0", "0", "0"}));
    QVERIFY(rawCells(target, "xl/worksheets/sheet1.xml").at(u8("C2")).first.isEmpty()); // no formula over no rows
}

void TestSheetsExport::splitItem() {
    ExportFixture f;
    // Дом (1250000,50 on the first basis) split 1/3 in the first variant.
    f.program->dataModule().writer().setItemShare(0, 1, QStringLiteral("1/3"), u8("Дом"));
    const sheets::ExportCase data = f.exportCase();
    QCOMPARE(sheets::receiverText(data, data.items[0], 0), f.program->state.party1Name + QStringLiteral(" (1/3), ") +
                                                               f.program->state.party2Name + QStringLiteral(" (2/3)"));
    const std::vector<sheets::TotalsRow> rows = sheets::totalsRows(data);
    // The first variant on the first price: Дом in exact thirds, 416666,83 and 833333,67 once rounded,
    // and Машина's 0,10 with party 2.
    const std::array<Money, 5>& sums = rows[0].sums;
    QCOMPARE(sums[0].toPlainText(QLocale()), u8("1250000,6"));
    QCOMPARE(sums[2].toPlainText(QLocale()), u8("0"));
    QCOMPARE(sums[3].toPlainText(QLocale()), u8("416666,83"));
    QCOMPARE(sums[4].toPlainText(QLocale()), u8("833333,77"));
}

void TestSheetsExport::fullDiskNamesTheCause_data() {
    QTest::addColumn<QString>("fileName");
    QTest::newRow("xlsx") << QStringLiteral("вывод.xlsx");
    QTest::newRow("csv") << QStringLiteral("вывод.csv");
}

void TestSheetsExport::fullDiskNamesTheCause() {
    QFETCH(QString, fileName);
    ExportFixture f;
    sheets::ExportCase data = f.exportCase();
    for (int i = 0; i < 200; ++i) // enough to pass the limit below
        data.items.push_back(data.items[size_t(i % 3)]);
    const QString target = f.tp.path(fileName);
    // A file size limit stands in for a full disk: the write is refused halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 2000;
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        if (fileName.endsWith(QStringLiteral(".csv")))
            sheets::exportCsv(data, target);
        else
            sheets::exportXlsx(data, target);
    } catch (const ravnobor::Error& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(message, QStringLiteral("Файл «%1» не удалось записать: файл превышает допустимый размер.").arg(target));
    QVERIFY(!QFile::exists(target));
}

QTEST_MAIN(TestSheetsExport)
#include "tst_sheets_export.moc"
