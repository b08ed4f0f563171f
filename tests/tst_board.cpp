// The division board through the real main window: loading, moves by toolbar, popup
// and drop, gathering, the totals panel and the layout.
#include "support/BoardCase.h"
#include "support/Strings.h"
#include "support/TestProgram.h"
#include "support/Values.h"

#include "board/Board.h"
#include "board/BoardColumnModel.h"
#include "board/BoardListView.h"
#include "board/ShareBar.h"
#include "board/ShareChart.h"
#include "board/TotalsPanel.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/TDataModule1.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>

using namespace ravnobor;
using board::BoardListView;
using test::d;
using test::i;
using test::ItemRow;
using test::Null;
using test::strings;

namespace {

// A program started on a case made from these rows.
struct Fixture : test::BoardCase {
    using BoardCase::BoardCase;
    QString text(const char* name) {
        const QString n = QString::fromLatin1(name);
        if (auto* edit = form().findChild<QLineEdit*>(n))
            return edit->text();
        return form().findChild<QLabel*>(n)->text();
    }
    QStringList prices(BoardListView* view) {
        QStringList out;
        for (int r = 0; r < view->model()->rowCount(); ++r)
            out << view->model()->index(r, 1).data().toString();
        return out;
    }
    // A drag that enters the target with `entering` and drops `dropped` there, as the
    // platform delivers it: the drop reaches only a list that accepted the drag.
    bool drop(BoardListView* target, QMimeData* dropped, int overRow = -1, QMimeData* entering = nullptr) {
        const QPoint at = overRow >= 0 ? target->visualRect(target->model()->index(overRow, 0)).center()
                                       : QPoint(5, target->viewport()->height() - 5);
        QDragEnterEvent enter(at, Qt::MoveAction, entering ? entering : dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target->viewport(), &enter);
        QDropEvent event(QPointF(at), Qt::MoveAction, dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target->viewport(), &event);
        return enter.isAccepted();
    }
    QMimeData* dragData(BoardListView* source, int row) {
        return source->model()->mimeData({source->model()->index(row, 0)});
    }
};

} // namespace

class TestBoard : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void loadPlacesBySignAndShowsPlainPrices();
    void loadWithPointLocale();
    void variantAndBasisSwitch();
    void emptyTable();
    void noConnectionLeavesBoard();
    void failedLoadLeavesBoard();
    void totalsBeforeFirstComputation();
    void totalsPanel();
    void longPartyNameIsElided();
    void toolbarMovesStoreTheTag();
    void moveClearsCaseSavedOnlyOnChange();
    void moveToOwnListGoesToTheEnd();
    void sameNamesMoveIndependently();
    void nameWithQuotes();
    void removedRowIsNotReselected();
    void moveShowsEveryListAsRepainted_data();
    void moveShowsEveryListAsRepainted();
    void popupCommands();
    void popupCaptionsNameTheParties();
    void dropMovesSelectedItemToTheEnd();
    void dropFromElsewhereIsRefused();
    void plainClickStartsNoMove();
    void failedMoveLeavesBoard();
    void gatherUnderSecondVariant();
    void layoutWidths_data();
    void layoutWidths();
    void listsLookAsDesigned();
    void boardItemsForDocuments();
    void moveKeysInTooltips();
    void keyMoves_data();
    void keyMoves();
    void keyMovesOneAfterAnother();
    void keyMoveNeedsASelection();
    void tabGoesRoundTheLists();
    void menuKeyOpensPopupAtSelection_data();
    void menuKeyOpensPopupAtSelection();
    void shareBarGeometry_data();
    void shareBarGeometry();
    void chartFollowsTheTotals();
};

void TestBoard::loadPlacesBySignAndShowsPlainPrices() {
    Fixture f({{QStringLiteral("Пять"), d(1500), Null, Null, i(5), Null},
               {QStringLiteral("Минус три"), d(1234.5), Null, Null, i(-3), Null},
               {QStringLiteral("Пусто"), d(1e6), Null, Null, Null, Null},
               {QStringLiteral("Ноль"), d(0.1), Null, Null, i(0), Null},
               {QStringLiteral("Без цены"), Null, Null, Null, i(1), Null}});
    QCOMPARE(f.names(f.left()), (strings({"Пять", "Без цены"})));
    QCOMPARE(f.names(f.centre()), (strings({"Пусто", "Ноль"})));
    QCOMPARE(f.names(f.right()), (strings({"Минус три"})));
    QCOMPARE(f.prices(f.left()), (strings({"1500", ""})));
    QCOMPARE(f.prices(f.centre()), (strings({"1000000", "0,1"})));
    QCOMPARE(f.prices(f.right()), (strings({"1234,5"})));
    // The empty price counts as 0; everything else is summed.
    QCOMPARE(f.text("Edit16"), QStringLiteral("1500,00 руб.  "));
    QCOMPARE(f.text("Edit19"), QStringLiteral("1000000,10 руб."));
    QCOMPARE(f.form().boardCount(1), 2);
    QCOMPARE(f.form().boardCount(0), 2);
    QCOMPARE(f.form().boardCount(-1), 1);
    QCOMPARE(f.program().state.totalRecords, 5);
}

void TestBoard::loadWithPointLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Fixture f({{QStringLiteral("Стол"), d(1234.5), Null, Null, Null, Null},
               {QStringLiteral("Стул"), d(1234567.25), Null, Null, Null, Null}});
    QCOMPARE(f.prices(f.centre()), (strings({"1234.5", "1234567.25"})));
    QCOMPARE(f.text("Edit17"), QStringLiteral("1235801.75 руб."));
}

void TestBoard::variantAndBasisSwitch() {
    Fixture f({{QStringLiteral("А"), d(10), d(20), d(30), i(1), i(-1)},
               {QStringLiteral("Б"), d(1), d(2), Null, i(-1), Null}});
    AppState& state = f.program().state;
    state.divisionVariant = 1;
    f.form().InsertDann();
    QCOMPARE(f.names(f.right()), (strings({"А"})));
    QCOMPARE(f.names(f.centre()), (strings({"Б"})));
    state.priceBasis = 2;
    f.form().InsertDann();
    QCOMPARE(f.names(f.right()), (strings({"А"})));
    QCOMPARE(f.prices(f.right()), (strings({"30"})));
    QCOMPARE(f.prices(f.centre()), (strings({""})));
    QCOMPARE(f.text("Edit17"), QStringLiteral("30,00 руб."));
    state.divisionVariant = 0;
    f.form().InsertDann();
    QCOMPARE(f.names(f.left()), (strings({"А"})));
    QCOMPARE(f.names(f.right()), (strings({"Б"})));
}

