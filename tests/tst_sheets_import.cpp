// The import of a property list through the real windows: the menu, the dialog, the
// paste into the list window, one undo step, and nothing written on cancel or failure.
#include "support/Strings.h"
#include "support/TestProgram.h"

#include "editor/DBGridEh3.h"
#include "editor/TFormPT.h"
#include "shell/TFormMain.h"
#include "store/CaseWriter.h"
#include "store/Database.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace ravnobor;
using namespace ravnobor::test;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(RAVNOBOR_SOURCE_DIR "/tests/data/") + QString::fromLatin1(name);
}

QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// Every stored row of the working copy, in table order: name, the three prices,
// valuation, notes, and the two variants' allocations.
QList<QVariantList> storedRows(Program& program) {
    store::Statement select = program.dataModule().connection().prepare(
        u8("SELECT \"Наименование\", \"Цена 1\", \"Цена 2\", \"Согласованная цена\", \"Оценка\", \"Заметки\", "
           "\"1_ц1\", \"2_ц1\" FROM \"Таблица\" ORDER BY rowid"));
    QList<QVariantList> rows;
    while (select.step()) {
        QVariantList row;
        for (int i = 0; i < 8; ++i)
            row << select.value(i);
        rows << row;
    }
    return rows;
}

QStringList comboTexts(QDialog& dialog) {
    QStringList texts;
    for (const char* name :
         {"ComboName", "ComboPrice1", "ComboPrice2", "ComboPriceAgreed", "ComboValuation", "ComboNotes"})
        texts << dialog.findChild<QComboBox*>(QString::fromLatin1(name))->currentText();
    return texts;
}

QStringList listTexts(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

template <typename T> T* child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("missing %s", name);
    return found;
}

const QVariant Null;

// A case with one item already in it.
struct ImportCase {
    ImportCase() {
        const QString path = tp.path(QStringLiteral("case.rvb"));
        makeCase(path, {{QStringLiteral("Старое"), 10.0, Null, Null, 1, -1}});
        program = &tp.start({path});
    }
    QAction* action(const char* name) { return program->formMain().action(QString::fromLatin1(name)); }
    store::CaseWriter& writer() { return program->dataModule().writer(); }
    TestProgram tp;
    Program* program = nullptr;
};

const QVariantList OldRow = {u8("Старое"), 10.0, Null, Null, Null, Null, 1, -1};

} // namespace

class TestSheetsImport : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void fileMenuOrder();
    void importFromXlsxIsOneUndoStep();
    void chosenSheetAndColumns();
    void cancelWritesNothing();
    void refusedFileWritesNothing();
    void pasteOpensTheImport();
};

void TestSheetsImport::fileMenuOrder() {
    ImportCase c;
    QStringList texts;
    for (QAction* a : c.program->formMain().findChild<QMenu*>(QStringLiteral("MenuFile"))->actions())
        texts << (a->isSeparator() ? QStringLiteral("|") : a->text());
    QCOMPARE(texts, strings({"Новый", "Открыть", "|", "Сохранить", "Сохранить как", "|", "Импорт списка имущества…",
                             "Экспорт списка имущества…", "|", "Выход"}));
    QCOMPARE(c.program->formMain().commands().File_Import, c.action("File_Import"));
    QCOMPARE(c.program->formMain().commands().File_Export, c.action("File_Export"));
}

