// Opening and saving cases of 1,000, 10,000 and 100,000 items through the program's own
// commands (Open: copy, check, load into the working copy, fill the board), against plain baselines measured in
// the same run:
//   Open: sqlite3 case.rvb "select * from Таблица" > /dev/null
//   Save: cp case.rvb copy.rvb && sync copy.rvb (a durable save must sync too)
// and a case of 1,000 items grown to 2 GB of empty space (a sparse file) against the
// same case without it: opening must cost what the content costs.
// Usage: bench_files [items...]
#include "BenchSupport.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/Layout.h"

#include <QApplication>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <vector>

using namespace ravnobor;

namespace {

constexpr int Runs = 5;

void runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_files: %s failed\n", qPrintable(program));
        std::exit(1);
    }
}

void makeCase(const QString& path, int items) {
    bench::makeCase(
        path, items,
        QStringLiteral(
            "INSERT INTO \"Таблица\" (\"Наименование\", \"Заметки\", \"Цена 1\", \"Цена 2\", "
            "\"Согласованная цена\", \"Оценка\", \"1_ц1\", \"2_ц1\") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"),
        [](store::Statement& insert, int i) {
            insert.bind(1, QStringLiteral("Предмет домашнего имущества № %1").arg(i));
            insert.bind(2, i % 3 == 0 ? QVariant(QStringLiteral("куплен в %1 г.").arg(2000 + i % 24)) : QVariant());
            insert.bind(3, 1000.0 + i * 1.25);
            insert.bind(4, 1100.0 + i * 1.5);
            insert.bind(5, i % 2 ? QVariant(1050.0 + i) : QVariant());
            insert.bind(6, i % 4 ? QStringLiteral("Эксперт") : QStringLiteral("Риэлтер"));
            insert.bind(7, qint64(i % 3 - 1));
            insert.bind(8, qint64((i + 1) % 3 - 1));
        });
}

// Opens the case through "Открыть"; false when it did not open with `items` items.
bool openThroughProgram(bench::BenchProgram& harness, Program& program, const QString& path, int items) {
    harness.dialogs.nextFileNames.push_back(path);
    program.formMain().File_OpenClick();
    return program.state.totalRecords == items && harness.dialogs.shown.isEmpty();
}

bool sparseCaseOpensAtItsContentCost(bench::BenchProgram& harness, Program& program, const bench::BenchFolder& root) {
    constexpr int Items = 1000;
    constexpr qint64 Size = qint64(2) << 30;
    const QString plain = root.filePath(QStringLiteral("plain.rvb"));
    const QString sparse = root.filePath(QStringLiteral("sparse.rvb"));
    makeCase(plain, Items);
    QFile::copy(plain, sparse);
    if (!QFile(sparse).resize(Size)) {
        std::fprintf(stderr, "bench_files: the sparse file could not be made\n");
        std::exit(1);
    }
    bool opened = true;
    const double base =
        bench::medianMs(Runs, [&] { opened = opened && openThroughProgram(harness, program, plain, Items); });
    const double open =
        bench::medianMs(Runs, [&] { opened = opened && openThroughProgram(harness, program, sparse, Items); });
    if (!opened) {
        std::fprintf(stderr, "bench_files: the sparse case did not open\n");
        std::exit(1);
    }
    std::printf(
        "sparse 2 GB case of %d items: open %.1f ms, the same case without the empty space %.1f ms, ratio %.2f\n",
        Items, open, base, open / base);
    return open <= 2 * base;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes{1000, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes.push_back(std::atoi(argv[i]));
    }

    const bench::BenchFolder root;
    bench::BenchProgram harness(root);
    Program& program = harness.start();
    TFormMain& formMain = program.formMain();

    std::printf("%9s %11s %14s %7s %11s %14s %7s\n", "items", "open ms", "sqlite3 ms", "ratio", "save ms", "cp+sync ms",
                "ratio");
    bool goalsMet = true;
    for (const int items : sizes) {
        const QString casePath = root.filePath(QStringLiteral("case-%1.rvb").arg(items));
        const QString copyPath = root.filePath(QStringLiteral("copy-%1.rvb").arg(items));
        const QString savedPath = root.filePath(QStringLiteral("saved-%1.rvb").arg(items));
        makeCase(casePath, items);

        const double openBase = bench::medianMs(Runs, [&] {
            runTool(QStringLiteral("sqlite3"), {casePath, QStringLiteral("select * from Таблица")});
        });
        const double open = bench::medianMs(Runs, [&] {
            harness.dialogs.nextFileNames.push_back(casePath);
            formMain.File_OpenClick();
        });
        if (program.state.totalRecords != items || !harness.dialogs.shown.isEmpty()) {
            std::fprintf(stderr, "bench_files: the case of %d items did not open\n", items);
            return 1;
        }
        const double saveBase = bench::medianMs(Runs, [&] {
            runTool(QStringLiteral("cp"), {casePath, copyPath});
            runTool(QStringLiteral("sync"), {copyPath});
        });
        const double save = bench::medianMs(Runs, [&] {
            harness.dialogs.nextFileNames.push_back(savedPath);
            formMain.File_SaveAsClick();
        });
        if (program.state.caseFileName != savedPath || !harness.dialogs.shown.isEmpty()) {
            std::fprintf(stderr, "bench_files: the case of %d items was not saved\n", items);
            return 1;
        }
        std::printf("%9d %11.1f %14.1f %7.2f %11.1f %14.1f %7.2f\n", items, open, openBase, open / openBase, save,
                    saveBase, save / saveBase);
        if (items >= 100000)
            goalsMet = goalsMet && open <= 1.5 * openBase && save <= 2 * saveBase;
    }
    std::printf("goal at 100,000 items: open <= 1.5x sqlite3, save <= 2x cp+sync: %s\n", goalsMet ? "met" : "NOT met");
    const bool sparseMet = sparseCaseOpensAtItsContentCost(harness, program, root);
    std::printf("goal for the sparse case: open <= 2x the same case without the empty space: %s\n",
                sparseMet ? "met" : "NOT met");
    return 0;
}