void TestBoard::noConnectionLeavesBoard() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, Null, Null}});
    f.program().dataModule().disconnect();
    f.form().InsertDann();
    QCOMPARE(f.names(f.centre()), (strings({"А"})));
    QVERIFY(f.tp.dialogs.shown.isEmpty());
}

void TestBoard::emptyTable() {
    Fixture f(QList<ItemRow>{});
    for (BoardListView* view : {f.left(), f.centre(), f.right()})
        QCOMPARE(view->model()->rowCount(), 0);
    for (const char* item : {"N21", "N1", "MenuItem1", "MenuItem2", "MenuItem4", "MenuItem6", "SpeedButton1Action",
                             "SpeedButton2Action", "SpeedButton3Action"})
        f.trigger(item);
    QCOMPARE(f.text("Edit17"), QStringLiteral("0,00 руб."));
    QCOMPARE(f.text("Edit12"), QStringLiteral("Доплатить до равенства  0,00 руб."));
    QCOMPARE(f.text("Edit10"), QStringLiteral("Вычесть до равенства  0,00 руб."));
    f.trigger("SpeedButton4Action");
    QVERIFY(f.tp.dialogs.shown.isEmpty());
}

void TestBoard::failedLoadLeavesBoard() {
    Fixture f({{QStringLiteral("Стол"), d(100), Null, Null, i(1), Null},
               {QStringLiteral("Шкаф"), d(50), Null, Null, Null, Null}});
    f.program().dataModule().connection().execute(
        QStringLiteral("UPDATE \"Таблица\" SET \"Цена 1\" = 'дорого' WHERE \"Код\" = 2"));
    QVERIFY_THROWS_EXCEPTION(Error, f.form().InsertDann());
    f.form().runCommand([&] { f.form().InsertDann(); });
    QCOMPARE(f.tp.dialogs.shown.size(), 1);
    QVERIFY2(f.tp.dialogs.shown[0].text.contains(QStringLiteral("«Шкаф»")), qPrintable(f.tp.dialogs.shown[0].text));
    QCOMPARE(f.names(f.left()), (strings({"Стол"})));
    QCOMPARE(f.names(f.centre()), (strings({"Шкаф"})));
    QCOMPARE(f.text("Edit17"), QStringLiteral("150,00 руб."));
}

void TestBoard::totalsBeforeFirstComputation() {
    QFrame panel;
    board::TotalsPanel totals(panel, QStringLiteral("Сторона1"), QStringLiteral("Сторона2"));
    for (const char* name : {"Edit17", "Edit18", "Edit19", "Edit20"})
        QCOMPARE(panel.findChild<QLineEdit*>(QString::fromLatin1(name))->text(), QStringLiteral("0.00 руб."));
    QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("Label14"))->text(), QStringLiteral("  Сторона1"));
    QCOMPARE(panel.findChild<QLabel*>(QStringLiteral("Label8"))->text(), QStringLiteral("  Сторона2"));
    const QStringList hints{panel.findChild<QLabel*>(QStringLiteral("LabelHint1"))->text(),
                            panel.findChild<QLabel*>(QStringLiteral("LabelHint2"))->text(),
                            panel.findChild<QLabel*>(QStringLiteral("LabelHint3"))->text()};
    QCOMPARE(hints, (strings({"Перенос имущества из колонки в колонку", "можно производить с помощью ",
                              "перетаскивания \"мышью\""})));
    QVERIFY(panel.findChild<QWidget*>(QStringLiteral("ToolBar4")));
    QVERIFY(panel.findChild<QWidget*>(QStringLiteral("ToolBar2")));
}

void TestBoard::longPartyNameIsElided() {
    Fixture f({{QStringLiteral("Дом"), d(1000), Null, Null, i(1), Null}});
    f.form().resize(670, f.form().height());
    QCoreApplication::processEvents();
    const QString longName = QStringLiteral("Общество с ограниченной ответственностью «Очень длинное название "
                                            "предприятия, которое не помещается в строку итогов»");
    f.program().state.party1Name = longName;
    f.form().SummStr();
    QCoreApplication::processEvents(); // the rows are laid out
    auto* label = f.form().findChild<QLabel*>(QStringLiteral("Label14"));
    QVERIFY(label->text().endsWith(QChar(0x2026)));
    QVERIFY(label->text().startsWith(QStringLiteral("  Общество")));
    QCOMPARE(label->toolTip(), longName);
    // The sums and the equalising line's text stay inside the row; only the field's
    // empty end may reach past it.
    auto* row = f.form().findChild<QWidget*>(QStringLiteral("ToolBar4"));
    auto* equalising = f.form().findChild<QLineEdit*>(QStringLiteral("Edit12"));
    QVERIFY(!equalising->text().isEmpty());
    QVERIFY(equalising->x() + equalising->fontMetrics().horizontalAdvance(equalising->text()) <= row->width());
    QCOMPARE(f.text("Label8"), QStringLiteral("   . ."));
    QVERIFY(f.form().findChild<QLabel*>(QStringLiteral("Label8"))->toolTip().isEmpty());
}

