// The grid's columns, heading bands and list model, and the record write, without windows.
#include "editor/GridColumns.h"
#include "editor/ItemRecord.h"
#include "editor/PropertyListModel.h"
#include "store/Database.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "support/TestProgram.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ravnobor;
using namespace ravnobor::editor;
using test::ItemRow;

namespace {

const QVariant None;

// A case file, its connection, the list dataset and the model over them.
struct ListFixture {
    QTemporaryDir dir;
    std::unique_ptr<store::Database> db;
    std::unique_ptr<store::Dataset> list;
    PropertyListModel::Headings headings = layout::DesignHeadings;
    std::unique_ptr<PropertyListModel> model;
    std::unique_ptr<PropertyFooterModel> footer;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<QAbstractItemModelTester> footerTester;
    int posts = 0;
    int deletes = 0;

    explicit ListFixture(const QList<ItemRow>& rows) {
        const QString path = dir.filePath(QStringLiteral("case.rvb"));
        test::makeCase(path, rows);
        db = std::make_unique<store::Database>(path);
        list = std::make_unique<store::Dataset>(*db, layout::PropertyTable);
        list->setAfterPost([this] { ++posts; });
        list->setAfterDelete([this] { ++deletes; });
        model = std::make_unique<PropertyListModel>(*list, headings);
        tester = std::make_unique<QAbstractItemModelTester>(model.get(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        footer = std::make_unique<PropertyFooterModel>(*model);
        footerTester = std::make_unique<QAbstractItemModelTester>(
            footer.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        model->open();
    }
    QString text(int row, int column) const { return model->index(row, column).data().toString(); }
    // What the database file holds, read apart from the dataset.
    QVariant storedValue(const QString& name, const QString& column) const {
        store::Statement select =
            db->prepare(QStringLiteral("SELECT \"%1\" FROM \"Таблица\" WHERE \"Наименование\" = ?").arg(column));
        select.bind(1, name);
        return select.step() ? select.value(0) : QVariant(QStringLiteral("<no row>"));
    }
    int storedCount() const {
        store::Statement count = db->prepare(QStringLiteral("SELECT count(*) FROM \"Таблица\""));
        count.step();
        return int(count.integer(0));
    }
};

QList<ItemRow> threeItems() {
    return {{QStringLiteral("Дом"), 1000.5, 900.0, 950.25, 0, 0},
            {QStringLiteral("Машина"), 0.1, 0.2, None, 1, -1},
            {QStringLiteral("Гараж"), 200.0, 300.0, 250.0, None, None}};
}

} // namespace

class TestEditorModel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void fittedWidths_data();
    void fittedWidths();
    void bands_data();
    void bands();

    void showsItemsAndSums();
    void footerUsesTheLocaleSeparator_data();
    void footerUsesTheLocaleSeparator();
    void editUpdatesSumsWithoutReSumming();
    void sameTextWritesNothing();
    void badPriceIsRefused_data();
    void badPriceIsRefused();
    void allocationAcceptsOnlyIntegers_data();
    void allocationAcceptsOnlyIntegers();
    void removeLowersSums();
    void newRowPostedWhenTouchedCancelledOtherwise();
    void valuationPostsTheRow();
    void untrustedPricesCountAsZero();

    void readItemGivesBoardTexts_data();
    void readItemGivesBoardTexts();
    void writeBackUnchangedKeepsValues();
    void badPriceWritesNothing();
    void addItemStoresDialogTexts();
    void emptyPriceStoredEmpty();
};

void TestEditorModel::fittedWidths_data() {
    QTest::addColumn<int>("client");
    QTest::addColumn<bool>("summary");
    QTest::addColumn<QList<int>>("expected");
    // List view design widths sum to 720.
    QTest::newRow("design width") << 720 << false << QList<int>{131, 83, 84, 122, 100, 0, 0, 0, 0, 0, 0, 200};
    QTest::newRow("half") << 360 << false << QList<int>{65, 41, 42, 61, 50, 0, 0, 0, 0, 0, 0, 101};
    QTest::newRow("wide clamps at 200") << 2160 << false << QList<int>{200, 200, 200, 200, 300, 0, 0, 0, 0, 0, 0, 600};
    QTest::newRow("narrow clamps at 10") << 36 << false << QList<int>{10, 10, 10, 10, 5, 0, 0, 0, 0, 0, 0, 11};
    // Summary view: 131+83+84+122+100 + 6*64 = 904.
    QTest::newRow("summary") << 904 << true << QList<int>{131, 83, 84, 122, 100, 64, 64, 64, 64, 64, 64, 0};
}

void TestEditorModel::fittedWidths() {
    QFETCH(int, client);
    QFETCH(bool, summary);
    QFETCH(QList<int>, expected);
    ColumnFlags shown{};
    for (int c = 0; c < GridColumnCount; ++c)
        shown[size_t(c)] = summary ? c != GridNotes : shownInListView(c);
    const ColumnWidths widths = editor::fittedWidths(client, shown);
    QCOMPARE(QList<int>(widths.begin(), widths.end()), expected);
}

void TestEditorModel::bands_data() {
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    const QStringList design = {QStringLiteral("Наименование"), QStringLiteral("Цена|1 стороны"),
                                QStringLiteral("Цена|2 стороны"), QStringLiteral("Цена|Согласованная"),
                                QStringLiteral("Оценка")};
    QTest::newRow("band over three prices") << design << 2 << 0 << 1 << 3;
    QTest::newRow("single level has no band") << design << 0 << 0 << -1 << -1;
    QTest::newRow("bottom level is the column's own") << design << 1 << 1 << -1 << -1;
    QStringList renamed = design;
    renamed[1] = QStringLiteral("Цена первой");
    QTest::newRow("renamed without bar leaves the band") << renamed << 2 << 0 << 2 << 3;
    QTest::newRow("renamed column has no band") << renamed << 1 << 0 << -1 << -1;
    QStringList split = design;
    split[2] = QStringLiteral("Стоимость|2 стороны");
    QTest::newRow("different upper level splits the band") << split << 3 << 0 << 3 << 3;
    const QStringList deep = {QStringLiteral("А|Б|В"), QStringLiteral("А|Б|Г"), QStringLiteral("А|Д")};
    QTest::newRow("two levels shared") << deep << 0 << 1 << 0 << 1;
    QTest::newRow("top level shared by three") << deep << 1 << 0 << 0 << 2;
}

void TestEditorModel::bands() {
    QFETCH(QStringList, headings);
    QFETCH(int, column);
    QFETCH(int, level);
    QFETCH(int, first);
    QFETCH(int, last);
    std::vector<QStringList> levels;
    for (const QString& heading : headings)
        levels.push_back(headingLevels(heading));
    const BandSpan span = bandAt(levels, column, level);
    QCOMPARE(span.first, first);
    QCOMPARE(span.last, last);
}

void TestEditorModel::showsItemsAndSums() {
    ListFixture f(threeItems());
    QCOMPARE(f.model->rowCount(), 3);
    QCOMPARE(f.model->columnCount(), 12);
    QCOMPARE(f.text(0, GridName), QStringLiteral("Дом"));
    QCOMPARE(f.text(0, GridPrice1), QStringLiteral("1000,5"));
    QCOMPARE(f.text(1, GridAgreed), QString());
    QCOMPARE(f.text(1, GridFirstAllocation), QStringLiteral("1"));
    QCOMPARE(f.text(1, GridFirstAllocation + 3), QStringLiteral("-1"));
    QCOMPARE(f.model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Цена|1 стороны"));
    QCOMPARE(f.model->footerText(GridName), QStringLiteral("Всего:"));
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("1200,60"));
    QCOMPARE(f.model->footerText(GridPrice2), QStringLiteral("1200,20"));
    QCOMPARE(f.model->footerText(GridAgreed), QStringLiteral("1200,25"));
    QCOMPARE(f.model->footerText(GridValuation), QString());
    QCOMPARE(f.footer->index(0, GridAgreed).data().toString(), QStringLiteral("1200,25"));
    QCOMPARE(f.footer->index(0, GridName).data().toString(), QStringLiteral("Всего:"));
}

void TestEditorModel::footerUsesTheLocaleSeparator_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sum");
    QTest::newRow("comma") << QLocale(QLocale::Russian, QLocale::Russia) << "0,3"
                           << "0,50";
    QTest::newRow("point") << QLocale(QLocale::English, QLocale::UnitedStates) << "0.3"
                           << "0.50";
}

void TestEditorModel::footerUsesTheLocaleSeparator() {
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, sum);
    QLocale::setDefault(locale);
    ListFixture f(
        {{QStringLiteral("А"), 0.1, None, None, None, None}, {QStringLiteral("Б"), 0.2, None, None, None, None}});
    f.model->setCellText(0, GridPrice1, typed); // 0.1 + 0.2 would not be 0.3 in floating point
    QCOMPARE(f.model->footerText(GridPrice1), sum);
    QCOMPARE(f.model->priceSum(GridPrice1), Money::fromDecimalText(u"0.5"));
    QCOMPARE(f.text(0, GridPrice1), typed);
}

