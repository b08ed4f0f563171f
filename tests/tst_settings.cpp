// The parties window, the variant dialog and the currency dialog, driven through the
// whole program: names reaching every place, what is stored and what is not.
#include "editor/TFormNewZap.h"
#include "editor/TFormPT.h"
#include "settings/RadioGroup.h"
#include "settings/TFormNstr.h"
#include "settings/TFormVal.h"
#include "settings/TFormVariant.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace ravnobor;
using Qt::StringLiterals::operator""_s;

namespace {

using Fields = QList<std::pair<QString, QVariant>>;

QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

void writeSettings(const QString& path, const Fields& fields) {
    store::Database db(path);
    for (const auto& [column, value] : fields) {
        store::Statement update = db.prepare(u"UPDATE \"Поля\" SET "_s + quoted(column) + u" = ?"_s);
        update.bind(1, value);
        update.run();
    }
}

QVariant readSetting(const QString& path, const QString& column) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement select = db.prepare(u"SELECT "_s + quoted(column) + u" FROM \"Поля\""_s);
    return select.step() ? select.value(0) : QVariant();
}

int settingsRowCount(const QString& path) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement select = db.prepare(u"SELECT count(*) FROM \"Поля\""_s);
    select.step();
    return int(select.integer(0));
}

// "Дело.rvb" in the program's folder: the template with these items and these settings.
QString writeCase(test::TestProgram& t, const QList<test::ItemRow>& rows, const Fields& settings = {}) {
    const QString casePath = t.path(u"Дело.rvb"_s);
    test::makeCase(casePath, rows);
    if (!settings.isEmpty())
        writeSettings(casePath, settings);
    return casePath;
}

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Ivanov (natural person) against an entity; a couple of items so the case is not empty.
const Fields TwoParties = {{layout::Legal1, 0},
                           {layout::Surname1, u"Иванов"_s},
                           {layout::FirstName1, u"Иван"_s},
                           {layout::Patronymic1, u"Петрович"_s},
                           {layout::Entity1, u"Не применяется"_s},
                           {layout::Address1, u"Москва"_s},
                           {layout::Legal2, 1},
                           {layout::Surname2, u"Сидоров"_s},
                           {layout::Entity2, u"ООО «Ромашка»"_s},
                           {layout::Address2, u"Тула"_s},
                           {layout::Description, u"Раздел квартиры"_s}};

enum class CloseBy { Ok, CloseBox, Escape };

// Answers the next modal window: shows it, runs the steps, closes it as a user would.
std::function<int(QDialog&)> answer(std::function<void(QDialog&)> steps, CloseBy closeBy = CloseBy::Ok) {
    return [steps = std::move(steps), closeBy](QDialog& dialog) {
        dialog.show();
        steps(dialog);
        switch (closeBy) {
        case CloseBy::Ok:
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
            break;
        case CloseBy::CloseBox:
            dialog.close();
            break;
        case CloseBy::Escape:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        }
        dialog.hide();
        return dialog.result();
    };
}

// Types as a user would, one key a character; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget* widget, const QString& text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

QLineEdit* edit(QDialog& dialog, int number) {
    return dialog.findChild<QLineEdit*>(u"DBEdit%1"_s.arg(number));
}

QRadioButton* radio(QWidget& window, const QString& group, int item) {
    return window.findChild<QRadioButton*>(group + u"Item%1"_s.arg(item));
}

void trigger(TFormMain& main, const QString& name) {
    QAction* act = main.action(name);
    QVERIFY2(act && act->isEnabled(), qPrintable(name));
    act->trigger();
}

// What the board shows in the column of that allocation tag: names, or "name price".
QStringList column(TFormMain& main, int tag, bool withPrices = false) {
    QStringList out;
    for (const auto& item : main.boardItems(tag))
        out << (withPrices ? item.name + u' ' + item.price : item.name);
    return out;
}

// Every text of the totals panel and the price captions of the three lists.
QStringList amountTexts(TFormMain& main) {
    QStringList out;
    for (const QLineEdit* field : main.Panel7->findChildren<QLineEdit*>())
        out << field->objectName() + u'=' + field->text();
    for (const QString& name : {u"ListView2"_s, u"ListView1"_s, u"ListView3"_s})
        out << name + u'=' +
                   main.findChild<QAbstractItemView*>(name)->model()->headerData(1, Qt::Horizontal).toString();
    out.sort();
    return out;
}

// Three items placed differently by the two proposals.
const QList<test::ItemRow> ThreeItems = {{u"Диван"_s, 10.0, 20.0, 30.0, 1, -1},
                                         {u"Стол"_s, 1.0, 2.0, QVariant(), -1, QVariant()},
                                         {u"Шкаф"_s, 5.0, 6.0, 7.5, 0, 1}};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void commandsAreEnabled();
    void partiesWindowLayout();
    void namesAfterLoad();
    void namesReachEveryPlaceAfterClose_data();
    void namesReachEveryPlaceAfterClose();
    void namesReachTheValuationLists();
    void optionsEnableTheirEdits();
    void tabOrderSkipsDisabledEdits();
    void caseSavedOnlyWhenAValueChanges_data();
    void caseSavedOnlyWhenAValueChanges();
    void caseWithoutSettingsRowGetsOne();
    void settingsTableWithoutAColumn();
    void openAndNewRefreshNamesAndKeepChoices();
    void longStoredValueShownWholeAndKept();
    void typingStopsAtColumnLength();
    void markupAndAmpersandShownAsTyped();
    void variantDialog();
    void longNamesDoNotWidenTheVariantDialogWithoutBound();
    void variantAndBasisChangeTheVariantLine_data();
    void variantAndBasisChangeTheVariantLine();
    void chosenItemAgainRebuildsNothing();
    void boardFollowsTheVariantAndKeepsEarlierMoves();
    void priceBasisChangesTotalsNotPlacement_data();
    void priceBasisChangesTotalsNotPlacement();
    void currencyChangesEverySuffixAndNoNumber();
    void totalsNameThePartiesAsTyped();
    void currencyDialog_data();
    void currencyDialog();
    void choicesAreNeverStored();
    void restartBeginsWithDefaults();
};