void TestBoard::totalsPanel() {
    Fixture f({{QStringLiteral("Дом"), d(1000), Null, Null, i(1), Null},
               {QStringLiteral("Машина"), d(400), Null, Null, i(-1), Null},
               {QStringLiteral("Гараж"), d(250), Null, Null, Null, Null}});
    QCOMPARE(f.text("Edit17"), QStringLiteral("1650,00 руб."));
    QCOMPARE(f.text("Edit18"), QStringLiteral("1400,00 руб."));
    QCOMPARE(f.text("Edit19"), QStringLiteral("250,00 руб."));
    QCOMPARE(f.text("Edit20"), QStringLiteral("700,00 руб."));
    QCOMPARE(f.text("Edit16"), QStringLiteral("1000,00 руб.  "));
    QCOMPARE(f.text("Edit9"), QStringLiteral("400,00 руб.  "));
    QCOMPARE(f.text("Edit12"), QStringLiteral("Вычесть до равенства  300,00 руб."));
    QCOMPARE(f.text("Edit10"), QStringLiteral("Доплатить до равенства  300,00 руб."));
    QCOMPARE(f.text("Label15"), QStringLiteral(" ,   сумма имущества  "));
    QCOMPARE(f.text("Label13"), QStringLiteral(" ,   сумма имущества  "));
    for (const char* name : {"Edit17", "Edit16", "Edit12"}) {
        auto* edit = f.form().findChild<QLineEdit*>(QString::fromLatin1(name));
        QVERIFY(edit->isReadOnly());
        QVERIFY(!edit->hasFrame());
    }
    QCOMPARE(f.program().state.share1Total, Money::fromDecimalText(u"1000"));
    QCOMPARE(f.program().state.share2Total, Money::fromDecimalText(u"400"));
    QCOMPARE(f.program().state.undistributedTotal, Money::fromDecimalText(u"250"));

    // Names and currency show at the next computation, and only then.
    AppState& state = f.program().state;
    state.party1Name = QStringLiteral("Иванов И. И.");
    state.currencySuffix = QStringLiteral("долл.США");
    // The template's parties are natural persons with empty names: " . .".
    QCOMPARE(f.text("Label14"), QStringLiteral("   . ."));
    f.form().SummStr();
    QCOMPARE(f.text("Label14"), QStringLiteral("  Иванов И. И."));
    QCOMPARE(f.text("Label8"), QStringLiteral("   . ."));
    QCOMPARE(f.text("Edit17"), QStringLiteral("1650,00 долл.США"));
    for (BoardListView* view : {f.left(), f.centre(), f.right()})
        QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Цена, долл.США"));

    // A move recomputes at once: 100.25 against 0 halves to 50.13.
    f.trigger("SpeedButton4Action");
    state.currencySuffix = QStringLiteral("руб.");
    f.program().dataModule().connection().execute(
        QStringLiteral("UPDATE \"Таблица\" SET \"Цена 1\" = 100.25 WHERE \"Код\" = 1"));
    f.form().InsertDann();
    f.select(f.centre(), 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.text("Edit20"), QStringLiteral("50,13 руб."));
    QCOMPARE(f.text("Edit12"), QStringLiteral("Вычесть до равенства  50,13 руб."));
    QCOMPARE(f.text("Edit10"), QStringLiteral("Доплатить до равенства  50,13 руб."));
}

void TestBoard::toolbarMovesStoreTheTag() {
    Fixture f({{QStringLiteral("Пять"), d(1), Null, Null, i(5), Null},
               {QStringLiteral("Минус три"), d(2), Null, Null, i(-3), Null},
               {QStringLiteral("Пусто"), d(4), Null, Null, Null, Null}});
    f.select(f.left(), 0);
    f.trigger("SpeedButton3Action"); // Направо
    QCOMPARE(f.stored(1), i(-1));
    f.select(f.right(), 0);
    f.trigger("SpeedButton2Action"); // Нераспределенное: "Минус три"
    QCOMPARE(f.stored(2), i(0));
    f.select(f.centre(), 0);
    f.trigger("SpeedButton1Action"); // Налево: "Пусто"
    QCOMPARE(f.stored(3), i(1));
    QCOMPARE(f.names(f.left()), (strings({"Пусто"})));
    QCOMPARE(f.names(f.centre()), (strings({"Минус три"})));
    QCOMPARE(f.names(f.right()), (strings({"Пять"})));
    QCOMPARE(f.text("Edit16"), QStringLiteral("4,00 руб.  "));
    QCOMPARE(f.text("Edit9"), QStringLiteral("1,00 руб.  "));
    // The other variant's column was never touched.
    QCOMPARE(f.stored(1, "2_ц1"), Null);

    // Nothing selected any more: the buttons do nothing, though ItemSelected is still set.
    f.trigger("SpeedButton3Action");
    f.trigger("SpeedButton2Action");
    QCOMPARE(f.names(f.left()), (strings({"Пусто"})));
    QCOMPARE(f.stored(3), i(1));
    QVERIFY(f.tp.dialogs.shown.isEmpty());
}

void TestBoard::moveClearsCaseSavedOnlyOnChange() {
    Fixture f({{QStringLiteral("Один"), d(1), Null, Null, i(1), Null},
               {QStringLiteral("Пять"), d(1), Null, Null, i(5), Null},
               {QStringLiteral("Пусто"), d(1), Null, Null, Null, Null}});
    AppState& state = f.program().state;
    QVERIFY(state.caseSaved);
    f.select(f.left(), 0);
    f.trigger("SpeedButton1Action"); // 1 stays 1
    QVERIFY(state.caseSaved);
    QCOMPARE(f.names(f.left()), (strings({"Пять", "Один"})));
    f.select(f.centre(), 0);
    f.trigger("SpeedButton2Action"); // empty becomes 0
    QCOMPARE(f.stored(3), i(0));
    QVERIFY(!state.caseSaved);
    state.caseSaved = true;
    f.select(f.left(), 0);
    f.trigger("SpeedButton1Action"); // 5 becomes 1
    QCOMPARE(f.stored(2), i(1));
    QVERIFY(!state.caseSaved);

    // The close query now offers to save.
    f.tp.dialogs.nextAnswers.push_back(QMessageBox::Cancel);
    QVERIFY(!f.form().close());
    QCOMPARE(f.tp.dialogs.shown.last().text, QStringLiteral("Сохранить файл?"));
}

void TestBoard::moveToOwnListGoesToTheEnd() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, i(1), Null},
               {QStringLiteral("Б"), d(2), Null, Null, i(1), Null},
               {QStringLiteral("В"), d(3), Null, Null, i(1), Null}});
    f.select(f.left(), 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.names(f.left()), (strings({"Б", "В", "А"})));
    QCOMPARE(f.stored(1), i(1));
    QCOMPARE(f.text("Edit16"), QStringLiteral("6,00 руб.  "));
}