void TestEditorModel::editUpdatesSumsWithoutReSumming() {
    ListFixture f(threeItems());
    QSignalSpy sums(f.model.get(), &PropertyListModel::sumsChanged);
    f.model->setCellText(2, GridPrice2, QStringLiteral("1300,75"));
    QCOMPARE(sums.count(), 1);
    QCOMPARE(f.model->footerText(GridPrice2), QStringLiteral("2200,95"));
    QCOMPARE(f.storedValue(QStringLiteral("Гараж"), QStringLiteral("Цена 2")).toDouble(), 1300.75);
    QCOMPARE(f.posts, 1);
    f.model->setCellText(1, GridName, QStringLiteral("Автомобиль"));
    QCOMPARE(sums.count(), 1); // a name is no price
    QCOMPARE(f.storedValue(QStringLiteral("Автомобиль"), QStringLiteral("Цена 1")).toDouble(), 0.1);
    f.model->setCellText(0, GridPrice1, QString());
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("200,10"));
    QVERIFY(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 1")).isNull());
}

void TestEditorModel::sameTextWritesNothing() {
    ListFixture f(threeItems());
    f.model->setCellText(0, GridPrice1, QStringLiteral("1000,5"));
    f.model->setCellText(1, GridAgreed, QString());
    f.model->setCellText(2, GridNotes, QString()); // empty over a null note
    f.model->setCellText(1, GridFirstAllocation, QStringLiteral("1"));
    QCOMPARE(f.posts, 0);
}

