#include "support/TestProgram.h"

#include "settings/TFormNstr.h"
#include "shell/TFormMain.h"
#include "split/ShareField.h"
#include "split/SplitStore.h"
#include "store/Database.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ravnobor;
using namespace ravnobor::test;

namespace {

QString text(QWidget& window, const char* name) {
    if (auto* edit = window.findChild<QLineEdit*>(QString::fromLatin1(name)))
        return edit->text();
    if (auto* label = window.findChild<QLabel*>(QString::fromLatin1(name)))
        return label->text();
    return QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
}

// What the totals panel says about the shares: caption and field of the target, both equalising lines.
QStringList shareTexts(TFormMain& main) {
    return {text(main, "LabelTotal4"), text(main, "Edit20"), text(main, "Edit12"), text(main, "Edit10")};
}

QString storedShare(const QString& path) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    return split::hasShareColumn(db) ? split::storedShareText(db) : QStringLiteral("<no column>");
}

// Party 1 holds A (100), party 2 holds B (100); C (50) is undistributed.
const QList<ItemRow> PlacedRows = {{QStringLiteral("A"), 100.0, 90.0, QVariant(), 1, 0},
                                   {QStringLiteral("B"), 100.0, 120.0, QVariant(), -1, 0},
                                   {QStringLiteral("C"), 50.0, 50.0, QVariant(), 0, 0}};

const QStringList EqualTexts = {QStringLiteral("Половина от суммы распределенного имущества"),
                                QStringLiteral("100,00 руб."), QStringLiteral("Доплатить до равенства  0,00 руб."),
                                QStringLiteral("Вычесть до равенства  0,00 руб.")};
// 1/3 of 200 is 66.666...: party 1 is 33.333... above it.
const QStringList ThirdTexts = {QStringLiteral("Доля стороны 1 (1/3) от суммы распределенного имущества"),
                                QStringLiteral("66,67 руб."),
                                QStringLiteral("Вычесть до установленной доли  33,33 руб."),
                                QStringLiteral("Доплатить до установленной доли  33,33 руб.")};

// Types the share into the parties window and closes it with OK.
void typeShare(TestProgram& test, const QString& share, QString* otherShare = nullptr) {
    test.dialogs.nextDialogs.push_back([share, otherShare](QDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("EditShare1"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, share);
        if (otherShare)
            *otherShare = text(dialog, "EditShare2");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        return dialog.result();
    });
    test.program().formMain().action(QStringLiteral("Serv_Nastr"))->trigger();
}

} // namespace

class TestSplitShare : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void olderCaseOpensWithEqualShares();
    void shareTypedShowsInTotalsAndIsSavedWithTheCase();
    void shareThatIsNoShareKeepsTheWindowOpen();
    void applyReloadsTheBoard();
    void newCaseHasEqualShares();
};

void TestSplitShare::olderCaseOpensWithEqualShares() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("older.rvb"));
    makeCase(casePath, PlacedRows);
    QCOMPARE(storedShare(casePath), QStringLiteral("<no column>"));
    Program& program = test.start({casePath});
    QVERIFY(program.state.share.isEqual());
    QCOMPARE(shareTexts(program.formMain()), EqualTexts);
    QVERIFY(program.state.caseSaved);
    // The working copy has gained the column, empty, so a save keeps whatever share is set later.
    QCOMPARE(storedShare(program.state.workingCopyPath), QString());
    program.formMain().action(QStringLiteral("File_Save"))->trigger();
    QCOMPARE(storedShare(casePath), QString());
}

void TestSplitShare::shareTypedShowsInTotalsAndIsSavedWithTheCase() {
    // A QString return type: with QStringBuilder a deduced one would keep a reference to
    // the temporary path.
    const QString casePath = []() -> QString {
        static QTemporaryDir dir;
        return dir.path() + QStringLiteral("/third.rvb");
    }();
    {
        TestProgram test;
        makeCase(casePath, PlacedRows);
        Program& program = test.start({casePath});
        QString otherShare;
        typeShare(test, QStringLiteral("1/3"), &otherShare);
        QCOMPARE(otherShare, QStringLiteral("2/3"));
        QCOMPARE(program.state.share.denominator(), 3);
        QCOMPARE(shareTexts(program.formMain()), ThirdTexts);
        QVERIFY(!program.state.caseSaved);
        QCOMPARE(storedShare(program.state.workingCopyPath), QStringLiteral("1/3"));
        program.formMain().action(QStringLiteral("File_Save"))->trigger();
        QVERIFY(test.dialogs.shown.isEmpty());
    }
    QCOMPARE(storedShare(casePath), QStringLiteral("1/3"));
    // Opened again: the share, its window and the totals come back.
    TestProgram test;
    Program& program = test.start({casePath});
    QCOMPARE(program.state.share.text(), QStringLiteral("1/3"));
    QCOMPARE(shareTexts(program.formMain()), ThirdTexts);
    QStringList shown;
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        shown << text(dialog, "EditShare1") << text(dialog, "EditShare2");
        return int(QDialog::Accepted);
    });
    program.formMain().action(QStringLiteral("Serv_Nastr"))->trigger();
    QCOMPARE(shown, (QStringList{QStringLiteral("1/3"), QStringLiteral("2/3")}));
    // Emptied, the shares are equal again and the texts are those of an equal division.
    typeShare(test, QString());
    QVERIFY(program.state.share.isEqual());
    QCOMPARE(shareTexts(program.formMain()), EqualTexts);
    QCOMPARE(storedShare(program.state.workingCopyPath), QString());
}