void TestSettings::commandsAreEnabled() {
    test::TestProgram t;
    TFormMain& main = t.start().formMain();
    for (const QString& name : {u"Serv_Nastr"_s, u"Serv_Variant"_s, u"Serv_Val"_s})
        QVERIFY2(main.action(name)->isEnabled(), qPrintable(name));
    for (const QString& name : {u"TB_Serv_Nastr"_s, u"TB_Serv_Variant"_s})
        QVERIFY2(main.toolButton(name)->isEnabled(), qPrintable(name));

    // The menu item's tick flips at every use, however the window was closed.
    QAction* nastr = main.action(u"Serv_Nastr"_s);
    const bool before = nastr->isChecked();
    trigger(main, u"Serv_Nastr"_s);
    QCOMPARE(nastr->isChecked(), !before);
    main.toolButton(u"TB_Serv_Nastr"_s)->click();
    QCOMPARE(nastr->isChecked(), before);
    trigger(main, u"Serv_Variant"_s);
    trigger(main, u"Serv_Val"_s);
    QCOMPARE(t.dialogs.dialogsShown, QStringList({u"FormNstr"_s, u"FormNstr"_s, u"FormVariant"_s, u"FormVal"_s}));
    QVERIFY(t.dialogs.shown.isEmpty());
}

void TestSettings::partiesWindowLayout() {
    test::TestProgram t;
    Program& program = t.start();
    TFormNstr& window = program.formNstr();
    QCOMPARE(window.windowTitle(), u"Исходные данные"_s);
    QVERIFY(window.width() >= 502 && window.height() >= 325);
    QCOMPARE(window.minimumSize(), window.maximumSize());
    const QStringList groupTitles{window.findChild<QGroupBox*>(u"GroupBox1"_s)->title(),
                                  window.findChild<QGroupBox*>(u"GroupBox2"_s)->title()};
    QCOMPARE(groupTitles, QStringList({u"Первая сторона"_s, u"Вторая сторона"_s}));
    for (const QString& group : {u"RadioGroup1"_s, u"RadioGroup2"_s}) {
        QVERIFY(window.findChild<QButtonGroup*>(group));
        QCOMPARE(radio(window, group, 0)->text(), u"Физическое лицо"_s);
        QCOMPARE(radio(window, group, 1)->text(), u"Юридическое лицо"_s);
    }
    for (int n = 1; n <= 11; ++n)
        QVERIFY2(edit(window, n), qPrintable(QString::number(n)));
    const auto buttons = window.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.front()->text(), u"OK"_s);
    QVERIFY(buttons.front()->isDefault());
    QStringList labels;
    for (const QLabel* label : window.findChildren<QLabel*>())
        labels << label->text();
    labels.sort();
    QCOMPARE(labels,
             QStringList({u"Адрес"_s, u"Адрес"_s, u"Доля стороны 1"_s, u"Доля стороны 2"_s, u"Имя"_s, u"Имя"_s,
                          u"Описание предмета спора"_s, u"Отчество"_s, u"Отчество"_s, u"Фамилия"_s, u"Фамилия"_s}));
}

void TestSettings::namesAfterLoad() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    QCOMPARE(program.state.party1Name, u"Иванов И. П."_s);
    QCOMPARE(program.state.party2Name, u"ООО «Ромашка»"_s);
    QCOMPARE(program.state.caseDescription, u"Раздел квартиры"_s);
    QCOMPARE(main.Label1->text(), u"Иванов И. П."_s);
    QCOMPARE(main.Label2->text(), u"ООО «Ромашка»"_s);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: Иванов И. П.,  цена: Иванов И. П."_s);
    QCOMPARE(main.Panel1->text(), u"Раздел квартиры"_s);
    TFormVariant& variant = program.formVariant();
    for (RadioGroup* group : {variant.RadioGroup1, variant.RadioGroup2}) {
        QCOMPARE(group->button(0)->text(), u"Иванов И. П."_s);
        QCOMPARE(group->button(1)->text(), u"ООО «Ромашка»"_s);
    }
    QCOMPARE(variant.RadioGroup2->button(2)->text(), u"Согласованная"_s);
    // The silent refresh puts the options in line with the case and leaves it saved.
    QVERIFY(radio(program.formNstr(), u"RadioGroup2"_s, 1)->isChecked());
    QVERIFY(!edit(program.formNstr(), 9)->isHidden() && edit(program.formNstr(), 9)->isEnabled());
    QVERIFY(program.state.caseSaved);
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Surname2), QVariant(u"Сидоров"_s));
}

void TestSettings::namesReachEveryPlaceAfterClose_data() {
    QTest::addColumn<int>("closeBy");
    QTest::newRow("OK") << int(CloseBy::Ok);
    QTest::newRow("close box") << int(CloseBy::CloseBox);
    QTest::newRow("Escape") << int(CloseBy::Escape);
}

