// The case store: the layout the template and the example carry, and the dataset's
// cursor, editing and conversions on a fixture made in code.
#include "store/Database.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/TestProgram.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ravnobor;
using ravnobor::test::ItemRow;
using ravnobor::test::makeCase;

namespace {

QStringList columnNames(store::Database& db, const QString& table) {
    QStringList names;
    store::Statement info = db.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    info.bind(1, table);
    while (info.step())
        names << info.text(0);
    return names;
}

QVariant storedValue(const QString& path, qint64 key, const QString& column) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement select =
        db.prepare(QStringLiteral("SELECT \"%1\" FROM \"Таблица\" WHERE \"Код\" = ?1").arg(column));
    select.bind(1, key);
    return select.step() ? select.value(0) : QVariant(QStringLiteral("нет строки"));
}

} // namespace

class TestStore : public QObject {
    Q_OBJECT
private slots:
    void shippedFilesHaveTheLayout_data();
    void shippedFilesHaveTheLayout();
    void exampleIsABelievableCase();
    void positionsOfPricesAndAllocations();
    void allocationIsReadBySign_data();
    void allocationIsReadBySign();
    void priceTextIsConverted_data();
    void priceTextIsConverted();
    void cursorWalksRowsInTableOrder();
    void editOnEmptyDatasetStartsANewRow();
    void insertPostAndDelete();
    void updateBatchPostsPendingEdit();
    void fieldsByPositionAndName();
    void nameWithQuotesIsJustText();
    void conversionFollowsTheCurrentLocale();

private:
    QTemporaryDir m_dir;
    QString fixture(const QList<ItemRow>& rows, const QString& name = QStringLiteral("fixture.rvb"));
};

QString TestStore::fixture(const QList<ItemRow>& rows, const QString& name) {
    const QString path = m_dir.filePath(name);
    makeCase(path, rows);
    return path;
}

void TestStore::shippedFilesHaveTheLayout_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("template") << "default.mdb";
    QTest::newRow("example") << "Пример.rvb";
}

void TestStore::shippedFilesHaveTheLayout() {
    QFETCH(QString, file);
    store::Database db(test::builtFile(file), store::Database::Mode::ReadOnly);
    const QStringList property = columnNames(db, layout::PropertyTable);
    QCOMPARE(property.size(), int(layout::PropertyColumnCount));
    for (int pos = 0; pos < layout::PropertyColumnCount; ++pos)
        QCOMPARE(property[pos], layout::PropertyColumnNames[size_t(pos)]);
    QCOMPARE(property[layout::ColAlloc1c].back(), QChar(0x0063)); // Latin c
    QCOMPARE(property[layout::ColAlloc2c].back(), QChar(0x0441)); // Cyrillic с
    const QStringList settings = columnNames(db, layout::SettingsTable);
    QVERIFY(settings.size() >= 26);
    for (const QString& named : layout::SettingsNamedColumns)
        QVERIFY2(settings.indexOf(named) > layout::HeadingCount, qPrintable(named));
    store::Statement mode = db.prepare(QStringLiteral("PRAGMA journal_mode"));
    QVERIFY(mode.step());
    QCOMPARE(mode.text(0), QStringLiteral("delete"));
    store::Statement row = db.prepare(QStringLiteral("SELECT * FROM \"Поля\""));
    QVERIFY(row.step());
    for (int i = 0; i < layout::HeadingCount; ++i)
        QCOMPARE(row.text(layout::FirstHeading + i), layout::DesignHeadings[size_t(i)]);
    QVERIFY(!row.step());
}