void TestBoard::sameNamesMoveIndependently() {
    Fixture f({{QStringLiteral("Стул"), d(10), Null, Null, Null, Null},
               {QStringLiteral("Стул"), d(20), Null, Null, Null, Null}});
    f.select(f.centre(), 1);
    f.trigger("SpeedButton3Action");
    QCOMPARE(f.stored(1), Null);
    QCOMPARE(f.stored(2), i(-1));
    QCOMPARE(f.prices(f.right()), (strings({"20"})));
    QCOMPARE(f.prices(f.centre()), (strings({"10"})));
    f.form().InsertDann();
    QCOMPARE(f.prices(f.right()), (strings({"20"})));
}

void TestBoard::nameWithQuotes() {
    const QString name = QStringLiteral("Телевизор \"Samsung\" 55\", [б/у] ' ) ; --");
    Fixture f({{name, d(42000), Null, Null, Null, Null}});
    f.select(f.centre(), 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.stored(1), i(1));
    QCOMPARE(f.names(f.left()), QStringList{name});
}

void TestBoard::removedRowIsNotReselected() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, Null, Null},
               {QStringLiteral("Б"), d(2), Null, Null, Null, Null},
               {QStringLiteral("В"), d(3), Null, Null, Null, Null}});
    f.centre()->setFocus();
    f.select(f.centre(), 0);
    f.centre()->setCurrentIndex(f.centre()->model()->index(0, 0));
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.centre()->selectedRow(), -1);
    QVERIFY(!f.centre()->selectionModel()->hasSelection());
    // A second "Налево" does nothing: the next row was not selected by the removal.
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.names(f.left()), (strings({"А"})));
    QCOMPARE(f.names(f.centre()), (strings({"Б", "В"})));
    QCOMPARE(f.stored(2), Null);

    // Neither a move nor a reload touches the latest selection change.
    auto* board = f.form().findChild<board::Board*>(QStringLiteral("Board"));
    QVERIFY(board->itemSelected());
    QCOMPARE(board->selectedList(), f.centre());
    f.select(f.right(), 0);
    f.select(f.left(), 0);
    f.form().InsertDann();
    QVERIFY(board->itemSelected());
    QCOMPARE(board->selectedList(), f.left());
    QCOMPARE(f.left()->selectedRow(), -1);
    f.trigger("SpeedButton3Action");
    QCOMPARE(f.form().boardCount(-1), 0);
    // Deselecting is a selection change too.
    f.select(f.centre(), 1);
    f.centre()->clearSelection();
    QVERIFY(!board->itemSelected());
    QCOMPARE(board->selectedList(), f.centre());
}

void TestBoard::moveShowsEveryListAsRepainted_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("scrollTo"); // the row the source list is scrolled to first
    QTest::addColumn<int>("row");      // the row moved, counted from the end when negative
    QTest::addColumn<QString>("action");
    QTest::newRow("top to the end of a long list, out of sight") << "ListView1" << 0 << 0 << "SpeedButton1Action";
    QTest::newRow("last row of a scrolled list") << "ListView2" << 39 << -1 << "SpeedButton2Action";
    QTest::newRow("middle row to a short list, in sight") << "ListView1" << 30 << 33 << "SpeedButton3Action";
    QTest::newRow("above the rows in sight") << "ListView2" << 25 << 2 << "SpeedButton3Action";
}

