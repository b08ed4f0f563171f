// Items split in shares on the board: opening a case of 100,000 items of which 10,000
// are split until the lists and the totals show, a reload, and a move out of a split,
// against the same case without shares.
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

constexpr int Items = 100000;

// Every tenth item split when `withShares`: by halves, thirds and percents in turn.
void makeCase(const QString& path, bool withShares) {
    bench::makeCase(path, Items,
                    QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", "
                                   "\"Согласованная цена\", \"1_ц1\") VALUES (?, ?, ?, ?, ?)"),
                    [](store::Statement& insert, int i) {
                        insert.bind(1, QStringLiteral("Имущество № %1").arg(i));
                        insert.bind(2, 1000.0 + (i % 977) * 12.25).bind(3, 2000.5 + i % 13).bind(4, QVariant());
                        insert.bind(5, qint64(i % 3 - 1));
                    });
    store::Database db(path);
    for (const char* column : {"1_доля", "2_доля"})
        db.execute(QStringLiteral("ALTER TABLE \"Таблица\" ADD COLUMN \"%1\" TEXT").arg(QString::fromUtf8(column)));
    if (!withShares)
        return;
    db.execute(QStringLiteral("UPDATE \"Таблица\" SET \"1_ц1\" = 0, \"1_доля\" = CASE (rowid / 10) % 3 "
                              "WHEN 0 THEN '1/2' WHEN 1 THEN '1/3' ELSE '33,33' END WHERE rowid % 10 = 0"));
}

struct Figures {
    double load = 0;
    double reload = 0;
    double move = 0;
};

Figures measure(bool withShares, const bench::BenchFolder& root) {
    const QString casePath = root.filePath(withShares ? QStringLiteral("split.rvb") : QStringLiteral("whole.rvb"));
    makeCase(casePath, withShares);
    bench::BenchProgram harness(root);
    Program& program = harness.start();
    TFormMain& form = program.formMain();
    form.show();
    QApplication::processEvents();

    Figures f;
    QElapsedTimer timer;
    program.state.caseFileName = casePath;
    timer.start();
    form.NewFile();
    QApplication::processEvents();
    f.load = bench::msSince(timer);
    f.reload = bench::medianMs(5, [&] {
        form.InsertDann();
        QApplication::processEvents();
    });

    // A row from the middle of the left list, where the split items stand, to the centre.
    auto* left = form.findChild<QTableView*>(QStringLiteral("ListView2"));
    QAction* toCentre = form.findChild<QAction*>(QStringLiteral("SpeedButton2Action"));
    std::vector<double> moves;
    for (int i = 0; i < 50; ++i) {
        const int row = left->model()->rowCount() / 2 - 10 * i;
        left->selectionModel()->select(left->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QApplication::processEvents();
        timer.start();
        toCentre->trigger();
        QApplication::processEvents();
        moves.push_back(bench::msSince(timer));
    }
    f.move = bench::median(moves);
    if (!harness.dialogs.shown.isEmpty())
        std::printf("unexpected message: %s\n", qPrintable(harness.dialogs.shown.first().text));
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bench::BenchFolder root;
    const Figures whole = measure(false, root);
    const Figures split = measure(true, root);
    std::printf("%-28s %10s %12s %10s\n", "100000 items", "load, ms", "InsertDann", "move, ms");
    std::printf("%-28s %10.2f %12.2f %10.3f\n", "no shares", whole.load, whole.reload, whole.move);
    std::printf("%-28s %10.2f %12.2f %10.3f\n", "10000 split in shares", split.load, split.reload, split.move);
    std::printf("ratios: load %.2fx, InsertDann %.2fx, move %.2fx\n", split.load / whole.load,
                split.reload / whole.reload, split.move / whole.move);
    std::printf("goal: load and totals within 1.2x of the case without shares: %s\n",
                split.load <= 1.2 * whole.load && split.reload <= 1.2 * whole.reload ? "yes" : "NO");
    return 0;
}