void TestSettings::namesReachEveryPlaceAfterClose() {
    QFETCH(int, closeBy);
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();

    QStringList whileTyping;
    t.dialogs.nextDialogs.push_back(answer(
        [&](QDialog& dialog) {
            QCOMPARE(edit(dialog, 2)->text(), u"Иванов"_s);
            edit(dialog, 2)->selectAll();
            typeText(edit(dialog, 2), u"Петров"_s);
            edit(dialog, 5)->selectAll();
            QTest::keyClick(edit(dialog, 5), Qt::Key_Backspace);
            QTest::keyClick(edit(dialog, 1), Qt::Key_End);
            typeText(edit(dialog, 1), u" и гаража"_s);
            QTest::mouseClick(radio(dialog, u"RadioGroup2"_s, 0), Qt::LeftButton);
            edit(dialog, 3)->selectAll();
            typeText(edit(dialog, 3), u"Смирнова"_s);
            typeText(edit(dialog, 6), u"Анна"_s);
            whileTyping << main.Label1->text() << main.Label2->text() << main.Label3->text() << main.Panel1->text()
                        << program.formVariant().RadioGroup1->button(1)->text() << program.state.party1Name;
        },
        CloseBy(closeBy)));
    trigger(main, u"Serv_Nastr"_s);
    QCOMPARE(whileTyping, QStringList({u"Иванов И. П."_s, u"ООО «Ромашка»"_s,
                                       u"  Вариант раздела: Иванов И. П.,  цена: Иванов И. П."_s, u"Раздел квартиры"_s,
                                       u"ООО «Ромашка»"_s, u"Иванов И. П."_s}));

    // However the window was closed, the edits are kept and the names follow.
    QCOMPARE(program.state.party1Name, u"Петров И. ."_s);
    QCOMPARE(program.state.party2Name, u"Смирнова А. ."_s);
    QCOMPARE(main.Label1->text(), u"Петров И. ."_s);
    QCOMPARE(main.Label2->text(), u"Смирнова А. ."_s);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: Петров И. .,  цена: Петров И. ."_s);
    QCOMPARE(main.Panel1->text(), u"Раздел квартиры и гаража"_s);
    QCOMPARE(program.formVariant().RadioGroup1->button(0)->text(), u"Петров И. ."_s);
    QCOMPARE(program.formVariant().RadioGroup2->button(1)->text(), u"Смирнова А. ."_s);
    const QString working = program.state.workingCopyPath;
    QCOMPARE(readSetting(working, layout::Surname1), QVariant(u"Петров"_s));
    QCOMPARE(readSetting(working, layout::Patronymic1), QVariant(u""_s));
    QCOMPARE(readSetting(working, layout::Legal2), QVariant(qint64(0)));
    QCOMPARE(readSetting(working, layout::Entity2), QVariant(u"ООО «Ромашка»"_s));
    QCOMPARE(readSetting(working, layout::Description), QVariant(u"Раздел квартиры и гаража"_s));
    QVERIFY(!program.state.caseSaved);
    QVERIFY(t.dialogs.shown.isEmpty());
}

void TestSettings::namesReachTheValuationLists() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    const auto valuationTexts = [&] {
        QStringList texts;
        for (const QAction* item : program.formPT().valuationPopup()->actions())
            texts << item->text();
        for (int i = 0; i < program.formNewZap().ComboBox_Oc->count(); ++i)
            texts << program.formNewZap().ComboBox_Oc->itemText(i);
        return texts;
    };
    QCOMPARE(valuationTexts(), QStringList({u"Иванов И. П."_s, u"ООО «Ромашка»"_s, u"Риэлтер"_s, u"Эксперт"_s,
                                            u"Иванов И. П."_s, u"ООО «Ромашка»"_s, u"Риэлтер"_s, u"Эксперт"_s}));
    QStringList whileTyping;
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        edit(dialog, 9)->selectAll();
        typeText(edit(dialog, 9), u"АО «Рога & Копыта»"_s);
        whileTyping = valuationTexts();
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(whileTyping.at(1), u"ООО «Ромашка»"_s);
    // A menu item doubles the "&" so that it shows; the list entry holds the name itself.
    QCOMPARE(valuationTexts(), QStringList({u"Иванов И. П."_s, u"АО «Рога && Копыта»"_s, u"Риэлтер"_s, u"Эксперт"_s,
                                            u"Иванов И. П."_s, u"АО «Рога & Копыта»"_s, u"Риэлтер"_s, u"Эксперт"_s}));
}

void TestSettings::optionsEnableTheirEdits() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    const QColor grey(229, 229, 229);
    const auto isGrey = [&](QLineEdit* e) { return e->palette().color(QPalette::Base) == grey; };
    const auto expectPerson = [&](QDialog& dialog, std::initializer_list<int> person, int entity, bool isPerson) {
        for (int n : person) {
            QCOMPARE(edit(dialog, n)->isEnabled(), isPerson);
            QCOMPARE(isGrey(edit(dialog, n)), !isPerson);
        }
        QCOMPARE(edit(dialog, entity)->isEnabled(), !isPerson);
        QCOMPARE(isGrey(edit(dialog, entity)), isPerson);
    };
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        expectPerson(dialog, {2, 4, 5}, 8, true);
        expectPerson(dialog, {3, 6, 7}, 9, false);
        for (int address : {10, 11}) {
            QVERIFY(edit(dialog, address)->isEnabled());
            QVERIFY(!isGrey(edit(dialog, address)));
        }
        QVERIFY(edit(dialog, 1)->isEnabled());
        // Party 1 becomes an entity and back; party 2 a person: nothing is cleared.
        QTest::mouseClick(radio(dialog, u"RadioGroup1"_s, 1), Qt::LeftButton);
        expectPerson(dialog, {2, 4, 5}, 8, false);
        QCOMPARE(edit(dialog, 2)->text(), u"Иванов"_s);
        QTest::mouseClick(radio(dialog, u"RadioGroup1"_s, 0), Qt::LeftButton);
        expectPerson(dialog, {2, 4, 5}, 8, true);
        QCOMPARE(edit(dialog, 8)->text(), u"Не применяется"_s);
        QTest::mouseClick(radio(dialog, u"RadioGroup2"_s, 0), Qt::LeftButton);
        expectPerson(dialog, {3, 6, 7}, 9, true);
        QCOMPARE(edit(dialog, 9)->text(), u"ООО «Ромашка»"_s);
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(program.state.party1Name, u"Иванов И. П."_s);
    QCOMPARE(program.state.party2Name, u"Сидоров . ."_s);
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Entity2), QVariant(u"ООО «Ромашка»"_s));

    // Back to an entity: the stored entity name, untouched, names the party again.
    t.dialogs.nextDialogs.push_back(
        answer([&](QDialog& dialog) { QTest::mouseClick(radio(dialog, u"RadioGroup2"_s, 1), Qt::LeftButton); }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(program.state.party2Name, u"ООО «Ромашка»"_s);
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Surname2), QVariant(u"Сидоров"_s));
}

