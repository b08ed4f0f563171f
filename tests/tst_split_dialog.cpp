#include "support/TestProgram.h"

#include "shell/TFormMain.h"
#include "split/SplitStore.h"
#include "split/TFormSplit.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Share.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <sqlite3.h>

using namespace ravnobor;
using namespace ravnobor::test;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// (variant 1, variant 2) allocation of every row, in table order.
QList<QPair<QVariant, QVariant>> storedAllocations(const QString& path) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement select = db.prepare(QStringLiteral("SELECT \"1_ц1\", \"2_ц1\" FROM \"Таблица\" ORDER BY rowid"));
    QList<QPair<QVariant, QVariant>> out;
    while (select.step())
        out.append({select.value(0), select.value(1)});
    return out;
}

QString labelText(QDialog& dialog, const char* name) {
    auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

void click(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The example of the parties' own prices: A 100/80, B 60/90, C 20/10.
const QList<ItemRow> OwnPriceRows = {{QStringLiteral("A"), 100.0, 80.0, QVariant(), 0, 1},
                                     {QStringLiteral("B"), 60.0, 90.0, QVariant(), QVariant(), -1},
                                     {QStringLiteral("C"), 20.0, 10.0, QVariant(), 0, 0}};

} // namespace

class TestSplitDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void commandStandsInMenuAndToolbar();
    void ownPricesPreviewAndApply();
    void smallestPaymentKeepsPlacedItems();
    void cancelWritesNothing();
    void failingWriteWritesNothing();
    void applyIsOneTransaction();
    void shareStoredInCase();
    void totalsPanelFollowsTheShare();
    void priceThatIsNoNumberStopsTheCommand();
    void previewShowsNamesAsTyped();
};

void TestSplitDialog::commandStandsInMenuAndToolbar() {
    TestProgram test;
    Program& program = test.start();
    TFormMain& main = program.formMain();
    QAction* command = main.action(QStringLiteral("Serv_Split"));
    QVERIFY(command);
    QVERIFY(command->isEnabled());
    QCOMPARE(command->text(), QStringLiteral("Предложить раздел"));
    const QList<QAction*> service = main.findChild<QMenu*>(QStringLiteral("MenuServ"))->actions();
    QCOMPARE(service.indexOf(command), service.indexOf(main.action(QStringLiteral("Serv_Variant"))) + 1);
    const QList<QAction*> tools = main.ToolBar1->actions();
    QCOMPARE(tools.indexOf(command), tools.indexOf(main.action(QStringLiteral("TB_Serv_NastrAction"))) + 1);
    QToolButton* button = main.toolButton(QStringLiteral("TB_Serv_Split"));
    QVERIFY(button);
    QCOMPARE(button->defaultAction(), command);
    QVERIFY(!button->icon().isNull());
}

void TestSplitDialog::ownPricesPreviewAndApply() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("own.rvb"));
    makeCase(casePath, OwnPriceRows);
    Program& program = test.start({casePath});
    const QString p1 = program.state.party1Name;
    const QString p2 = program.state.party2Name;
    QStringList seen;
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "RadioGroup1Item1");
        for (const char* name :
             {"LabelParty1", "LabelParty2", "LabelPayment", "LabelOwn1", "LabelOwn2", "LabelQuality", "LabelChanged"})
            seen << labelText(dialog, name);
        click(dialog, "ButtonApply");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QCOMPARE(test.dialogs.dialogsShown, QStringList{QStringLiteral("FormSplit")});
    QCOMPARE(seen,
             (QStringList{p1 + QStringLiteral(": предметов 2, по выбранной цене на сумму 120,00 руб."),
                          p2 + QStringLiteral(": предметов 1, по выбранной цене на сумму 60,00 руб."),
                          QStringLiteral("Доплата 15,00 руб.: платит %1, получает %2").arg(p1, p2),
                          p1 + QStringLiteral(": по своим ценам получает на 15,00 руб. больше своей доли 90,00 руб."),
                          p2 + QStringLiteral(": по своим ценам получает на 15,00 руб. больше своей доли 90,00 руб."),
                          QStringLiteral("Каждая сторона по своим ценам получает сверх своей доли одну и ту же сумму."),
                          QStringLiteral("Предметов меняют место: 3")}));
    // Variant 1's column takes the placement; variant 2's stays as it was.
    const QList<QPair<QVariant, QVariant>> expected = {{1, 1}, {-1, -1}, {1, 0}};
    QCOMPARE(storedAllocations(program.state.workingCopyPath), expected);
    QVERIFY(!program.state.caseSaved);
    QVERIFY(test.dialogs.shown.isEmpty());
    // The board shows the new placement at once.
    TFormMain& main = program.formMain();
    QCOMPARE(main.boardCount(0), 0);
    QCOMPARE(main.boardItems(1).size(), size_t(2));
    QCOMPARE(main.boardItems(1).front().name, QStringLiteral("A"));
    QCOMPARE(main.boardItems(1).back().name, QStringLiteral("C"));
    QCOMPARE(main.boardItems(-1).front().name, QStringLiteral("B"));
    QCOMPARE(main.findChild<QLineEdit*>(QStringLiteral("Edit16"))->text(), QStringLiteral("120,00 руб.  "));
}