void TestSheetsImport::importFromXlsxIsOneUndoStep() {
    ImportCase c;
    c.tp.dialogs.nextFileNames.push_back(fixture("sheets-openpyxl.xlsx"));
    QStringList combos;
    QString count;
    QStringList skipped;
    bool sheetShown = false;
    bool header = false;
    QString caption;
    int previewRows = 0;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) -> int {
        caption = dialog.windowTitle();
        sheetShown = !child<QComboBox>(dialog, "ComboSheet")->isHidden();
        header = child<QCheckBox>(dialog, "CheckHeader")->isChecked();
        combos = comboTexts(dialog);
        count = child<QLabel>(dialog, "LabelCount")->text();
        skipped = listTexts(child<QListWidget>(dialog, "ListSkipped"));
        previewRows = child<QTableView>(dialog, "TableImport")->model()->rowCount();
        QTest::mouseClick(child<QPushButton>(dialog, "ButtonImport"), Qt::LeftButton);
        return dialog.result();
    });
    c.action("File_Import")->trigger();
    QCOMPARE(c.tp.dialogs.fileRequests.size(), 1);
    QCOMPARE(c.tp.dialogs.fileRequests[0].filters, strings({"Таблицы (*.xlsx *.ods *.csv *.txt)", "Все файлы (*)"}));
    QCOMPARE(c.tp.dialogs.dialogsShown, QStringList{QStringLiteral("FormImport")});
    QCOMPARE(caption, u8("Импорт списка имущества"));
    QCOMPARE(previewRows, 7);
    QVERIFY(sheetShown);
    QVERIFY(header);
    QCOMPARE(combos, strings({"A: Наименование", "B: Цена 1 стороны", "C: Цена 2 стороны", "D: Согласованная",
                              "E: Оценка", "F: Примечание"}));
    QCOMPARE(count, u8("Будет добавлено: 3. Пропущено: 2."));
    QCOMPARE(skipped, strings({"Строка 4: в поле «Цена 2» не число: «12 тыс.»", "Строка 6: нет наименования"}));

    const QList<QVariantList> rows = storedRows(*c.program);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], OldRow);
    QCOMPARE(rows[1], (QVariantList{u8("Квартира"), 1250000.5, 1300000.0, Null, u8("Отчёт №5"), u8("ипотека"), 0, 0}));
    QCOMPARE(rows[2], (QVariantList{u8("Гараж"), Null, 100.0, Null, Null, Null, 0, 0}));
    QCOMPARE(rows[3], (QVariantList{u8("Дача"), Null, 0.1, Null, Null, u8("01.02.2020"), 0, 0}));
    QVERIFY(!c.program->state.caseSaved);
    QCOMPARE(c.writer().stepCount(), 1);
    QCOMPARE(c.writer().undoName(), u8("импорт (3)"));
    QCOMPARE(c.program->state.totalRecords, 4);
    QCOMPARE(c.program->formMain().boardCount(0), 3); // undistributed on the board
    QCOMPARE(c.program->formMain().boardCount(1), 1);

    c.action("Edit_Undo")->trigger();
    QCOMPARE(storedRows(*c.program), QList<QVariantList>{OldRow});
    QVERIFY(c.program->state.caseSaved);
    QCOMPARE(c.program->state.totalRecords, 1);
    QCOMPARE(c.program->formMain().boardCount(0), 0);

    c.action("Edit_Redo")->trigger();
    QCOMPARE(storedRows(*c.program), rows);
    QCOMPARE(c.program->formMain().boardCount(0), 3);
}

void TestSheetsImport::chosenSheetAndColumns() {
    ImportCase c;
    c.tp.dialogs.nextFileNames.push_back(fixture("sheets-openpyxl.xlsx"));
    QStringList combos;
    QStringList plainCombos;
    bool disabledWithoutName = false;
    QString count;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) -> int {
        child<QComboBox>(dialog, "ComboSheet")->setCurrentIndex(1);
        combos = comboTexts(dialog);
        // Without headings nothing is guessed, and nothing can be imported without a name column.
        child<QCheckBox>(dialog, "CheckHeader")->setChecked(false);
        plainCombos = comboTexts(dialog);
        disabledWithoutName = !child<QPushButton>(dialog, "ButtonImport")->isEnabled();
        child<QComboBox>(dialog, "ComboName")->setCurrentIndex(1);
        child<QComboBox>(dialog, "ComboPrice2")->setCurrentIndex(2);
        count = child<QLabel>(dialog, "LabelCount")->text();
        QTest::mouseClick(child<QPushButton>(dialog, "ButtonImport"), Qt::LeftButton);
        return dialog.result();
    });
    c.action("File_Import")->trigger();
    QCOMPARE(combos, strings({"A: Предмет", "B: Цена 1", "—", "—", "—", "—"}));
    QCOMPARE(plainCombos, strings({"—", "—", "—", "—", "—", "—"}));
    QVERIFY(disabledWithoutName);
    QCOMPARE(count, u8("Будет добавлено: 2. Пропущено: 1.")); // the heading row is now a row: no number
    const QList<QVariantList> rows = storedRows(*c.program);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1], (QVariantList{u8("Стол"), Null, 1500.0, Null, Null, Null, 0, 0}));
    QCOMPARE(rows[2], (QVariantList{u8("Стул"), Null, 1250.5, Null, Null, Null, 0, 0}));
}