void TestSettings::tabOrderSkipsDisabledEdits() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    QStringList visited;
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        QApplication::setActiveWindow(&dialog);
        edit(dialog, 1)->setFocus();
        for (int i = 0; i < 13; ++i) {
            QWidget* focused = QApplication::focusWidget();
            visited << (focused ? focused->objectName() : u"none"_s);
            if (i < 12)
                QTest::keyClick(focused ? focused : &dialog, Qt::Key_Tab);
        }
        // The arrow keys choose the other option, and Tab then stops there.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        visited << QApplication::focusWidget()->objectName();
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(visited, QStringList({u"DBEdit1"_s, u"RadioGroup1Item0"_s, u"DBEdit2"_s, u"DBEdit4"_s, u"DBEdit5"_s,
                                   u"DBEdit10"_s, u"RadioGroup2Item1"_s, u"DBEdit9"_s, u"DBEdit11"_s, u"EditShare1"_s,
                                   u"Button1"_s, u"DBEdit1"_s, u"RadioGroup1Item0"_s, u"RadioGroup1Item1"_s,
                                   u"DBEdit8"_s, u"RadioGroup1Item1"_s}));
    QCOMPARE(program.state.party1Name, u"Не применяется"_s);
}

void TestSettings::caseSavedOnlyWhenAValueChanges_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("saved");
    QTest::newRow("nothing") << "nothing" << true;
    QTest::newRow("typed back the same") << "same" << true;
    QTest::newRow("option there and back") << "option twice" << true;
    QTest::newRow("a letter") << "letter" << false;
    QTest::newRow("an address") << "address" << false;
    QTest::newRow("an option") << "option" << false;
}

void TestSettings::caseSavedOnlyWhenAValueChanges() {
    QFETCH(QString, what);
    QFETCH(bool, saved);
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    QVERIFY(program.state.caseSaved);
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        if (what == u"same") {
            QTest::keyClick(edit(dialog, 2), Qt::Key_End);
            QTest::keyClick(edit(dialog, 2), Qt::Key_Backspace);
            typeText(edit(dialog, 2), u"в"_s);
        } else if (what == u"letter") {
            typeText(edit(dialog, 4), u"ь"_s);
        } else if (what == u"address") {
            QTest::keyClick(edit(dialog, 11), Qt::Key_End);
            typeText(edit(dialog, 11), u" 2"_s);
        } else if (what.startsWith(u"option")) {
            QTest::mouseClick(radio(dialog, u"RadioGroup1"_s, 1), Qt::LeftButton);
            if (what == u"option twice")
                QTest::mouseClick(radio(dialog, u"RadioGroup1"_s, 0), Qt::LeftButton);
        }
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(program.state.caseSaved, saved);
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Surname1), QVariant(u"Иванов"_s));
    if (what == u"address") { // an address takes no part in the names
        QCOMPARE(readSetting(program.state.workingCopyPath, layout::Address2), QVariant(u"Тула 2"_s));
        QCOMPARE(program.state.party2Name, u"ООО «Ромашка»"_s);
    }

    // The question on exit follows the flag; a Save makes the case safe again.
    if (!saved) {
        program.formMain().File_SaveClick();
        QVERIFY(program.state.caseSaved);
        QCOMPARE(fileHash(casePath), fileHash(program.state.workingCopyPath));
    }
}

void TestSettings::caseWithoutSettingsRowGetsOne() {
    test::TestProgram t;
    const QString casePath = t.path(u"Пустое.rvb"_s);
    test::makeCase(casePath, {});
    {
        store::Database db(casePath);
        db.execute(u"DELETE FROM \"Поля\""_s);
    }
    Program& program = t.start({casePath});
    QCOMPARE(settingsRowCount(program.state.workingCopyPath), 1);
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Legal1), QVariant(qint64(0)));
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Legal2), QVariant(qint64(0)));
    QCOMPARE(program.state.party1Name, u" . ."_s);
    QCOMPARE(program.state.party2Name, u" . ."_s);
    QCOMPARE(program.formMain().Panel1->text(), QString());
    QVERIFY(program.state.caseSaved);
    QVERIFY(t.dialogs.shown.isEmpty());
}

void TestSettings::settingsTableWithoutAColumn() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    const auto renameColumn = [](const QString& path) {
        store::Database db(path);
        db.execute(u"ALTER TABLE \"Поля\" RENAME COLUMN \"Адрес 2\" TO \"Адрес_2\""_s);
    };
    const QString missing = u"В таблице «Поля» нет поля «Адрес 2»."_s;

    // Open refuses such a case and keeps the one it has, names included.
    const QString brokenPath = t.path(u"Битое.rvb"_s);
    test::makeCase(brokenPath, {});
    renameColumn(brokenPath);
    t.dialogs.nextFileNames.push_back(brokenPath);
    trigger(program.formMain(), u"File_Open"_s);
    QCOMPARE(t.dialogs.shown.size(), 1);
    QCOMPARE(t.dialogs.shown.back().text.split(u'\n').back(), missing);
    QCOMPARE(program.formMain().Label1->text(), u"Иванов И. П."_s);

    // A case that lost the column while open: the window says so, is not shown and
    // leaves nothing open; the program goes on.
    renameColumn(program.state.workingCopyPath);
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(t.dialogs.shown.size(), 2);
    QCOMPARE(t.dialogs.shown.back().icon, QMessageBox::Critical);
    QCOMPARE(t.dialogs.shown.back().text, missing);
    QVERIFY(t.dialogs.dialogsShown.isEmpty());
    QVERIFY(!program.dataModule().ADODataSet2().isOpen());
    QCOMPARE(program.formMain().Label1->text(), u"Иванов И. П."_s);
    QVERIFY(program.state.caseSaved);
    trigger(program.formMain(), u"File_Create"_s);
    QCOMPARE(program.formMain().Label1->text(), u" . ."_s);
    QCOMPARE(t.dialogs.shown.size(), 2);
}