// A move repaints only the rows that moved; what the window shows afterwards must
// be what a list painted afresh shows.
void TestBoard::moveShowsEveryListAsRepainted() {
    QFETCH(QString, source);
    QFETCH(int, scrollTo);
    QFETCH(int, row);
    QFETCH(QString, action);
    QList<ItemRow> rows;
    for (int n = 0; n < 100; ++n)
        rows.append({QStringLiteral("Предмет %1").arg(n), d(100 + n), Null, Null,
                     n < 60 ? i(0) : (n < 97 ? i(1) : i(-1)), Null});
    Fixture f(rows);
    BoardListView* from = f.list(source.toLatin1().constData());
    const int count = from->model()->rowCount();
    from->scrollTo(from->model()->index(scrollTo, 0), QAbstractItemView::PositionAtTop);
    // Twice: the first move after a load lays the lists out in full.
    for (int move = 0; move < 2; ++move) {
        f.select(from, row < 0 ? from->model()->rowCount() + row : row);
        QTest::qWait(50); // the lists lay themselves out on a timer, then repaint
        f.trigger(action.toLatin1().constData());
        QTest::qWait(50);
    }
    QCOMPARE(from->model()->rowCount(), count - 2);
    for (BoardListView* view : {f.left(), f.centre(), f.right()}) {
        QWidget* viewport = view->viewport();
        const QPoint at = viewport->mapTo(&f.form(), QPoint(0, 0));
        const QImage shown = f.form()
                                 .screen()
                                 ->grabWindow(f.form().winId(), at.x(), at.y(), viewport->width(), viewport->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage repainted = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(shown == repainted, qPrintable(view->objectName()));
    }
}

void TestBoard::popupCommands() {
    Fixture f({{QStringLiteral("Лево"), d(1), Null, Null, i(1), Null},
               {QStringLiteral("Центр"), d(2), Null, Null, i(0), Null},
               {QStringLiteral("Право"), d(4), Null, Null, i(-1), Null}});
    // Before any selection nothing moves.
    for (const char* item : {"N21", "N1", "MenuItem1", "MenuItem2", "MenuItem4", "MenuItem6"})
        f.trigger(item);
    QCOMPARE(f.form().boardCount(1), 1);
    QCOMPARE(f.form().boardCount(0), 1);
    QCOMPARE(f.form().boardCount(-1), 1);

    f.select(f.left(), 0);
    f.trigger("N21"); // Лево -> right
    QCOMPARE(f.stored(1), i(-1));
    f.select(f.right(), 0);
    f.trigger("MenuItem6"); // Право -> centre
    QCOMPARE(f.stored(3), i(0));
    f.select(f.centre(), 0);
    f.trigger("MenuItem1"); // Центр -> left
    QCOMPARE(f.stored(2), i(1));
    f.select(f.centre(), 0);
    f.trigger("MenuItem2"); // Право -> right
    QCOMPARE(f.stored(3), i(-1));
    f.select(f.right(), 0);
    f.trigger("MenuItem4"); // Лево -> left
    QCOMPARE(f.stored(1), i(1));
    f.select(f.left(), 0);
    f.trigger("N1"); // Центр -> centre
    QCOMPARE(f.stored(2), i(0));
    QCOMPARE(f.names(f.left()), (strings({"Лево"})));
    QCOMPARE(f.names(f.centre()), (strings({"Центр"})));
    QCOMPARE(f.names(f.right()), (strings({"Право"})));

    // Each menu belongs to its list and pops up there.
    QVERIFY(f.form().findChild<QMenu*>(QStringLiteral("PopupMenu1"))->findChild<QAction*>(QStringLiteral("N21")) ||
            f.form()
                .findChild<QMenu*>(QStringLiteral("PopupMenu1"))
                ->actions()
                .contains(f.form().findChild<QAction*>(QStringLiteral("N21"))));
    QCOMPARE(f.left()->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestBoard::popupCaptionsNameTheParties() {
    Fixture f(QList<ItemRow>{});
    const auto caption = [&](const char* name) {
        return f.form().findChild<QAction*>(QString::fromLatin1(name))->text();
    };
    // Start-up names the parties of the template's case: natural persons with empty names.
    QCOMPARE(caption("N21"), QStringLiteral(" . ."));
    QCOMPARE(caption("N1"), QStringLiteral("Нераспределенное"));
    QCOMPARE(caption("MenuItem1"), QStringLiteral(" . ."));
    f.program().state.party1Name = QStringLiteral("Иванов");
    f.program().state.party2Name = QStringLiteral("ООО \"Рога & Копыта\"");
    f.form().showPartyNames();
    QCOMPARE(caption("N21"), QStringLiteral("ООО \"Рога && Копыта\""));
    QCOMPARE(caption("MenuItem1"), QStringLiteral("Иванов"));
    QCOMPARE(caption("MenuItem2"), QStringLiteral("ООО \"Рога && Копыта\""));
    QCOMPARE(caption("MenuItem4"), QStringLiteral("Иванов"));
    QCOMPARE(caption("MenuItem6"), QStringLiteral("Нераспределенное"));
}

void TestBoard::dropMovesSelectedItemToTheEnd() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, Null, Null},
               {QStringLiteral("Б"), d(2), Null, Null, Null, Null},
               {QStringLiteral("В"), d(3), Null, Null, i(1), Null}});
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (BoardListView* view : {f.left(), f.centre(), f.right()})
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest));
    f.select(f.centre(), 0);
    std::unique_ptr<QMimeData> mime(f.dragData(f.centre(), 0));
    QVERIFY(f.drop(f.left(), mime.get(), 0)); // over the item "В": still appended
    QCOMPARE(f.names(f.left()), (strings({"В", "А"})));
    QCOMPARE(f.stored(1), i(1));
    QCOMPARE(f.text("Edit16"), QStringLiteral("4,00 руб.  "));

    // Onto its own list: to the end.
    f.select(f.left(), 0);
    mime.reset(f.dragData(f.left(), 0));
    f.drop(f.left(), mime.get());
    QCOMPARE(f.names(f.left()), (strings({"А", "В"})));
    QCOMPARE(f.stored(3), i(1));

    f.select(f.centre(), 0);
    mime.reset(f.dragData(f.centre(), 0));
    f.drop(f.right(), mime.get());
    QCOMPARE(f.names(f.right()), (strings({"Б"})));
    QCOMPARE(f.stored(2), i(-1));
    QVERIFY(f.tp.dialogs.shown.isEmpty());
}

void TestBoard::dropFromElsewhereIsRefused() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, Null, Null}});
    f.select(f.centre(), 0);
    QMimeData text;
    text.setText(QStringLiteral("А"));
    QVERIFY(!f.drop(f.left(), &text));
    // Another window's board: the same data under another token.
    QMimeData foreign;
    foreign.setData(board::BoardColumnModel::MimeType,
                    board::encodeBoardDrag({"another-window", 0, f.centre()->columnModel().row(0).key}));
    QVERIFY(!f.drop(f.left(), &foreign));
    std::unique_ptr<QMimeData> own(f.dragData(f.centre(), 0));
    // The drop itself checks again: data that changed after the drag was accepted.
    QVERIFY(f.drop(f.left(), &foreign, -1, own.get()));
    QMimeData stale;
    const auto parts = own->data(board::BoardColumnModel::MimeType).split('\n');
    stale.setData(board::BoardColumnModel::MimeType, board::encodeBoardDrag({parts[0], 0, 999}));
    QVERIFY(!f.drop(f.left(), &stale));
    QVERIFY(f.drop(f.left(), &stale, -1, own.get()));
    QCOMPARE(f.form().boardCount(1), 0);
    QCOMPARE(f.form().boardCount(0), 1);
    QCOMPARE(f.stored(1), Null);
    // With nothing selected in the source there is nothing to drag.
    f.centre()->clearSelection();
    QVERIFY(!f.drop(f.left(), own.get()));
    QCOMPARE(f.form().boardCount(1), 0);
}