void TestStore::exampleIsABelievableCase() {
    store::Database db(test::builtFile(QStringLiteral("Пример.rvb")), store::Database::Mode::ReadOnly);
    store::Statement stats = db.prepare(QStringLiteral(
        "SELECT count(*), sum(\"Цена 1\" <> \"Цена 2\"), count(\"Согласованная цена\"), sum(\"1_ц1\" = 1), "
        "sum(\"1_ц1\" = -1), sum(\"2_ц1\" = 1), sum(\"2_ц1\" = -1) FROM \"Таблица\""));
    QVERIFY(stats.step());
    QVERIFY(stats.integer(0) >= 12 && stats.integer(0) <= 20);
    QVERIFY(stats.integer(1) >= 10); // the parties disagree on most prices
    QVERIFY(stats.integer(2) >= 5 && stats.integer(2) < stats.integer(0));
    for (int c = 3; c <= 6; ++c)
        QVERIFY(stats.integer(c) >= 3); // both variants place items with both parties
    store::Statement parties = db.prepare(QStringLiteral(
        "SELECT \"Юр_Л1\", \"Фамилия 1\", \"Имя 1\", \"Отчество 1\", \"Юр_Л2\", \"Фамилия 2\", \"Имя 2\", "
        "\"Отчество 2\", \"Наименование_Полное\" FROM \"Поля\""));
    QVERIFY(parties.step());
    QCOMPARE(parties.integer(0), 0);
    QCOMPARE(parties.integer(4), 0);
    for (int c : {1, 2, 3, 5, 6, 7, 8})
        QVERIFY(!parties.text(c).isEmpty());
}

void TestStore::positionsOfPricesAndAllocations() {
    QCOMPARE(layout::priceColumn(0), 3);
    QCOMPARE(layout::priceColumn(2), 5);
    QCOMPARE(layout::allocationColumn(0), 7);
    QCOMPARE(layout::allocationColumn(1), 10);
    QCOMPARE(layout::PropertyColumnNames[size_t(layout::priceColumn(2))], QStringLiteral("Согласованная цена"));
    QCOMPARE(layout::PropertyColumnNames[size_t(layout::allocationColumn(1))], QStringLiteral("2_ц1"));
}

void TestStore::allocationIsReadBySign_data() {
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<int>("tag");
    QTest::newRow("party 1") << qint64(1) << 1;
    QTest::newRow("five") << qint64(5) << 1;
    QTest::newRow("minus three") << qint64(-3) << -1;
    QTest::newRow("zero") << qint64(0) << 0;
}

void TestStore::allocationIsReadBySign() {
    QFETCH(qint64, stored);
    QFETCH(int, tag);
    QCOMPARE(layout::allocationTag(stored), tag);
}

void TestStore::priceTextIsConverted_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("stored"); // invalid: refused, nothing written
    const QVariant refused;
    const QVariant empty(QMetaType(QMetaType::Nullptr));
    QTest::newRow("ru comma") << "ru_RU"
                              << "12,5" << QVariant(12.5);
    QTest::newRow("ru point read as a comma") << "ru_RU"
                                              << "12.50" << QVariant(12.5);
    QTest::newRow("ru blanks around") << "ru_RU"
                                      << "  7,25\t" << QVariant(7.25);
    QTest::newRow("ru negative") << "ru_RU"
                                 << "-3,5" << QVariant(-3.5);
    QTest::newRow("en point") << "en_US"
                              << "1234.75" << QVariant(1234.75);
    QTest::newRow("de comma") << "de_DE"
                              << "12,5" << QVariant(12.5);
    QTest::newRow("de point is the group separator") << "de_DE"
                                                     << "12.50" << refused;
    QTest::newRow("empty stores nothing") << "ru_RU"
                                          << "" << empty;
    QTest::newRow("only blanks") << "ru_RU"
                                 << "   " << empty;
    QTest::newRow("the limit") << "en_US"
                               << "1000000000000000" << QVariant(1e15);
    QTest::newRow("past the limit") << "en_US"
                                    << "1000000000000001" << refused;
    QTest::newRow("junk") << "ru_RU"
                          << "сто рублей" << refused;
    QTest::newRow("two commas") << "ru_RU"
                                << "1,2,3" << refused;
    QTest::newRow("inf") << "en_US"
                         << "inf" << refused;
    QTest::newRow("nan") << "ru_RU"
                         << "nan" << refused;
    QTest::newRow("1e999") << "en_US"
                           << "1e999" << refused;
    QTest::newRow("1e300") << "ru_RU"
                           << "1e300" << refused;
}