void TestSettings::openAndNewRefreshNamesAndKeepChoices() {
    test::TestProgram t;
    Program& program = t.start();
    TFormMain& main = program.formMain();
    QCOMPARE(main.Label1->text(), u" . ."_s);
    // Choose party 2's proposal on agreed prices in euro, then open another case.
    program.formVariant().RadioGroup1->button(1)->click();
    program.formVariant().RadioGroup2->button(2)->click();
    program.formVal().RadioGroup1->button(2)->click();

    const QString casePath = writeCase(t, {}, TwoParties);
    t.dialogs.nextFileNames.push_back(casePath);
    trigger(main, u"File_Open"_s);
    QCOMPARE(main.Label1->text(), u"Иванов И. П."_s);
    QCOMPARE(main.Label2->text(), u"ООО «Ромашка»"_s);
    QCOMPARE(main.Panel1->text(), u"Раздел квартиры"_s);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: ООО «Ромашка»,  цена: Согласованная"_s);
    QCOMPARE(program.formVariant().RadioGroup1->button(1)->text(), u"ООО «Ромашка»"_s);
    QVERIFY(program.formNstr().RadioGroup2->button(1)->isChecked());
    QVERIFY(program.state.caseSaved);
    QCOMPARE(program.state.currencySuffix, u"ЕВРО"_s);

    trigger(main, u"File_Create"_s);
    QCOMPARE(program.state.party1Name, u" . ."_s);
    QCOMPARE(main.Label2->text(), u" . ."_s);
    QCOMPARE(main.Panel1->text(), QString());
    QCOMPARE(main.Label3->text(), u"  Вариант раздела:  . .,  цена: Согласованная"_s);
    QCOMPARE(program.state.divisionVariant, 1);
    QCOMPARE(program.state.priceBasis, 2);
    QCOMPARE(program.state.currencySuffix, u"ЕВРО"_s);
    QVERIFY(t.dialogs.shown.isEmpty());
}

void TestSettings::longStoredValueShownWholeAndKept() {
    test::TestProgram t;
    const QString longDescription = QString(300, u'Д') + u'!';
    const QString longSurname = QString(150, u'Ф');
    const QString casePath =
        writeCase(t, {}, {{layout::Description, longDescription}, {layout::Surname1, longSurname}});
    Program& program = t.start({casePath});
    QCOMPARE(program.formMain().Panel1->text().size(), longDescription.size());
    QCOMPARE(program.formMain().Panel1->text().right(3), longDescription.right(3));
    QCOMPARE(program.formMain().Panel1->text(), longDescription);

    QString shownDescription, afterTyping, afterDeleteAndTyping;
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        shownDescription = edit(dialog, 1)->text();
        QTest::keyClick(edit(dialog, 2), Qt::Key_End);
        typeText(edit(dialog, 2), u"ов"_s);
        afterTyping = edit(dialog, 2)->text();
        QTest::keyClick(edit(dialog, 2), Qt::Key_Backspace);
        typeText(edit(dialog, 2), u"ов"_s);
        afterDeleteAndTyping = edit(dialog, 2)->text();
        typeText(edit(dialog, 10), u"Тверь"_s);
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(shownDescription, longDescription);
    QCOMPARE(afterTyping, longSurname); // a text already too long does not grow
    // Shorter, it still may not grow while it is longer than its column.
    QCOMPARE(afterDeleteAndTyping, QString(149, u'Ф'));
    const QString working = program.state.workingCopyPath;
    QCOMPARE(readSetting(working, layout::Description), QVariant(longDescription));
    QCOMPARE(readSetting(working, layout::Surname1), QVariant(QString(149, u'Ф')));
    QCOMPARE(readSetting(working, layout::Address1), QVariant(u"Тверь"_s));
    QCOMPARE(program.formMain().Panel1->text(), longDescription);

    // Showing it again shows the long description whole once more.
    t.dialogs.nextDialogs.push_back(
        answer([&](QDialog& dialog) { shownDescription = edit(dialog, 1)->text(); }, CloseBy::CloseBox));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(shownDescription, longDescription);
}

void TestSettings::typingStopsAtColumnLength() {
    test::TestProgram t;
    Program& program = t.start();
    QList<int> lengths;
    t.dialogs.nextDialogs.push_back(answer([&](QDialog& dialog) {
        for (int n : {2, 4, 8, 1}) {
            typeText(edit(dialog, n), QString(300, u'ж'));
            lengths << int(edit(dialog, n)->text().size());
        }
        QTest::mouseClick(radio(dialog, u"RadioGroup1"_s, 1), Qt::LeftButton);
        typeText(edit(dialog, 8), QString(300, u'ж'));
        lengths << int(edit(dialog, 8)->text().size());
    }));
    trigger(program.formMain(), u"Serv_Nastr"_s);
    QCOMPARE(lengths, QList<int>({100, 100, 0, 255, 255}));
    QCOMPARE(readSetting(program.state.workingCopyPath, layout::Surname1), QVariant(QString(100, u'ж')));
    QCOMPARE(program.state.party1Name, QString(255, u'ж'));
}