void TestEditorModel::badPriceIsRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << "abc";
    QTest::newRow("infinity") << "inf";
    QTest::newRow("not a number") << "nan";
    QTest::newRow("too large") << "1e300";
    QTest::newRow("two separators") << "1,2,3";
}

void TestEditorModel::badPriceIsRefused() {
    QFETCH(QString, typed);
    ListFixture f(threeItems());
    QSignalSpy refused(f.model.get(), &PropertyListModel::valueRefused);
    QVERIFY(!f.model->setData(f.model->index(0, GridPrice1), typed));
    QCOMPARE(refused.count(), 1);
    const QString message = refused.at(0).at(0).toString();
    QVERIFY2(message.contains(QStringLiteral("«Цена 1»")) && message.contains(u'«' + typed + u'»'),
             qPrintable(message));
    QCOMPARE(f.text(0, GridPrice1), QStringLiteral("1000,5"));
    QCOMPARE(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 1")).toDouble(), 1000.5);
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("1200,60"));
    QCOMPARE(f.posts, 0);
}

void TestEditorModel::allocationAcceptsOnlyIntegers_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("integer") << int(GridFirstAllocation) << "-1" << true;
    QTest::newRow("empty") << int(GridFirstAllocation + 3) << "" << true;
    QTest::newRow("fraction") << int(GridFirstAllocation) << "0,5" << false;
    QTest::newRow("text") << int(GridLastAllocation) << "да" << false;
}

void TestEditorModel::allocationAcceptsOnlyIntegers() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    ListFixture f(threeItems());
    QSignalSpy refused(f.model.get(), &PropertyListModel::valueRefused);
    QCOMPARE(f.model->setData(f.model->index(1, column), typed), accepted);
    QCOMPARE(refused.count(), accepted ? 0 : 1);
    if (!accepted)
        QVERIFY(refused.at(0).at(0).toString().contains(QStringLiteral("целое число")));
    const QString stored = f.text(1, column);
    QCOMPARE(stored, accepted ? typed : f.model->index(1, column).data().toString());
}