void TestStore::priceTextIsConverted() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QVariant, stored);
    const QString path = fixture({{QStringLiteral("Шкаф"), 100.0, 200.0, QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    list.setLocale(QLocale(locale));
    list.open();
    if (!stored.isValid()) {
        try {
            list.setField(layout::ColPrice2, text);
            QFAIL("the text was accepted");
        } catch (const Error& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("В поле «Цена 2» должно быть число (не больше 10^15 по модулю), а введено «%1»")
                         .arg(text));
        }
        QCOMPARE(list.state(), store::Dataset::State::Browse);
        list.updateBatch();
        QCOMPARE(storedValue(path, 1, QStringLiteral("Цена 2")).toDouble(), 200.0);
        return;
    }
    list.setField(layout::ColPrice2, text);
    list.post();
    const QVariant value = storedValue(path, 1, QStringLiteral("Цена 2"));
    if (stored.typeId() == QMetaType::Nullptr)
        QVERIFY(value.isNull());
    else
        QCOMPARE(value.toDouble(), stored.toDouble());
}

void TestStore::cursorWalksRowsInTableOrder() {
    const QString path = fixture({{QStringLiteral("Б"), 1.0, 1.0, QVariant(), 0, 0},
                                  {QStringLiteral("А"), 2.0, 2.0, QVariant(), 1, 0},
                                  {QStringLiteral("В"), 3.0, 3.0, QVariant(), -1, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    QVERIFY(!list.isOpen());
    list.open();
    QCOMPARE(list.recordCount(), 3);
    QCOMPARE(list.recNo(), 1);
    QStringList names;
    for (list.first(); !list.eof(); list.next())
        names << list.fieldByName(QStringLiteral("Наименование")).toString();
    QCOMPARE(names, (QStringList{QStringLiteral("Б"), QStringLiteral("А"), QStringLiteral("В")}));
    list.last();
    QCOMPARE(list.recNo(), 3);
    list.prior();
    QCOMPARE(list.recNo(), 2);
    QCOMPARE(list.rowOfKey(list.rowKey(2)), 2);
    QCOMPARE(list.rowOfKey(999), -1);
    list.close();
    QVERIFY(!list.isOpen());
}

void TestStore::editOnEmptyDatasetStartsANewRow() {
    const QString path = fixture({});
    store::Database db(path);
    db.execute(QStringLiteral("DELETE FROM \"Поля\""));
    store::Dataset settings(db, layout::SettingsTable);
    settings.open();
    QCOMPARE(settings.recordCount(), 0);
    QCOMPARE(settings.recNo(), -1);
    settings.edit();
    QCOMPARE(settings.state(), store::Dataset::State::Insert);
    QCOMPARE(settings.recNo(), -1);
    settings.setField(layout::FirstHeading, QStringLiteral("Имущество|наименование"));
    settings.post();
    QCOMPARE(settings.recordCount(), 1);
    QCOMPARE(settings.recNo(), 1);
    settings.close();
    settings.open();
    QCOMPARE(settings.field(layout::FirstHeading).toString(), QStringLiteral("Имущество|наименование"));
}

void TestStore::insertPostAndDelete() {
    const QString path = fixture({{QStringLiteral("Стол"), 10.0, 20.0, QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    int posts = 0;
    int deletes = 0;
    list.setAfterPost([&] { ++posts; });
    list.setAfterDelete([&] { ++deletes; });
    list.open();
    list.insert();
    QCOMPARE(list.recNo(), -1);
    list.setFieldByName(QStringLiteral("Наименование"), QStringLiteral("Стул"));
    list.setField(layout::ColAlloc1, QStringLiteral("-1"));
    list.setField(layout::ColAlloc2, true);
    list.post();
    QCOMPARE(posts, 1);
    QCOMPARE(list.recordCount(), 2);
    QCOMPARE(list.recNo(), 2);
    const qint64 key = list.field(layout::ColKey).toLongLong();
    QCOMPARE(storedValue(path, key, QStringLiteral("1_ц1")), QVariant(qint64(-1)));
    QCOMPARE(storedValue(path, key, QStringLiteral("2_ц1")), QVariant(qint64(1)));
    QVERIFY(storedValue(path, key, QStringLiteral("Цена 1")).isNull());
    try {
        list.setField(layout::ColAlloc1, QStringLiteral("налево"));
        QFAIL("accepted");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("В поле «1_ц1» должно быть целое число, а введено «налево»"));
    }
    list.first();
    list.remove();
    QCOMPARE(deletes, 1);
    QCOMPARE(list.recordCount(), 1);
    QCOMPARE(list.fieldByName(QStringLiteral("Наименование")).toString(), QStringLiteral("Стул"));
    list.remove();
    QCOMPARE(list.recNo(), -1);
    QVERIFY(list.eof());
    store::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"Таблица\""));
    QVERIFY(count.step());
    QCOMPARE(count.integer(0), 0);
}

void TestStore::updateBatchPostsPendingEdit() {
    const QString path = fixture({{QStringLiteral("Стол"), 10.0, 20.0, QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    list.open();
    list.edit();
    list.setFieldByName(QStringLiteral("Заметки"), QStringLiteral("дубовый"));
    QCOMPARE(storedValue(path, 1, QStringLiteral("Заметки")), QVariant());
    list.updateBatch();
    QCOMPARE(list.state(), store::Dataset::State::Browse);
    QCOMPARE(storedValue(path, 1, QStringLiteral("Заметки")), QVariant(QStringLiteral("дубовый")));
    list.edit();
    list.setFieldByName(QStringLiteral("Заметки"), QStringLiteral("сосновый"));
    list.cancel();
    QCOMPARE(list.fieldByName(QStringLiteral("Заметки")).toString(), QStringLiteral("дубовый"));
}

void TestStore::fieldsByPositionAndName() {
    const QString path = fixture({{QStringLiteral("Стол"), 10.5, 20.0, 15.0, 1, -1}});
    store::TDataModule1 data;
    data.connectTo(path);
    store::Dataset& list = data.ADODataSet1();
    list.open();
    QCOMPARE(list.columnCount(), int(layout::PropertyColumnCount));
    QCOMPARE(list.field(layout::ColPrice1).toDouble(), 10.5);
    QCOMPARE(list.fieldByName(QStringLiteral("Согласованная цена")).toDouble(), 15.0);
    QCOMPARE(list.field(layout::allocationColumn(1)).toLongLong(), -1);
    QCOMPARE(list.columnName(layout::ColValuation), QStringLiteral("Оценка"));
    try {
        list.fieldByName(QStringLiteral("Цена 3"));
        QFAIL("a missing column was found");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("В таблице «Таблица» нет поля «Цена 3»"));
    }
    try {
        list.field(13);
        QFAIL("a position beyond the last column was read");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("В таблице «Таблица» нет поля с номером 13"));
    }
    QCOMPARE(data.propertyRowCount(), 1);
    data.disconnect();
    QVERIFY(!list.isOpen());
    QCOMPARE(data.propertyRowCount(), 0);
}

void TestStore::nameWithQuotesIsJustText() {
    const QString name = QStringLiteral("Телевизор 55\" \"); DROP TABLE \"Таблица\"; --");
    const QString path = fixture({{name, 1.0, 1.0, QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    list.open();
    list.setFieldByName(QStringLiteral("Заметки"), name);
    list.post();
    list.close();
    list.open();
    QCOMPARE(list.fieldByName(QStringLiteral("Наименование")).toString(), name);
    QCOMPARE(list.fieldByName(QStringLiteral("Заметки")).toString(), name);
}

void TestStore::conversionFollowsTheCurrentLocale() {
    const QString path = fixture({{QStringLiteral("Шкаф"), 1.0, 1.0, QVariant(), 0, 0}});
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    list.open();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    list.setField(layout::ColPrice1, QStringLiteral("1234,5"));
    list.post();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    list.setField(layout::ColPrice2, QStringLiteral("99.75"));
    list.post();
    QLocale::setDefault(QLocale::c());
    QCOMPARE(storedValue(path, 1, QStringLiteral("Цена 1")).toDouble(), 1234.5);
    QCOMPARE(storedValue(path, 1, QStringLiteral("Цена 2")).toDouble(), 99.75);
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