void TestSettings::markupAndAmpersandShownAsTyped() {
    test::TestProgram t;
    const QString entity = u"<b>Рога & Копыта</b>"_s;
    const QString casePath = writeCase(t, {},
                                       {{layout::Legal1, 1},
                                        {layout::Entity1, entity},
                                        {layout::Surname2, u"<i>Ли"_s},
                                        {layout::FirstName2, u"&"_s},
                                        {layout::Description, u"<h1>Спор</h1> & <br>"_s}});
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    QCOMPARE(main.Label1->text(), entity);
    QCOMPARE(main.Label2->text(), u"<i>Ли &. ."_s);
    QCOMPARE(main.Panel1->text(), u"<h1>Спор</h1> & <br>"_s);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: <b>Рога & Копыта</b>,  цена: <b>Рога & Копыта</b>"_s);
    for (QLabel* label : {main.Label1, main.Label2, main.Label3, main.Panel1})
        QCOMPARE(label->textFormat(), Qt::PlainText);
    // In a button text a lone "&" would mark a shortcut and vanish.
    QCOMPARE(program.formVariant().RadioGroup1->button(0)->text(), u"<b>Рога && Копыта</b>"_s);
    QCOMPARE(program.formVariant().RadioGroup2->button(1)->text(), u"<i>Ли &&. ."_s);
    QCOMPARE(program.formVariant().RadioGroup2->itemText(1), u"<i>Ли &. ."_s);
}

void TestSettings::variantDialog() {
    test::TestProgram t;
    Program& program = t.start();
    TFormVariant& dialog = program.formVariant();
    QCOMPARE(dialog.windowTitle(), u"Выбор варианта раздела"_s);
    QVERIFY(dialog.width() >= 395 && dialog.height() >= 98);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.RadioGroup1->objectName(), u"RadioGroup1"_s);
    QCOMPARE(dialog.RadioGroup1->title(), u"Вариант"_s);
    QCOMPARE(dialog.RadioGroup2->title(), u"По цене"_s);
    QCOMPARE(dialog.RadioGroup1->count(), 2);
    QCOMPARE(dialog.RadioGroup2->count(), 3);
    QCOMPARE(dialog.RadioGroup1->itemIndex(), 0);
    QCOMPARE(dialog.RadioGroup2->itemIndex(), 0);
    QVERIFY(dialog.findChild<QPushButton*>(u"Button1"_s)->isDefault());

    TFormVal& currency = program.formVal();
    QCOMPARE(currency.windowTitle(), u"Валюта"_s);
    QVERIFY(currency.width() >= 116 && currency.height() >= 139);
    QCOMPARE(currency.minimumSize(), currency.maximumSize());
    QCOMPARE(currency.RadioGroup1->title(), QString());
    QStringList items;
    for (int i = 0; i < currency.RadioGroup1->count(); ++i)
        items << currency.RadioGroup1->button(i)->text();
    QCOMPARE(items, QStringList({u"Рубли"_s, u"Доллары"_s, u"Евро"_s, u"Гривны"_s}));
    QCOMPARE(currency.RadioGroup1->itemIndex(), 0);
    QVERIFY(currency.findChild<QPushButton*>(u"Button1"_s)->isDefault());
}

void TestSettings::longNamesDoNotWidenTheVariantDialogWithoutBound() {
    test::TestProgram t;
    const QString longName = u"<b>"_s + QString(250, u'Ж');
    const QString casePath =
        writeCase(t, {}, {{layout::Legal1, 1}, {layout::Entity1, longName}, {layout::Surname2, u"Ли"_s}});
    Program& program = t.start({casePath});
    TFormVariant& dialog = program.formVariant();
    dialog.show();
    QVERIFY(dialog.width() < 900);
    QRadioButton* first = dialog.RadioGroup1->button(0);
    QVERIFY(first->text().startsWith(u"<b>ЖЖ"_s));
    QVERIFY(first->text().endsWith(QChar(0x2026)));
    QVERIFY(first->width() >= first->sizeHint().width()); // the shortened text is not clipped as well
    QCOMPARE(first->toolTip(), u"<p style='white-space:pre'>&lt;b&gt;"_s + QString(250, u'Ж') + u"</p>"_s);
    QCOMPARE(dialog.RadioGroup1->itemText(0), longName);
    QCOMPARE(dialog.RadioGroup1->button(1)->text(), u"Ли . ."_s);
    QCOMPARE(dialog.RadioGroup1->button(1)->toolTip(), QString());
    // The variant line and the labels carry the name whole.
    QCOMPARE(program.formMain().Label1->text(), longName);
    QCOMPARE(program.formMain().Label3->text(), u"  Вариант раздела: "_s + longName + u",  цена: "_s + longName);
    dialog.hide();
}

void TestSettings::variantAndBasisChangeTheVariantLine_data() {
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("basis");
    QTest::addColumn<QString>("line");
    QTest::newRow("side 2, agreed") << 1 << 2 << "  Вариант раздела: ООО «Ромашка»,  цена: Согласованная";
    QTest::newRow("side 1, prices 2") << 0 << 1 << "  Вариант раздела: Иванов И. П.,  цена: ООО «Ромашка»";
    QTest::newRow("side 2, prices 1") << 1 << 0 << "  Вариант раздела: ООО «Ромашка»,  цена: Иванов И. П.";
}

void TestSettings::variantAndBasisChangeTheVariantLine() {
    QFETCH(int, variant);
    QFETCH(int, basis);
    QFETCH(QString, line);
    test::TestProgram t;
    const QString casePath =
        writeCase(t, {{u"Диван"_s, 100.0, 200.0, 150.0, 1, -1}, {u"Стол"_s, 10.0, 20.0, 15.0, -1, 0}}, TwoParties);
    Program& program = t.start({casePath});
    TFormVariant& dialog = program.formVariant();
    t.dialogs.nextDialogs.push_back(answer([&](QDialog&) {
        QTest::mouseClick(dialog.RadioGroup1->button(variant), Qt::LeftButton);
        QTest::mouseClick(dialog.RadioGroup2->button(basis), Qt::LeftButton);
    }));
    trigger(program.formMain(), u"Serv_Variant"_s);
    QCOMPARE(program.state.divisionVariant, variant);
    QCOMPARE(program.state.priceBasis, basis);
    QCOMPARE(program.formMain().Label3->text(), line);

    // Shown again, the dialog still holds the choice; going back restores the first line.
    t.dialogs.nextDialogs.push_back(answer(
        [&](QDialog&) {
            QCOMPARE(dialog.RadioGroup1->itemIndex(), variant);
            QCOMPARE(dialog.RadioGroup2->itemIndex(), basis);
            QTest::mouseClick(dialog.RadioGroup1->button(0), Qt::LeftButton);
            QTest::mouseClick(dialog.RadioGroup2->button(0), Qt::LeftButton);
        },
        CloseBy::CloseBox));
    trigger(program.formMain(), u"Serv_Variant"_s);
    QCOMPARE(program.formMain().Label3->text(), u"  Вариант раздела: Иванов И. П.,  цена: Иванов И. П."_s);
    QCOMPARE(program.state.divisionVariant, 0);
    QCOMPARE(program.state.priceBasis, 0);
    QVERIFY(program.state.caseSaved);
}