void TestSplitDialog::smallestPaymentKeepsPlacedItems() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("kept.rvb"));
    // A is party 1's already: of B, C and D nothing more brings party 1 nearer to half of 210.
    makeCase(casePath, {{QStringLiteral("A"), 100.0, 0.0, QVariant(), 5, 0},
                        {QStringLiteral("B"), 60.0, 0.0, QVariant(), 0, 0},
                        {QStringLiteral("C"), 20.0, 0.0, QVariant(), QVariant(), 0},
                        {QStringLiteral("D"), 30.0, 0.0, QVariant(), 0, 0}});
    Program& program = test.start({casePath});
    const QString p1 = program.state.party1Name;
    const QString p2 = program.state.party2Name;
    QStringList kept, all;
    bool ownPricesShown = true;
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        for (const char* name : {"LabelParty1", "LabelPayment", "LabelQuality", "LabelChanged"})
            kept << labelText(dialog, name);
        ownPricesShown = dialog.findChild<QLabel*>(QStringLiteral("LabelOwn1"))->isVisibleTo(&dialog);
        click(dialog, "CheckBox1"); // untick: every item is placed again
        for (const char* name : {"LabelPayment", "LabelQuality"})
            all << labelText(dialog, name);
        click(dialog, "CheckBox1");
        click(dialog, "ButtonApply");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QVERIFY(!ownPricesShown);
    QCOMPARE(kept, (QStringList{p1 + QStringLiteral(": предметов 1, по выбранной цене на сумму 100,00 руб."),
                                QStringLiteral("Доплата 5,00 руб.: платит %1, получает %2").arg(p2, p1),
                                QStringLiteral("Это наименьшая возможная доплата."),
                                QStringLiteral("Предметов меняют место: 3")}));
    // 100 + ... against 60 + 20 + 30: with everything free 210 splits into 100 + ... no better than 5.
    QCOMPARE(all.at(1), QStringLiteral("Это наименьшая возможная доплата."));
    QVERIFY(all.at(0).startsWith(QStringLiteral("Доплата 5,00 руб.")));
    // The placed item keeps its stored 5; the others go to party 2.
    const QList<QPair<QVariant, QVariant>> expected = {{5, 0}, {-1, 0}, {-1, 0}, {-1, 0}};
    QCOMPARE(storedAllocations(program.state.workingCopyPath), expected);
}

void TestSplitDialog::cancelWritesNothing() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("cancel.rvb"));
    makeCase(casePath, OwnPriceRows);
    Program& program = test.start({casePath});
    program.state.caseSaved = true;
    const QByteArray before = fileBytes(program.state.workingCopyPath);
    const QByteArray caseBefore = fileBytes(casePath);
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "RadioGroup1Item1");
        click(dialog, "ButtonCancel");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QCOMPARE(test.dialogs.dialogsShown.size(), 1);
    QCOMPARE(fileBytes(program.state.workingCopyPath), before);
    QCOMPARE(fileBytes(casePath), caseBefore);
    QVERIFY(program.state.caseSaved);
    QVERIFY(test.dialogs.shown.isEmpty());
}