void TestEditorModel::removeLowersSums() {
    ListFixture f(threeItems());
    f.model->setCurrentRow(2);
    f.model->removeItem(0);
    QCOMPARE(f.model->rowCount(), 2);
    QCOMPARE(f.deletes, 1);
    QCOMPARE(f.storedCount(), 2);
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("200,10"));
    QCOMPARE(f.model->footerText(GridAgreed), QStringLiteral("250,00"));
    f.model->removeItem(0);
    f.model->removeItem(0);
    QCOMPARE(f.model->rowCount(), 0);
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("0,00"));
    f.model->removeItem(0); // nothing left: nothing happens
    QCOMPARE(f.deletes, 3);
}

void TestEditorModel::newRowPostedWhenTouchedCancelledOtherwise() {
    ListFixture f(threeItems());
    f.model->startNewRow();
    QCOMPARE(f.model->rowCount(), 4);
    QCOMPARE(f.model->headerData(3, Qt::Vertical).toString(), QStringLiteral("*"));
    QCOMPARE(f.list->recNo(), -1);
    f.model->setCurrentRow(0); // leaving an untouched new row cancels it
    QCOMPARE(f.model->rowCount(), 3);
    QCOMPARE(f.storedCount(), 3);
    QCOMPARE(f.posts, 0);

    f.model->startNewRow();
    f.model->setCellText(3, GridName, QStringLiteral("Дача"));
    f.model->setCellText(3, GridPrice1, QStringLiteral("10,5"));
    QCOMPARE(f.storedCount(), 3); // typed into the row, not yet posted
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("1200,60"));
    f.model->setCurrentRow(1);
    QCOMPARE(f.model->rowCount(), 4);
    QCOMPARE(f.storedCount(), 4);
    QCOMPARE(f.posts, 1);
    QCOMPARE(f.storedValue(QStringLiteral("Дача"), QStringLiteral("Цена 1")).toDouble(), 10.5);
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("1211,10"));
    QCOMPARE(f.model->headerData(3, Qt::Vertical).toString(), QString());

    f.model->startNewRow();
    f.model->close(); // closing settles it too
    QCOMPARE(f.storedCount(), 4);
    QCOMPARE(f.model->rowCount(), 0);
    QVERIFY(!f.list->isOpen());
}

void TestEditorModel::valuationPostsTheRow() {
    ListFixture f(threeItems());
    f.model->writeValuation(1, QStringLiteral("Иванов & сын"));
    QCOMPARE(f.posts, 1);
    QCOMPARE(f.storedValue(QStringLiteral("Машина"), QStringLiteral("Оценка")).toString(),
             QStringLiteral("Иванов & сын"));
    f.model->startNewRow();
    f.model->writeValuation(3, QStringLiteral("Эксперт"));
    QCOMPARE(f.storedCount(), 4);
    QVERIFY(!f.model->hasNewRow());
}

void TestEditorModel::untrustedPricesCountAsZero() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.rvb"));
    test::makeCase(path, {{QStringLiteral("А"), 5.0, None, None, None, None}});
    {
        store::Database db(path);
        db.execute(QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\") VALUES ('Б', 'много')"));
        db.execute(QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\") VALUES ('В', 1e300)"));
    }
    store::Database db(path);
    store::Dataset list(db, layout::PropertyTable);
    PropertyListModel::Headings headings = layout::DesignHeadings;
    PropertyListModel model(list, headings);
    model.open();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.footerText(GridPrice1), QStringLiteral("5,00"));
    QCOMPARE(model.index(1, GridPrice1).data().toString(), QStringLiteral("много"));
}

void TestEditorModel::readItemGivesBoardTexts_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("price");
    QTest::newRow("comma") << QLocale(QLocale::Russian, QLocale::Russia) << "1234,5";
    QTest::newRow("point") << QLocale(QLocale::English, QLocale::UnitedStates) << "1234.5";
}