void TestSettings::chosenItemAgainRebuildsNothing() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    // Change the case behind the program's back: only a rebuild would show it.
    writeSettings(program.state.workingCopyPath, {{layout::Surname1, u"Орлов"_s}});
    TFormVariant& dialog = program.formVariant();
    dialog.RadioGroup1->button(0)->click();
    dialog.RadioGroup2->button(0)->click();
    QCOMPARE(main.Label1->text(), u"Иванов И. П."_s);
    dialog.RadioGroup2->button(2)->click();
    QCOMPARE(main.Label1->text(), u"Орлов И. П."_s);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: Орлов И. П.,  цена: Согласованная"_s);

    TFormVal& currency = program.formVal();
    currency.RadioGroup1->button(0)->click();
    QCOMPARE(program.state.currencySuffix, u"руб."_s);
    QCOMPARE(program.state.currencyIndex, 0);
}

void TestSettings::boardFollowsTheVariantAndKeepsEarlierMoves() {
    test::TestProgram t;
    const QString casePath = writeCase(t, ThreeItems, TwoParties);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(column(main, 1), QStringList({u"Диван"_s}));
    QCOMPARE(column(main, 0), QStringList({u"Шкаф"_s}));
    QCOMPARE(column(main, -1), QStringList({u"Стол"_s}));

    // A move under party 1's proposal...
    auto* centre = main.findChild<QAbstractItemView*>(u"ListView1"_s);
    centre->selectionModel()->select(centre->model()->index(0, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    trigger(main, u"SpeedButton1Action"_s);
    QCOMPARE(column(main, 1), QStringList({u"Диван"_s, u"Шкаф"_s}));

    // ...party 2's proposal places the items its own way...
    TFormVariant& dialog = program.formVariant();
    dialog.RadioGroup1->button(1)->click();
    QCOMPARE(column(main, 1), QStringList({u"Шкаф"_s}));
    QCOMPARE(column(main, 0), QStringList({u"Стол"_s}));
    QCOMPARE(column(main, -1), QStringList({u"Диван"_s}));
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: ООО «Ромашка»,  цена: Иванов И. П."_s);

    // ...and switching back shows the first placement with the move made before.
    dialog.RadioGroup1->button(0)->click();
    QCOMPARE(column(main, 1), QStringList({u"Диван"_s, u"Шкаф"_s}));
    QCOMPARE(column(main, 0), QStringList());
    QCOMPARE(column(main, -1), QStringList({u"Стол"_s}));
    QCOMPARE(main.Label3->text(), u"  Вариант раздела: Иванов И. П.,  цена: Иванов И. П."_s);
    store::Database db(program.state.workingCopyPath, store::Database::Mode::ReadOnly);
    store::Statement stored = db.prepare(u"SELECT \"1_ц1\", \"2_ц1\" FROM \"Таблица\" WHERE \"Наименование\" = ?"_s);
    stored.bind(1, u"Шкаф"_s);
    QVERIFY(stored.step());
    QCOMPARE(stored.integer(0), 1);
    QCOMPARE(stored.integer(1), 1);
}

void TestSettings::priceBasisChangesTotalsNotPlacement_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("totals"); // all property under prices 1, 2 and agreed
    QTest::newRow("comma") << "ru_RU" << QStringList({u"16,00 руб."_s, u"28,00 руб."_s, u"37,50 руб."_s});
    QTest::newRow("point") << "en_US" << QStringList({u"16.00 руб."_s, u"28.00 руб."_s, u"37.50 руб."_s});
}

void TestSettings::priceBasisChangesTotalsNotPlacement() {
    QFETCH(QString, locale);
    QFETCH(QStringList, totals);
    QLocale::setDefault(QLocale(locale));
    test::TestProgram t;
    const QString casePath = writeCase(t, ThreeItems);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    const auto total = [&] { return main.Panel7->findChild<QLineEdit*>(u"Edit17"_s)->text(); };
    const QStringList names{column(main, 1).join(u','), column(main, 0).join(u','), column(main, -1).join(u',')};
    QCOMPARE(names, QStringList({u"Диван"_s, u"Шкаф"_s, u"Стол"_s}));
    QCOMPARE(total(), totals.at(0));
    const QByteArray stored = fileHash(program.state.workingCopyPath);

    TFormVariant& dialog = program.formVariant();
    dialog.RadioGroup2->button(2)->click();
    QCOMPARE(total(), totals.at(2));
    QCOMPARE(column(main, 1, true), QStringList({u"Диван 30"_s}));
    QCOMPARE(column(main, 0, true), QStringList({locale == u"ru_RU" ? u"Шкаф 7,5"_s : u"Шкаф 7.5"_s}));
    QCOMPARE(column(main, -1, true), QStringList({u"Стол "_s}));
    dialog.RadioGroup2->button(1)->click();
    QCOMPARE(total(), totals.at(1));
    const QStringList after{column(main, 1).join(u','), column(main, 0).join(u','), column(main, -1).join(u',')};
    QCOMPARE(after, names);
    QCOMPARE(main.Label3->text(), u"  Вариант раздела:  . .,  цена:  . ."_s);
    QCOMPARE(fileHash(program.state.workingCopyPath), stored);
    QLocale::setDefault(QLocale::c());
}

void TestSettings::currencyChangesEverySuffixAndNoNumber() {
    QLocale::setDefault(QLocale(u"ru_RU"_s));
    test::TestProgram t;
    const QString casePath = writeCase(t, ThreeItems);
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    const QStringList roubles = amountTexts(main);
    QVERIFY(roubles.contains(u"Edit17=16,00 руб."_s));
    QVERIFY(roubles.contains(u"ListView1=Цена, руб."_s));
    const QStringList boardPrices = column(main, 1, true) + column(main, 0, true) + column(main, -1, true);

    for (int index : {3, 1, 2, 0}) {
        program.formVal().RadioGroup1->button(index)->click();
        const QString suffix = program.state.currencySuffix;
        QStringList expected = roubles;
        expected.replaceInStrings(u"руб."_s, suffix);
        QCOMPARE(amountTexts(main), expected);
        QCOMPARE(column(main, 1, true) + column(main, 0, true) + column(main, -1, true), boardPrices);
    }
    QVERIFY(amountTexts(main).contains(u"ListView3=Цена, руб."_s));
    program.formVal().RadioGroup1->button(3)->click();
    QVERIFY(amountTexts(main).contains(u"Edit17=16,00 грн."_s));
    QVERIFY(amountTexts(main).contains(u"ListView2=Цена, грн."_s));
    QLocale::setDefault(QLocale::c());
}

void TestSettings::totalsNameThePartiesAsTyped() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, {{layout::Legal1, 1}, {layout::Entity1, u"<b>Рога & Копыта</b>"_s}});
    Program& program = t.start({casePath});
    TFormMain& main = program.formMain();
    auto* label14 = main.findChild<QLabel*>(u"Label14"_s);
    auto* label8 = main.findChild<QLabel*>(u"Label8"_s);
    QCOMPARE(label14->text(), u"  <b>Рога & Копыта</b>"_s);
    QCOMPARE(label8->text(), u"   . ."_s);
    QCOMPARE(label14->textFormat(), Qt::PlainText);
    QCOMPARE(label8->textFormat(), Qt::PlainText);
    // The board's popups name the parties too, "&" doubled so that it shows.
    QCOMPARE(main.findChild<QAction*>(u"MenuItem1"_s)->text(), u"<b>Рога && Копыта</b>"_s);
    QCOMPARE(main.findChild<QAction*>(u"N21"_s)->text(), u" . ."_s);
}