void TestBoard::plainClickStartsNoMove() {
    Fixture f(
        {{QStringLiteral("А"), d(1), Null, Null, Null, Null}, {QStringLiteral("Б"), d(2), Null, Null, Null, Null}});
    QApplication::processEvents();
    const QPoint at = f.centre()->visualRect(f.centre()->model()->index(1, 0)).center();
    QTest::mouseClick(f.centre()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(f.centre()->selectedRow(), 1);
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б"})));
    QCOMPARE(f.stored(2), Null);
    // A drag that no list receives moves nothing either.
    const QPoint first = f.centre()->visualRect(f.centre()->model()->index(0, 0)).center();
    QTest::mousePress(f.centre()->viewport(), Qt::LeftButton, {}, first);
    // The first move makes the view ready to drag, the next one beyond the distance starts it.
    QTest::mouseMove(f.centre()->viewport(), first + QPoint(0, 1));
    QTest::mouseMove(f.centre()->viewport(), first + QPoint(0, 3 * QApplication::startDragDistance()));
    QTest::mouseRelease(f.centre()->viewport(), Qt::LeftButton, {},
                        first + QPoint(0, 3 * QApplication::startDragDistance()));
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б"})));
    QCOMPARE(f.stored(1), Null);
    f.select(f.centre(), 1);
    // The clicked item is the one the buttons move.
    f.trigger("SpeedButton3Action");
    QCOMPARE(f.names(f.right()), (strings({"Б"})));
    QCOMPARE(f.stored(2), i(-1));
}

void TestBoard::failedMoveLeavesBoard() {
    Fixture f(
        {{QStringLiteral("А"), d(1), Null, Null, Null, Null}, {QStringLiteral("Б"), d(2), Null, Null, Null, Null}});
    // The row is gone behind the board's back.
    f.program().dataModule().connection().execute(QStringLiteral("DELETE FROM \"Таблица\" WHERE \"Код\" = 1"));
    f.select(f.centre(), 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.tp.dialogs.shown.size(), 1);
    QCOMPARE(f.tp.dialogs.shown[0].icon, QMessageBox::Critical);
    QVERIFY2(f.tp.dialogs.shown[0].text.contains(QStringLiteral("«А»")), qPrintable(f.tp.dialogs.shown[0].text));
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б"})));
    QCOMPARE(f.form().boardCount(1), 0);
    QCOMPARE(f.text("Edit19"), QStringLiteral("3,00 руб."));
    QVERIFY(f.program().state.caseSaved);

    // A store that cannot be written at all.
    f.program().dataModule().disconnect();
    f.select(f.centre(), 1);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.tp.dialogs.shown.size(), 2);
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б"})));
}

void TestBoard::gatherUnderSecondVariant() {
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, i(1), i(-1)},
               {QStringLiteral("Б"), d(2), Null, Null, i(-1), i(5)},
               {QStringLiteral("В"), d(3), Null, Null, Null, Null},
               {QStringLiteral("Г"), d(4), Null, Null, i(1), i(0)}});
    AppState& state = f.program().state;
    state.divisionVariant = 1;
    f.form().InsertDann();
    // Moves reorder the lists; gathering reloads them in table order.
    f.select(f.right(), 0);
    f.trigger("SpeedButton2Action");
    QCOMPARE(f.names(f.centre()), (strings({"В", "Г", "А"})));
    state.caseSaved = true;
    f.trigger("SpeedButton4Action");
    QVERIFY(!state.caseSaved);
    for (qint64 key = 1; key <= 4; ++key)
        QCOMPARE(f.stored(key, "2_ц1"), i(0));
    QCOMPARE(f.stored(1), i(1));
    QCOMPARE(f.stored(2), i(-1));
    QCOMPARE(f.stored(3), Null);
    QCOMPARE(f.stored(4), i(1));
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б", "В", "Г"})));
    QCOMPARE(f.form().boardCount(1), 0);
    QCOMPARE(f.form().boardCount(-1), 0);
    QCOMPARE(f.text("Edit19"), QStringLiteral("10,00 руб."));
}

void TestBoard::layoutWidths_data() {
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("panel0");
    QTest::newRow("outer 678") << 670 << 226 << 232;
    QTest::newRow("outer 679") << 671 << 226 << 233;
    QTest::newRow("outer 680") << 672 << 227 << 234;
    QTest::newRow("outer 900") << 892 << 300 << 454;
}

void TestBoard::layoutWidths() {
    QFETCH(int, client);
    QFETCH(int, side);
    QFETCH(int, panel0);
    Fixture f({{QStringLiteral("А"), d(1), Null, Null, Null, Null}});
    f.form().resize(client, 500);
    QApplication::processEvents();
    f.form().FormResize();
    QApplication::processEvents();
    QCOMPARE(f.form().width(), client);
    QCOMPARE(f.left()->width(), side);
    QCOMPARE(f.right()->width(), side);
    QCOMPARE(f.centre()->width(), client - 2 * side);
    QCOMPARE(f.right()->x(), client - side);
    for (BoardListView* view : {f.left(), f.centre(), f.right()})
        QCOMPARE(view->horizontalHeader()->sectionSize(0),
                 view->width() - view->horizontalHeader()->sectionSize(1) - 25);
    QCOMPARE(f.form().Label1->x(), 5);
    QCOMPARE(f.form().Label1->width(), side - 10);
    QCOMPARE(f.form().Label2->x(), client - side + 5);
    QCOMPARE(f.form().Label2->width(), side - 10);
    QCOMPARE(f.form().statusPanels[0]->maximumWidth(), panel0);
}

void TestBoard::listsLookAsDesigned() {
    Fixture f(QList<ItemRow>{});
    const QColor side(167, 191, 237);
    QCOMPARE(f.left()->palette().color(QPalette::Base), side);
    QCOMPARE(f.right()->palette().color(QPalette::Base), side);
    QCOMPARE(f.centre()->palette().color(QPalette::Base), QColor(Qt::white));
    for (BoardListView* view : {f.left(), f.centre(), f.right()}) {
        QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Имущество"));
        QCOMPARE(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Цена, руб."));
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(view->width() >= 155);
    }
    // The selection shows only in the list that has the focus.
    const auto highlighted = [](BoardListView* view) {
        return view->palette().color(QPalette::Active, QPalette::Highlight) !=
               view->palette().color(QPalette::Active, QPalette::Base);
    };
    QVERIFY(!highlighted(f.centre()));
    f.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form()));
    f.centre()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(f.centre()->hasFocus());
    QVERIFY(highlighted(f.centre()));
    f.left()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(f.left()->hasFocus());
    QVERIFY(highlighted(f.left()));
    QVERIFY(!highlighted(f.centre()));
    QVERIFY(f.left()->x() < f.centre()->x());
    QVERIFY(f.centre()->x() < f.right()->x());
    for (const char* name : {"Edit17", "Edit18", "Edit19", "Edit20"}) {
        TFormMain& fresh = f.form();
        QVERIFY(fresh.findChild<QLineEdit*>(QString::fromLatin1(name)));
    }
}