void TestEditorModel::readItemGivesBoardTexts() {
    QFETCH(QLocale, locale);
    QFETCH(QString, price);
    QLocale::setDefault(locale);
    ListFixture f({{QStringLiteral("Дом"), 1234.5, 1500.0, None, None, None}});
    const ItemFields item = readItem(*f.list, 0, locale);
    QCOMPARE(item.name, QStringLiteral("Дом"));
    QCOMPARE(item.price1, price);
    QCOMPARE(item.price2, QStringLiteral("1500"));
    QCOMPARE(item.agreedPrice, QString());
    QCOMPARE(item.valuation, QString());
}

void TestEditorModel::writeBackUnchangedKeepsValues() {
    for (const QLocale& locale :
         {QLocale(QLocale::Russian, QLocale::Russia), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(locale);
        ListFixture f({{QStringLiteral("Дом"), 1234.5, 0.1, 1e15, None, None}});
        f.model->updateItem(0, f.model->item(0));
        QCOMPARE(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 1")).toDouble(), 1234.5);
        QCOMPARE(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 2")).toDouble(), 0.1);
        QCOMPARE(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Согласованная цена")).toDouble(), 1e15);
        QCOMPARE(f.posts, 1);
    }
}

void TestEditorModel::badPriceWritesNothing() {
    ListFixture f(threeItems());
    ItemFields item = itemForAdding();
    item.name = QStringLiteral("Дача");
    item.price2 = QStringLiteral("дорого");
    try {
        f.model->addItem(item);
        QFAIL("a bad price must be refused");
    } catch (const Error& e) {
        QCOMPARE(e.message(),
                 QStringLiteral(
                     "В поле «Вторая сторона» должно быть число (не больше 10^15 по модулю), а введено «дорого»"));
    }
    QCOMPARE(f.model->rowCount(), 3);
    QCOMPARE(f.storedCount(), 3);
    QCOMPARE(f.list->state(), store::Dataset::State::Browse);

    ItemFields edited = f.model->item(0);
    edited.name = QStringLiteral("Новый дом");
    edited.agreedPrice = QStringLiteral("12x");
    QVERIFY_THROWS_EXCEPTION(Error, f.model->updateItem(0, edited));
    QCOMPARE(f.text(0, GridName), QStringLiteral("Дом"));
    QCOMPARE(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 1")).toDouble(), 1000.5);
    QCOMPARE(f.model->footerText(GridAgreed), QStringLiteral("1200,25"));
    QCOMPARE(f.posts, 0);
}

void TestEditorModel::addItemStoresDialogTexts() {
    ListFixture f(threeItems());
    ItemFields item{QStringLiteral("Дача"), QStringLiteral("100,5"),         QStringLiteral("0"),
                    QStringLiteral("0"),    QStringLiteral("сосед по даче"), QStringLiteral("у реки")};
    QCOMPARE(f.model->addItem(item), 3);
    QCOMPARE(f.model->rowCount(), 4);
    QCOMPARE(f.storedValue(QStringLiteral("Дача"), QStringLiteral("Цена 1")).toDouble(), 100.5);
    QCOMPARE(f.storedValue(QStringLiteral("Дача"), QStringLiteral("Оценка")).toString(),
             QStringLiteral("сосед по даче"));
    QCOMPARE(f.storedValue(QStringLiteral("Дача"), QStringLiteral("Заметки")).toString(), QStringLiteral("у реки"));
    QVERIFY(f.storedValue(QStringLiteral("Дача"), QStringLiteral("1_ц1")).isNull());
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("1301,10"));
    QCOMPARE(f.model->item(3), item);
}

void TestEditorModel::emptyPriceStoredEmpty() {
    ListFixture f(threeItems());
    ItemFields item = f.model->item(0);
    item.price1.clear();
    f.model->updateItem(0, item);
    QVERIFY(f.storedValue(QStringLiteral("Дом"), QStringLiteral("Цена 1")).isNull());
    QCOMPARE(f.model->footerText(GridPrice1), QStringLiteral("200,10"));
}

QTEST_GUILESS_MAIN(TestEditorModel)
#include "tst_editor_model.moc"