void TestSettings::currencyDialog_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("Рубли") << 0 << "руб.";
    QTest::newRow("Доллары") << 1 << "долл.США";
    QTest::newRow("Евро") << 2 << "ЕВРО";
    QTest::newRow("Гривны") << 3 << "грн.";
}

void TestSettings::currencyDialog() {
    QFETCH(int, index);
    QFETCH(QString, suffix);
    test::TestProgram t;
    Program& program = t.start();
    TFormVal& dialog = program.formVal();
    // Start from another currency so that every row is a change.
    dialog.RadioGroup1->button((index + 1) % 4)->click();
    t.dialogs.nextDialogs.push_back(
        answer([&](QDialog&) { QTest::mouseClick(dialog.RadioGroup1->button(index), Qt::LeftButton); }));
    trigger(program.formMain(), u"Serv_Val"_s);
    QCOMPARE(program.state.currencyIndex, index);
    QCOMPARE(program.state.currencySuffix, suffix);
    QCOMPARE(dialog.RadioGroup1->itemIndex(), index);
    QVERIFY(program.state.caseSaved);
}

void TestSettings::choicesAreNeverStored() {
    test::TestProgram t;
    const QString casePath = writeCase(
        t, {{u"Диван"_s, 100.0, 200.0, 150.0, 1, -1}, {u"Стол"_s, 10.0, 20.0, 15.0, QVariant(), 1}}, TwoParties);
    Program& program = t.start({casePath});
    const QString working = program.state.workingCopyPath;
    const QByteArray before = fileHash(working);
    const QStringList filesBefore = QDir(t.path(QString())).entryList(QDir::AllEntries, QDir::Name);
    program.formVariant().RadioGroup1->button(1)->click();
    program.formVariant().RadioGroup2->button(2)->click();
    program.formVariant().RadioGroup1->button(0)->click();
    program.formVal().RadioGroup1->button(3)->click();
    QCOMPARE(fileHash(working), before);
    QCOMPARE(QDir(t.path(QString())).entryList(QDir::AllEntries, QDir::Name), filesBefore);
    QVERIFY(program.state.caseSaved);
}

void TestSettings::restartBeginsWithDefaults() {
    test::TestProgram t;
    const QString casePath = writeCase(t, {}, TwoParties);
    {
        Program& program = t.start({casePath});
        program.formVariant().RadioGroup1->button(1)->click();
        program.formVariant().RadioGroup2->button(1)->click();
        program.formVal().RadioGroup1->button(1)->click();
        QCOMPARE(program.state.currencySuffix, u"долл.США"_s);
    }
    Program& program = t.start({casePath});
    QCOMPARE(program.state.divisionVariant, 0);
    QCOMPARE(program.state.priceBasis, 0);
    QCOMPARE(program.state.currencyIndex, 0);
    QCOMPARE(program.state.currencySuffix, u"руб."_s);
    QCOMPARE(program.formVariant().RadioGroup1->itemIndex(), 0);
    QCOMPARE(program.formVariant().RadioGroup2->itemIndex(), 0);
    QCOMPARE(program.formVal().RadioGroup1->itemIndex(), 0);
    QCOMPARE(program.formMain().Label3->text(), u"  Вариант раздела: Иванов И. П.,  цена: Иванов И. П."_s);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