void TestSplitDialog::failingWriteWritesNothing() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("refusing.rvb"));
    makeCase(casePath, {});
    {
        // A case whose table refuses item B for party 2: the write fails after A is written.
        store::Database db(casePath);
        db.execute(QStringLiteral("DROP TABLE \"Таблица\""));
        db.execute(QStringLiteral(
            "CREATE TABLE \"Таблица\" (\"Код\" INTEGER PRIMARY KEY, \"Наименование\" TEXT, \"Заметки\" TEXT, "
            "\"Цена 1\" REAL, \"Цена 2\" REAL, \"Согласованная цена\" REAL, \"Оценка\" TEXT, \"1_ц1\" INTEGER, "
            "\"1_ц2\" INTEGER, \"1_цc\" INTEGER, \"2_ц1\" INTEGER, \"2_ц2\" INTEGER, \"2_цс\" INTEGER, "
            "CHECK (\"Наименование\" <> 'B' OR \"1_ц1\" IS NOT -1))"));
        db.execute(QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"1_ц1\") "
                                  "VALUES ('A', 100, 80, 0), ('B', 60, 90, 0), ('C', 20, 10, 0)"));
    }
    Program& program = test.start({casePath});
    program.state.caseSaved = true;
    const QByteArray before = fileBytes(program.state.workingCopyPath);
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "RadioGroup1Item1");
        click(dialog, "ButtonApply");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QCOMPARE(test.dialogs.shown.size(), 1);
    QCOMPARE(test.dialogs.shown.at(0).icon, QMessageBox::Critical);
    QVERIFY2(test.dialogs.shown.at(0).text.contains(QStringLiteral("CHECK")),
             qPrintable(test.dialogs.shown.at(0).text));
    QCOMPARE(fileBytes(program.state.workingCopyPath), before);
    QVERIFY(program.state.caseSaved);
}

namespace {
int countCommit(void* commits) {
    ++*static_cast<int*>(commits);
    return 0;
}
} // namespace

void TestSplitDialog::applyIsOneTransaction() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("many.rvb"));
    QList<ItemRow> rows;
    for (int i = 0; i < 60; ++i)
        rows.append({QStringLiteral("Предмет %1").arg(i), 1000.0 + i, 500.0 + 3 * i, QVariant(), 0, 0});
    makeCase(casePath, rows);
    Program& program = test.start({casePath});
    // Counted at the engine itself: every commit of the connection, whoever asks for it.
    int commits = 0;
    sqlite3_commit_hook(program.dataModule().connection().handle(), &countCommit, &commits);
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "ButtonApply");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    sqlite3_commit_hook(program.dataModule().connection().handle(), nullptr, nullptr);
    QVERIFY(test.dialogs.shown.isEmpty());
    QCOMPARE(commits, 1);
    int placed = 0;
    for (const auto& [first, second] : storedAllocations(program.state.workingCopyPath)) {
        QVERIFY(first == 1 || first == -1);
        placed += first.toInt() != 0;
    }
    QCOMPARE(placed, 60);
}

void TestSplitDialog::shareStoredInCase() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("older.rvb"));
    makeCase(casePath, {});
    store::Database db(casePath);
    store::CaseWriter writer(db);
    // An older case has no share: equal shares.
    QVERIFY(!split::hasShareColumn(db));
    QCOMPARE(split::storedShareText(db), QString());
    QVERIFY(split::caseShare(db).isEqual());
    // A refused text writes nothing at all.
    db.close();
    const QByteArray before = fileBytes(casePath);
    db = store::Database(casePath);
    QVERIFY_THROWS_EXCEPTION(Error, split::storeShareText(writer, QStringLiteral("1/0")));
    db.close();
    QCOMPARE(fileBytes(casePath), before);
    db = store::Database(casePath);
    split::storeShareText(writer, QStringLiteral(" 1/3 "));
    QVERIFY(split::hasShareColumn(db));
    QCOMPARE(split::storedShareText(db), QStringLiteral("1/3"));
    QCOMPARE(split::caseShare(db).denominator(), 3);
    split::storeShareText(writer, QString());
    QCOMPARE(split::storedShareText(db), QString());
    QVERIFY(split::caseShare(db).isEqual());
}

