// A move the way the user makes it, at 100, 10,000 and 100,000 items: the main window
// shown and laid out, row 0 of the undistributed list clicked, then a click on the
// toolbar's "Налево" until the window has repainted (median of many); with the ratio
// against 100 items. At 100,000 items also the division variant and the price basis
// switched through "Вариант раздела", until the window has repainted.
// Undo and redo (Ctrl+Z, Ctrl+Shift+Z on the main window) of a move at every size, and of
// "Собрать" at 100,000 items; the memory that the history of 1,000 moves takes there.
// Goals: a move at 100,000 items within 2x of 100 items and under 2 ms; a switch under 200 ms;
// an undo or redo costs what its step cost; "Собрать" and its undo under 1 s; 1,000 moves
// of history under 10 MB.
#include "BenchSupport.h"
#include "settings/RadioGroup.h"
#include "settings/TFormVariant.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Database.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using namespace ravnobor;

namespace {

constexpr int TimedMoves = 300;
constexpr int WarmUpMoves = 30;

void makeCase(const QString& path, int items) {
    bench::makeCase(
        path, items,
        QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"Согласованная цена\", "
                       "\"1_ц1\", \"2_ц1\") VALUES (?, ?, ?, ?, ?, ?)"),
        [](store::Statement& insert, int i) {
            insert.bind(1, QStringLiteral("Имущество № %1, инвентарный номер %2").arg(i).arg(i * 7919 % 100000));
            insert.bind(2, 1000.0 + (i % 977) * 12.25).bind(3, 2000.5 + i % 13).bind(4, 1500.75 + i % 7);
            // Most items undistributed, a few already with each party.
            insert.bind(5, qint64(i % 10 == 0 ? 1 : (i % 10 == 1 ? -1 : 0))).bind(6, qint64((i + 1) % 3 - 1));
        });
}

// Everything the click set going: the command, then the lists' delayed layout, and
// the repaint; a few rounds, as one event may post the next.
void settle() {
    for (int round = 0; round < 5; ++round) {
        QApplication::processEvents();
        QApplication::sendPostedEvents();
    }
}