void TestSheetsImport::cancelWritesNothing() {
    ImportCase c;
    for (int how = 0; how < 2; ++how) {
        c.tp.dialogs.nextFileNames.push_back(fixture("sheets-odfpy.ods"));
        c.tp.dialogs.nextDialogs.push_back([how](QDialog& dialog) -> int {
            if (how == 0)
                QTest::mouseClick(child<QPushButton>(dialog, "ButtonCancel"), Qt::LeftButton);
            else
                dialog.close();
            return dialog.result();
        });
        c.action("File_Import")->trigger();
    }
    c.tp.dialogs.nextFileNames.push_back(QString()); // the file dialog cancelled
    c.action("File_Import")->trigger();
    QCOMPARE(c.tp.dialogs.dialogsShown.size(), 2);
    QCOMPARE(storedRows(*c.program), QList<QVariantList>{OldRow});
    QCOMPARE(c.writer().stepCount(), 0);
    QVERIFY(c.program->state.caseSaved);
}

void TestSheetsImport::refusedFileWritesNothing() {
    ImportCase c;
    const QString path = c.tp.path(QStringLiteral("fake.xlsx"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Наименование;Цена 1\nДом;5\n");
    file.close();
    c.tp.dialogs.nextFileNames.push_back(path);
    c.action("File_Import")->trigger();
    QVERIFY(c.tp.dialogs.dialogsShown.isEmpty());
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(c.tp.dialogs.shown[0].text, u8("Файл «%1» не удалось прочитать: это не книга Excel (.xlsx).").arg(path));
    QCOMPARE(storedRows(*c.program), QList<QVariantList>{OldRow});
    QCOMPARE(c.writer().stepCount(), 0);
}

void TestSheetsImport::pasteOpensTheImport() {
    ImportCase c;
    QString count;
    bool sheetHidden = false;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) -> int {
        auto& form = static_cast<TFormPT&>(dialog);
        form.show();
        form.DBGridEh3->setFocus();
        QApplication::clipboard()->setText(u8("Наименование\tЦена 1 стороны\nСтол\t1 500\n\"Шкаф\nкупе\"\t2,5\n"));
        QTest::keyClick(form.DBGridEh3, Qt::Key_V, Qt::ControlModifier);
        form.close();
        return int(QDialog::Rejected);
    });
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) -> int {
        sheetHidden = child<QComboBox>(dialog, "ComboSheet")->isHidden();
        count = child<QLabel>(dialog, "LabelCount")->text();
        QTest::mouseClick(child<QPushButton>(dialog, "ButtonImport"), Qt::LeftButton);
        return dialog.result();
    });
    c.action("Serv_SI")->trigger();
    QCOMPARE(c.tp.dialogs.dialogsShown, strings({"FormPT", "FormImport"}));
    QVERIFY(sheetHidden);
    QCOMPARE(count, u8("Будет добавлено: 2. Пропущено: 0."));
    const QList<QVariantList> rows = storedRows(*c.program);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[1], (QVariantList{u8("Стол"), 1500.0, Null, Null, Null, Null, 0, 0}));
    QCOMPARE(rows[2], (QVariantList{u8("Шкаф\nкупе"), 2.5, Null, Null, Null, Null, 0, 0}));
    QCOMPARE(c.writer().undoName(), u8("импорт (2)"));
}

QTEST_MAIN(TestSheetsImport)
#include "tst_sheets_import.moc"
