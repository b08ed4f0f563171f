// The board at 1,000, 10,000 and 100,000 items: loading a case until the lists and
// the totals show, one move (median of 100), and "Собрать"; with the ratios against
// a case of 100 items.
#include "BenchSupport.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Database.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTableView>

#include <cstdio>
#include <vector>

using namespace ravnobor;

namespace {

void makeCase(const QString& path, int items) {
    bench::makeCase(path, items,
                    QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", "
                                   "\"Согласованная цена\", \"1_ц1\") VALUES (?, ?, ?, ?, ?)"),
                    [](store::Statement& insert, int i) {
                        insert.bind(
                            1, QStringLiteral("Имущество № %1, инвентарный номер %2").arg(i).arg(i * 7919 % 100000));
                        insert.bind(2, 1000.0 + (i % 977) * 12.25).bind(3, 2000.5 + i % 13).bind(4, QVariant());
                        insert.bind(5, qint64(i % 3 - 1));
                    });
}

struct Figures {
    int items;
    double load;
    double reload;
    double move;
    double moveCommand; // the command alone, before the lists repaint
    double gather;
};

Figures measure(int items, const bench::BenchFolder& root) {
    const QString casePath = root.filePath(QStringLiteral("case%1.rvb").arg(items));
    makeCase(casePath, items);

    bench::BenchProgram harness(root);
    Program& program = harness.start();
    TFormMain& form = program.formMain();
    form.show();
    QApplication::processEvents();

    Figures f{items, 0, 0, 0, 0, 0};
    QElapsedTimer timer;
    // Open the case: working copy, reconnect, count, headings, board, totals, painted.
    program.state.caseFileName = casePath;
    timer.start();
    form.NewFile();
    QApplication::processEvents();
    f.load = bench::msSince(timer);

    timer.start();
    form.InsertDann();
    QApplication::processEvents();
    f.reload = bench::msSince(timer);

    auto* centre = form.findChild<QTableView*>(QStringLiteral("ListView1"));
    auto* left = form.findChild<QTableView*>(QStringLiteral("ListView2"));
    QAction* toLeft = form.findChild<QAction*>(QStringLiteral("SpeedButton1Action"));
    QAction* toCentre = form.findChild<QAction*>(QStringLiteral("SpeedButton2Action"));
    std::vector<double> moves;
    std::vector<double> commands;
    for (int i = 0; i < 100; ++i) {
        // From the middle of one list to the end of the other, and back again.
        QTableView* source = i % 2 == 0 ? centre : left;
        const int row = i % 2 == 0 ? source->model()->rowCount() / 2 : source->model()->rowCount() - 1;
        source->selectionModel()->select(source->model()->index(row, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QApplication::processEvents();
        timer.start();
        (i % 2 == 0 ? toLeft : toCentre)->trigger();
        commands.push_back(bench::msSince(timer));
        QApplication::processEvents();
        moves.push_back(bench::msSince(timer));
    }
    f.move = bench::median(moves);
    f.moveCommand = bench::median(commands);
    if (!harness.dialogs.shown.isEmpty())
        std::printf("unexpected message: %s\n", qPrintable(harness.dialogs.shown.first().text));

    timer.start();
    form.findChild<QAction*>(QStringLiteral("SpeedButton4Action"))->trigger();
    QApplication::processEvents();
    f.gather = bench::msSince(timer);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bench::BenchFolder root;

    std::vector<Figures> all;
    for (int items : {100, 1000, 10000, 100000})
        all.push_back(measure(items, root));
    const Figures& base = all.front();
    std::printf("%8s %10s %12s %10s %14s %11s %11s\n", "items", "load, ms", "InsertDann", "move, ms", "move command",
                "gather, ms", "move ratio");
    for (const Figures& f : all)
        std::printf("%8d %10.2f %12.2f %10.3f %14.3f %11.2f %11.2f\n", f.items, f.load, f.reload, f.move, f.moveCommand,
                    f.gather, f.move / base.move);
    const Figures& largest = all.back();
    std::printf("goals: move at 100000 within 2x of 100 items: %s (%.2fx); under 5 ms: %s; load under 1 s: %s\n",
                largest.move <= 2 * base.move ? "yes" : "NO", largest.move / base.move, largest.move < 5 ? "yes" : "NO",
                largest.load < 1000 ? "yes" : "NO");
    return 0;
}