void TestBoard::boardItemsForDocuments() {
    Fixture f({{QStringLiteral("А"), d(1.5), Null, Null, i(1), Null},
               {QStringLiteral("Б"), Null, Null, Null, i(1), Null},
               {QStringLiteral("В"), d(3), Null, Null, i(-1), Null}});
    const auto left = f.form().boardItems(1);
    QCOMPARE(left.size(), size_t(2));
    QCOMPARE(left[0].name, QStringLiteral("А"));
    QCOMPARE(left[0].price, QStringLiteral("1,5"));
    QCOMPARE(left[1].price, QString());
    QCOMPARE(f.form().boardItems(-1).at(0).name, QStringLiteral("В"));
    QVERIFY(f.form().boardItems(0).empty());
}

namespace {

// Five items: three undistributed, one with each party.
QList<ItemRow> keyboardCase() {
    return {{QStringLiteral("А"), d(1), Null, Null, Null, Null},
            {QStringLiteral("Б"), d(2), Null, Null, Null, Null},
            {QStringLiteral("В"), d(3), Null, Null, Null, Null},
            {QStringLiteral("Лево"), d(4), Null, Null, i(1), Null},
            {QStringLiteral("Право"), d(5), Null, Null, i(-1), Null}};
}

bool activate(Fixture& f) {
    f.form().activateWindow();
    return QTest::qWaitForWindowActive(&f.form());
}

} // namespace

void TestBoard::moveKeysInTooltips() {
    Fixture f(QList<ItemRow>{});
    const std::pair<const char*, const char*> expected[] = {{"SpeedButton1Action", "Налево (Ctrl+Left)"},
                                                            {"SpeedButton2Action", "Нераспределенное (Ctrl+Down)"},
                                                            {"SpeedButton3Action", "Направо (Ctrl+Right)"}};
    for (const auto& [name, tip] : expected) {
        QAction* act = f.form().findChild<QAction*>(QString::fromLatin1(name));
        QCOMPARE(act->toolTip(), QString::fromUtf8(tip));
        QCOMPARE(act->statusTip(), QString::fromUtf8(tip).section(QStringLiteral(" ("), 0, 0));
    }
}

void TestBoard::keyMoves_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QStringList>("centre");
    QTest::addColumn<QStringList>("right");
    QTest::addColumn<int>("selectedAfter"); // in the source list; -1 for none
    QTest::newRow("centre to party 1") << 0 << 1 << int(Qt::Key_Left) << strings({"Лево", "Б"}) << strings({"А", "В"})
                                       << strings({"Право"}) << 1;
    QTest::newRow("centre to party 2, last row")
        << 0 << 2 << int(Qt::Key_Right) << strings({"Лево"}) << strings({"А", "Б"}) << strings({"Право", "В"}) << 1;
    QTest::newRow("centre to its own end")
        << 0 << 0 << int(Qt::Key_Down) << strings({"Лево"}) << strings({"Б", "В", "А"}) << strings({"Право"}) << 0;
    QTest::newRow("party 1 to undistributed")
        << 1 << 0 << int(Qt::Key_Down) << strings({}) << strings({"А", "Б", "В", "Лево"}) << strings({"Право"}) << -1;
    QTest::newRow("party 2 to party 1") << -1 << 0 << int(Qt::Key_Left) << strings({"Лево", "Право"})
                                        << strings({"А", "Б", "В"}) << strings({}) << -1;
    QTest::newRow("party 1 to party 2") << 1 << 0 << int(Qt::Key_Right) << strings({}) << strings({"А", "Б", "В"})
                                        << strings({"Право", "Лево"}) << -1;
}