void clickRow(QTableView& view, int row) {
    view.scrollTo(view.model()->index(row, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(view.model()->index(row, 0)).center());
    settle();
}

// Opens "Вариант раздела" as the user does and clicks one item of one of its groups.
// This thread's processor time: on a machine shared with other work, the wall clock
// also counts the time spent waiting for a processor.
double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Timing {
    double wall;
    double cpu;
};

Timing switchMs(TFormMain& form, ScriptedUserDialogs& dialogs, RadioGroup* TFormVariant::*group, int item) {
    dialogs.nextDialogs.push_back([group, item](QDialog& dialog) {
        auto& variant = static_cast<TFormVariant&>(dialog);
        (variant.*group)->button(item)->click();
        return int(QDialog::Accepted);
    });
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = threadCpuMs();
    form.action(QStringLiteral("Serv_Variant"))->trigger();
    settle();
    return {bench::msSince(timer), threadCpuMs() - cpuStart};
}

// One program with a case of `items` open, its main window shown and laid out.
class Session {
public:
    explicit Session(int items) : m_items(items), m_harness(m_folder) {
        const QString casePath = m_folder.filePath(QStringLiteral("window%1.rvb").arg(items));
        makeCase(casePath, items);
        m_form = &m_harness.start({casePath}).formMain();
        m_form->show();
        if (!QTest::qWaitForWindowExposed(m_form))
            std::printf("the main window was not shown\n");
        settle();
        m_centre = m_form->findChild<QTableView*>(QStringLiteral("ListView1"));
        m_left = m_form->findChild<QTableView*>(QStringLiteral("ListView2"));
        m_toLeft = m_form->ToolBar1->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
        m_toCentre = m_form->ToolBar1->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    }

    int items() const { return m_items; }

    // Row 0 of the undistributed list to party 1 (timed), then back, so that every list keeps its size.
    void move(bool record) {
        clickRow(*m_centre, 0);
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        QTest::mouseClick(m_toLeft, Qt::LeftButton);
        settle();
        const double move = bench::msSince(timer);
        const double moveCpu = threadCpuMs() - cpuStart;
        clickRow(*m_left, m_left->model()->rowCount() - 1);
        timer.start();
        QTest::mouseClick(m_toCentre, Qt::LeftButton);
        settle();
        if (record) {
            m_moves.push_back(move);
            m_moveCpu.push_back(moveCpu);
            m_backs.push_back(bench::msSince(timer));
        }
    }
    // Ctrl+Z, then Ctrl+Shift+Z, of the move just made (both timed), then Ctrl+Z again
    // so the lists keep their sizes.
    Timing undoRedoMove() {
        clickRow(*m_centre, 0);
        QTest::mouseClick(m_toLeft, Qt::LeftButton);
        settle();
        const Timing undo = timedKey(Qt::Key_Z, Qt::ControlModifier);
        const Timing redo = timedKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(m_form, Qt::Key_Z, Qt::ControlModifier);
        settle();
        return {undo.wall, redo.wall};
    }
    // "Собрать" by its button, its undo and its redo, each timed; undone again at the end.
    std::array<double, 3> gatherUndoRedo() {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(m_form->ToolBar1->findChild<QToolButton*>(QStringLiteral("SpeedButton4")), Qt::LeftButton);
        settle();
        const double gather = bench::msSince(timer);
        const Timing undo = timedKey(Qt::Key_Z, Qt::ControlModifier);
        const Timing redo = timedKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(m_form, Qt::Key_Z, Qt::ControlModifier);
        settle();
        return {gather, undo.wall, redo.wall};
    }
    // Memory in use on the heap, in MB: what the history keeps, whether or not the
    // allocator had the pages already.
    static double heapInUseMb() { return double(mallinfo2().uordblks) / 1e6; }
    double moveMs() const { return bench::median(m_moves); }
    double backMs() const { return bench::median(m_backs); }
    double moveCpuMs() const { return bench::median(m_moveCpu); }

    Timing switchMs(RadioGroup* TFormVariant::*group, int item) {
        return ::switchMs(*m_form, m_harness.dialogs, group, item);
    }

    Timing timedKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        QTest::keyClick(m_form, key, modifiers);
        settle();
        return {bench::msSince(timer), threadCpuMs() - cpuStart};
    }

    void reportMessages() const {
        if (!m_harness.dialogs.shown.isEmpty())
            std::printf("unexpected message: %s\n", qPrintable(m_harness.dialogs.shown.first().text));
    }

private:
    int m_items;
    bench::BenchFolder m_folder;
    bench::BenchProgram m_harness;
    TFormMain* m_form = nullptr;
    QTableView* m_centre = nullptr;
    QTableView* m_left = nullptr;
    QToolButton* m_toLeft = nullptr;
    QToolButton* m_toCentre = nullptr;
    std::vector<double> m_moves;
    std::vector<double> m_backs;
    std::vector<double> m_moveCpu;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bench::BenchFolder root;

    // Sizes on the command line measure just those (for a profiler); the first is the base.
    std::vector<int> sizes{100, 10000, 100000};
    if (argc > 1) {
        sizes.clear();
        for (int i = 1; i < argc; ++i)
            sizes.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    }
    std::vector<std::unique_ptr<Session>> sessions;
    for (int items : sizes)
        sessions.push_back(std::make_unique<Session>(items));
    // Taking turns, so that whatever else the machine does weighs on every size alike.
    for (int round = 0; round < WarmUpMoves + TimedMoves; ++round)
        for (auto& session : sessions)
            session->move(round >= WarmUpMoves);

    const Session& base = *sessions.front();
    std::printf("%8s %10s %14s %16s %12s %11s\n", "items", "move, ms", "move cpu, ms", "move back, ms", "move ratio",
                "cpu ratio");
    for (const auto& session : sessions)
        std::printf("%8d %10.3f %14.3f %16.3f %12.2f %11.2f\n", session->items(), session->moveMs(),
                    session->moveCpuMs(), session->backMs(), session->moveMs() / base.moveMs(),
                    session->moveCpuMs() / base.moveCpuMs());

    Session& large = *sessions.back();
    std::vector<double> variant, basis, variantCpu, basisCpu;
    const auto record = [](Timing t, std::vector<double>& wall, std::vector<double>& cpu) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    };
    for (int round = 0; round < 5; ++round) {
        record(large.switchMs(&TFormVariant::RadioGroup1, 1), variant, variantCpu);
        record(large.switchMs(&TFormVariant::RadioGroup1, 0), variant, variantCpu);
        record(large.switchMs(&TFormVariant::RadioGroup2, 1), basis, basisCpu);
        record(large.switchMs(&TFormVariant::RadioGroup2, 2), basis, basisCpu);
        record(large.switchMs(&TFormVariant::RadioGroup2, 0), basis, basisCpu);
    }
    const double variantMs = bench::median(variant);
    const double basisMs = bench::median(basis);
    std::printf("at %d items: variant %.1f ms (cpu %.1f), price basis %.1f ms (cpu %.1f)\n", large.items(), variantMs,
                bench::median(variantCpu), basisMs, bench::median(basisCpu));
    std::printf("%8s %10s %10s\n", "items", "undo, ms", "redo, ms");
    for (auto& session : sessions) {
        std::vector<double> undo, redo;
        for (int round = 0; round < 50; ++round) {
            const Timing t = session->undoRedoMove();
            undo.push_back(t.wall);
            redo.push_back(t.cpu);
        }
        std::printf("%8d %10.3f %10.3f\n", session->items(), bench::median(undo), bench::median(redo));
    }
    std::vector<double> gather, gatherUndo, gatherRedo;
    for (int round = 0; round < 3; ++round) {
        const auto t = large.gatherUndoRedo();
        gather.push_back(t[0]);
        gatherUndo.push_back(t[1]);
        gatherRedo.push_back(t[2]);
    }
    const double gatherWorst = std::max({bench::median(gather), bench::median(gatherUndo), bench::median(gatherRedo)});
    std::printf("at %d items: Собрать %.0f ms, its undo %.0f ms, its redo %.0f ms\n", large.items(),
                bench::median(gather), bench::median(gatherUndo), bench::median(gatherRedo));
    const double before = Session::heapInUseMb();
    for (int round = 0; round < 500; ++round)
        large.move(false); // a move and its way back: two steps of the history
    const double historyMb = Session::heapInUseMb() - before;
    std::printf("history of 1,000 moves at %d items: %.1f MB\n", large.items(), historyMb);
    for (const auto& session : sessions)
        session->reportMessages();
    const double ratio = large.moveMs() / base.moveMs();
    std::printf(
        "goals: move at %d items within 2x of %d items: %s (%.2fx); under 2 ms: %s; switches under 200 ms: %s\n",
        large.items(), base.items(), ratio <= 2 ? "yes" : "NO", ratio, large.moveMs() < 2 ? "yes" : "NO",
        std::max(variantMs, basisMs) < 200 ? "yes" : "NO");
    std::printf("goals: Собрать, its undo and redo under 1 s: %s; history of 1,000 moves under 10 MB: %s\n",
                gatherWorst < 1000 ? "yes" : "NO", historyMb < 10 ? "yes" : "NO");
    return 0;
}