void TestSplitShare::shareThatIsNoShareKeepsTheWindowOpen() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("refused.rvb"));
    makeCase(casePath, PlacedRows);
    Program& program = test.start({casePath});
    typeShare(test, QStringLiteral("60"));
    QCOMPARE(storedShare(program.state.workingCopyPath), QStringLiteral("60"));
    int result = -1;
    QString otherShare;
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        dialog.open(); // shown, so that a refused close can be seen to leave it open
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("EditShare1"));
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("100"));
        otherShare = text(dialog, "EditShare2");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        result = dialog.isVisible() ? 1 : 0;
        dialog.close();
        dialog.hide();
        return int(QDialog::Accepted);
    });
    program.formMain().action(QStringLiteral("Serv_Nastr"))->trigger();
    QCOMPARE(result, 1);
    QCOMPARE(otherShare, QStringLiteral("—"));
    QVERIFY(!test.dialogs.shown.isEmpty());
    QCOMPARE(test.dialogs.shown.at(0).caption, QStringLiteral("Внимание!"));
    QCOMPARE(test.dialogs.shown.at(0).icon, QMessageBox::Warning);
    QCOMPARE(test.dialogs.shown.at(0).text,
             QStringLiteral("Доля стороны 1 «100» не годится: доля должна быть больше 0 и меньше 100 % "
                            "(дробью — больше 0 и меньше 1)."));
    // What the case holds stays: 60 %.
    QCOMPARE(storedShare(program.state.workingCopyPath), QStringLiteral("60"));
    QCOMPARE(program.state.share.numerator(), 3);
    QCOMPARE(program.state.share.denominator(), 5);
}

void TestSplitShare::applyReloadsTheBoard() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("apply.rvb"));
    makeCase(casePath, PlacedRows);
    Program& program = test.start({casePath});
    typeShare(test, QStringLiteral("1/3"));
    TFormMain& main = program.formMain();
    QCOMPARE(main.boardCount(0), 1);
    test.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ButtonApply")), Qt::LeftButton);
        return dialog.result();
    });
    main.action(QStringLiteral("Serv_Split"))->trigger();
    QVERIFY(test.dialogs.shown.isEmpty());
    // C goes to party 2: 100 against 1/3 of 250 = 83.33 is nearer than 150.
    QCOMPARE(main.boardCount(0), 0);
    QCOMPARE(main.boardCount(1), 1);
    QCOMPARE(main.boardCount(-1), 2);
    QCOMPARE(main.boardItems(-1).back().name, QStringLiteral("C"));
    QCOMPARE(shareTexts(main),
             (QStringList{QStringLiteral("Доля стороны 1 (1/3) от суммы распределенного имущества"),
                          QStringLiteral("83,33 руб."), QStringLiteral("Вычесть до установленной доли  16,67 руб."),
                          QStringLiteral("Доплатить до установленной доли  16,67 руб.")}));
    QVERIFY(!program.state.caseSaved);
}

void TestSplitShare::newCaseHasEqualShares() {
    TestProgram test;
    const QString casePath = test.path(QStringLiteral("before-new.rvb"));
    makeCase(casePath, PlacedRows);
    Program& program = test.start({casePath});
    typeShare(test, QStringLiteral("1/3"));
    QCOMPARE(shareTexts(program.formMain()), ThirdTexts);
    test.dialogs.nextAnswers.push_back(QMessageBox::No); // "Сохранить файл?"
    program.formMain().action(QStringLiteral("File_Create"))->trigger();
    QVERIFY(program.state.share.isEqual());
    QCOMPARE(text(program.formMain(), "LabelTotal4"), QStringLiteral("Половина от суммы распределенного имущества"));
    QCOMPARE(storedShare(program.state.workingCopyPath), QString());
    QCOMPARE(storedShare(casePath), QStringLiteral("<no column>"));
}

QTEST_MAIN(TestSplitShare)
#include "tst_split_share.moc"