void TestBoard::keyMoves() {
    QFETCH(int, source);
    QFETCH(int, row);
    QFETCH(int, key);
    QFETCH(QStringList, left);
    QFETCH(QStringList, centre);
    QFETCH(QStringList, right);
    QFETCH(int, selectedAfter);
    Fixture f(keyboardCase());
    QVERIFY(activate(f));
    BoardListView& from = source == 0 ? *f.centre() : (source > 0 ? *f.left() : *f.right());
    from.setFocus();
    f.select(&from, row);
    QTest::keyClick(&from, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(f.names(f.left()), left);
    QCOMPARE(f.names(f.centre()), centre);
    QCOMPARE(f.names(f.right()), right);
    QCOMPARE(from.selectedRow(), selectedAfter);
    QVERIFY(from.hasFocus());
    if (selectedAfter >= 0)
        QCOMPARE(from.currentIndex().row(), selectedAfter);
    const qint64 movedKey = source == 0 ? row + 1 : (source > 0 ? 4 : 5);
    const int target = key == Qt::Key_Left ? 1 : (key == Qt::Key_Right ? -1 : 0);
    QCOMPARE(f.stored(movedKey).toLongLong(), qint64(target));
}

void TestBoard::keyMovesOneAfterAnother() {
    Fixture f(keyboardCase());
    QVERIFY(activate(f));
    f.centre()->setFocus();
    f.select(f.centre(), 0);
    for (int n = 0; n < 3; ++n)
        QTest::keyClick(f.centre(), Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(f.names(f.left()), (strings({"Лево", "А", "Б", "В"})));
    QVERIFY(f.names(f.centre()).isEmpty());
    QCOMPARE(f.text("Edit16"), QStringLiteral("10,00 руб.  "));
    // A move by the toolbar button leaves nothing selected, as before.
    f.select(f.left(), 0);
    f.trigger("SpeedButton3Action");
    QCOMPARE(f.names(f.right()), (strings({"Право", "Лево"})));
    QCOMPARE(f.left()->selectedRow(), -1);
}

void TestBoard::keyMoveNeedsASelection() {
    Fixture f(keyboardCase());
    QVERIFY(activate(f));
    f.centre()->setFocus();
    f.centre()->clearSelection();
    QTest::keyClick(f.centre(), Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(f.names(f.left()), (strings({"Лево"})));
    QCOMPARE(f.names(f.centre()), (strings({"А", "Б", "В"})));
    QVERIFY(f.program().state.caseSaved);
}

void TestBoard::tabGoesRoundTheLists() {
    Fixture f(keyboardCase());
    QVERIFY(activate(f));
    f.left()->setFocus();
    const std::pair<bool, BoardListView*> steps[] = {
        {true, f.centre()}, {true, f.right()}, {true, f.left()}, {false, f.right()}, {false, f.centre()}};
    for (const auto& [forward, expected] : steps) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), expected);
        QCOMPARE(expected->selectedRow(), 0); // the focused list shows its current row
    }
    // A move by key from the list Tab reached.
    QTest::keyClick(f.centre(), Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(f.names(f.right()), (strings({"Право", "А"})));
}

void TestBoard::menuKeyOpensPopupAtSelection_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Menu") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

void TestBoard::menuKeyOpensPopupAtSelection() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Fixture f(keyboardCase());
    QVERIFY(activate(f));
    f.centre()->setFocus();
    f.select(f.centre(), 2);
    QTest::keyClick(f.centre(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    auto* menu = f.form().findChild<QMenu*>(QStringLiteral("PopupMenu2"));
    QTRY_VERIFY(menu->isVisible());
    const QRect item = f.centre()->visualRect(f.centre()->model()->index(2, 0));
    QCOMPARE(menu->pos(), f.centre()->viewport()->mapToGlobal(item.center()));
    menu->hide();
    QVERIFY(!f.form().findChild<QMenu*>(QStringLiteral("PopupMenu1"))->isVisible());
}

void TestBoard::shareBarGeometry_data() {
    QTest::addColumn<QString>("share1");
    QTest::addColumn<QString>("share2");
    QTest::addColumn<QString>("undistributed");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("party1Width"); // of 300 pixels
    QTest::addColumn<int>("targetX");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("0 %") << "0"
                         << "250.5"
                         << "0"
                         << "" << false << 0 << 150
                         << strings({"Иванов 0,0 %", "Петрова 100,0 %", "Не распределено: 0,0 %"});
    QTest::newRow("50 %") << "100"
                          << "100"
                          << "200"
                          << "" << false << 150 << 150
                          << strings({"Иванов 50,0 %", "Петрова 50,0 %", "Не распределено: 50,0 %"});
    QTest::newRow("share 1/3") << "100"
                               << "200"
                               << "0.01"
                               << "1/3" << false << 100 << 100
                               << strings({"Иванов 33,3 %", "Петрова 66,7 %", "Не распределено: 0,0 %"});
    QTest::newRow("empty") << "0"
                           << "0"
                           << "12"
                           << "" << true << 0 << 150 << strings({"", "", "Не распределено: 100,0 %"});
    QTest::newRow("nothing at all") << "0"
                                    << "0"
                                    << "0"
                                    << "" << true << 0 << 150 << strings({"", "", ""});
}

void TestBoard::shareBarGeometry() {
    QFETCH(QString, share1);
    QFETCH(QString, share2);
    QFETCH(QString, undistributed);
    QFETCH(QString, target);
    QFETCH(bool, empty);
    QFETCH(int, party1Width);
    QFETCH(int, targetX);
    QFETCH(QStringList, labels);
    const board::ShareBar bar = board::shareBar({Money::fromDecimalText(share1), Money::fromDecimalText(share2),
                                                 Money::fromDecimalText(undistributed), Share::parse(target),
                                                 QStringLiteral("Иванов"), QStringLiteral("Петрова")});
    QCOMPARE(bar.empty, empty);
    QCOMPARE(bar.party1Width(300), party1Width);
    QCOMPARE(bar.targetX(300), targetX);
    QCOMPARE(QStringList({bar.party1Label, bar.party2Label, bar.undistributedLabel}), labels);
}

namespace {

QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(QPoint(x, y) * image.devicePixelRatio());
}

} // namespace

void TestBoard::chartFollowsTheTotals() {
    Fixture f({{QStringLiteral("Дом"), d(100), Null, Null, i(1), Null},
               {QStringLiteral("Машина"), d(300), Null, Null, i(-1), Null},
               {QStringLiteral("Гараж"), d(100), Null, Null, Null, Null}});
    // At the designed width the instructions keep all their room.
    f.form().resize(670, f.form().height());
    QCoreApplication::processEvents();
    for (const char* name : {"LabelHint1", "LabelHint2", "LabelHint3"}) {
        auto* hint = f.form().findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY2(hint->width() >= hint->sizeHint().width(), name);
    }
    // A wider window gives the bar the room to the right of them.
    f.form().resize(900, f.form().height());
    QCoreApplication::processEvents();
    auto* chart = f.form().findChild<board::ShareChart*>(QStringLiteral("ChartShares"));
    QVERIFY(chart);
    QVERIFY(chart->isVisible());
    QVERIFY2(chart->width() >= 150, qPrintable(QString::number(chart->width())));
    QCOMPARE(chart->bar().party1Label, QStringLiteral(" . . 25,0 %"));
    QCOMPARE(chart->bar().undistributedLabel, QStringLiteral("Не распределено: 20,0 %"));

    // A quarter in the left list's colour, the rest in the darker blue, the mark at the middle.
    QImage image = chart->grab().toImage();
    QRect bar = chart->barRect();
    const int y = bar.center().y();
    const int quarter = bar.left() + bar.width() / 4;
    QCOMPARE(pixel(image, bar.left() + bar.width() / 8, y), board::Party1BarColour);
    QCOMPARE(pixel(image, quarter + bar.width() / 8, y), board::Party2BarColour);
    QCOMPARE(pixel(image, bar.right() - 3, y), board::Party2BarColour);
    const int mark = bar.left() + chart->bar().targetX(bar.width());
    QCOMPARE(pixel(image, mark, y), chart->palette().color(QPalette::WindowText));

    // A move redraws it from the new sums: all distributed property with party 2.
    f.select(f.left(), 0);
    f.trigger("SpeedButton3Action");
    QCOMPARE(chart->bar().party1Label, QStringLiteral(" . . 0,0 %"));
    image = chart->grab().toImage();
    QCOMPARE(pixel(image, bar.left() + 3, y), board::Party2BarColour);

    // Nothing distributed: an empty frame that says so.
    f.form().ClearDann();
    QVERIFY(chart->bar().empty);
    image = chart->grab().toImage();
    const QColor background = chart->palette().color(QPalette::Window);
    QCOMPARE(pixel(image, bar.left() + 3, y), background);
    QCOMPARE(pixel(image, bar.right() - 3, y), background);
}

QTEST_MAIN(TestBoard)
#include "tst_board.moc"