void TestSplitDialog::totalsPanelFollowsTheShare() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("totals.rvb"));
    makeCase(casePath, {{QStringLiteral("A"), 100.0, 0.0, QVariant(), 1, 0},
                        {QStringLiteral("B"), 100.0, 0.0, QVariant(), -1, 0},
                        {QStringLiteral("C"), 50.0, 0.0, QVariant(), 0, 0}});
    Program& program = test.start({casePath});
    TFormMain& main = program.formMain();
    const auto texts = [&] {
        QStringList out{main.findChild<QLabel*>(QStringLiteral("LabelTotal4"))->text()};
        for (const char* name : {"Edit20", "Edit12", "Edit10", "Edit16", "Edit9", "Edit18"})
            out << main.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
        return out;
    };
    const QStringList equal = {QStringLiteral("Половина от суммы распределенного имущества"),
                               QStringLiteral("100,00 руб."),
                               QStringLiteral("Доплатить до равенства  0,00 руб."),
                               QStringLiteral("Вычесть до равенства  0,00 руб."),
                               QStringLiteral("100,00 руб.  "),
                               QStringLiteral("100,00 руб.  "),
                               QStringLiteral("200,00 руб.")};
    QCOMPARE(texts(), equal);
    // 1/3 of 200 is 66.666...: party 1 is 33.333... above it; the sums themselves stay.
    program.state.share = split::Share::parse(QStringLiteral("1/3"));
    main.SummStr();
    QCOMPARE(
        texts(),
        (QStringList{QStringLiteral("Доля стороны 1 (1/3) от суммы распределенного имущества"),
                     QStringLiteral("66,67 руб."), QStringLiteral("Вычесть до установленной доли  33,33 руб."),
                     QStringLiteral("Доплатить до установленной доли  33,33 руб."), QStringLiteral("100,00 руб.  "),
                     QStringLiteral("100,00 руб.  "), QStringLiteral("200,00 руб.")}));
    program.state.share = split::Share();
    main.SummStr();
    QCOMPARE(texts(), equal);
}

void TestSplitDialog::priceThatIsNoNumberStopsTheCommand() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("odd.rvb"));
    makeCase(casePath, {{QStringLiteral("A"), 100.0, 80.0, QVariant(), 0, 0},
                        {QStringLiteral("Шкаф"), 50.0, 80.0, QVariant(), 0, 0}});
    Program& program = test.start({casePath});
    // A case file from elsewhere may hold text in a price column.
    program.dataModule()
        .connection()
        .prepare(QStringLiteral("UPDATE \"Таблица\" SET \"Цена 1\" = 'много' WHERE \"Наименование\" = 'Шкаф'"))
        .run();
    const QByteArray before = fileBytes(program.state.workingCopyPath);
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QVERIFY(test.dialogs.dialogsShown.isEmpty());
    QCOMPARE(test.dialogs.shown.size(), 1);
    QCOMPARE(test.dialogs.shown.at(0).icon, QMessageBox::Critical);
    QCOMPARE(test.dialogs.shown.at(0).text,
             QStringLiteral("Цена «много» в поле «Цена 1» у предмета «Шкаф» не является числом, раздел не предложен."));
    QCOMPARE(fileBytes(program.state.workingCopyPath), before);
}

// A party's name is whatever the user typed: markup stays text, and "%2" in it is no place for the count.
void TestSplitDialog::previewShowsNamesAsTyped() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("names.rvb"));
    makeCase(casePath, OwnPriceRows);
    Program& program = test.start({casePath});
    const QString name = QStringLiteral("<b>Фирма</b> %2 & \"Ко\"");
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "RadioGroup1Item1");
        auto* entityName = dialog.findChild<QLineEdit*>(QStringLiteral("DBEdit8"));
        QTest::sendKeyEvent(QTest::Click, entityName, Qt::Key_unknown, name, Qt::NoModifier);
        click(dialog, "Button1");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Nastr"))->trigger();
    QCOMPARE(program.state.party1Name, name);
    const QString p2 = program.state.party2Name;
    QStringList seen;
    QList<Qt::TextFormat> formats;
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        click(dialog, "RadioGroup1Item1");
        for (const char* label : {"LabelParty1", "LabelPayment", "LabelOwn1"})
            seen << labelText(dialog, label);
        for (QLabel* label : dialog.findChildren<QLabel*>())
            formats << label->textFormat();
        click(dialog, "ButtonCancel");
        return dialog.result();
    });
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    QCOMPARE(seen, (QStringList{
                       name + QStringLiteral(": предметов 2, по выбранной цене на сумму 120,00 руб."),
                       QStringLiteral("Доплата 15,00 руб.: платит %1, получает %2").arg(name, p2),
                       name + QStringLiteral(": по своим ценам получает на 15,00 руб. больше своей доли 90,00 руб.")}));
    QVERIFY(!formats.isEmpty());
    QCOMPARE(formats, QList<Qt::TextFormat>(formats.size(), Qt::PlainText));
}
QTEST_MAIN(TestSplitDialog)
#include "tst_split_dialog.moc"
