// Switching the division variant and the price basis at 1,000, 10,000 and 100,000
// items: the board reload, the totals and the names, until the lists have repainted;
// and the name refresh alone.
// Goal: under 200 ms at 100,000 items.
#include "BenchSupport.h"
#include "settings/RadioGroup.h"
#include "settings/TFormNstr.h"
#include "settings/TFormVariant.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Database.h"

#include <QApplication>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace ravnobor;

namespace {

void makeCase(const QString& path, int items) {
    bench::makeCase(
        path, items,
        QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"Согласованная цена\", "
                       "\"1_ц1\", \"2_ц1\") VALUES (?, ?, ?, ?, ?, ?)"),
        [](store::Statement& insert, int i) {
            insert.bind(1, QStringLiteral("Имущество № %1").arg(i));
            insert.bind(2, 1000.0 + (i % 977) * 12.25).bind(3, 2000.5 + i % 13).bind(4, 1500.75 + i % 7);
            insert.bind(5, qint64(i % 3 - 1)).bind(6, qint64((i + 1) % 3 - 1));
        });
}

struct Figures {
    int items;
    double variant;
    double basis;
    double names; // the name refresh alone, which also recomputes the totals
};

// Clicks one item of a group of the variant dialog and waits for the repaint.
double clickMs(QRadioButton* button) {
    QElapsedTimer timer;
    timer.start();
    button->click();
    QApplication::processEvents();
    return bench::msSince(timer);
}

Figures measure(int items, const bench::BenchFolder& root) {
    const QString casePath = root.filePath(QStringLiteral("case%1.rvb").arg(items));
    makeCase(casePath, items);
    bench::BenchProgram harness(root);
    Program& program = harness.start({casePath});
    program.formMain().show();
    QApplication::processEvents();

    TFormVariant& dialog = program.formVariant();
    std::vector<double> variant, basis;
    for (int round = 0; round < 5; ++round) {
        variant.push_back(clickMs(dialog.RadioGroup1->button(1)));
        variant.push_back(clickMs(dialog.RadioGroup1->button(0)));
        basis.push_back(clickMs(dialog.RadioGroup2->button(1)));
        basis.push_back(clickMs(dialog.RadioGroup2->button(2)));
        basis.push_back(clickMs(dialog.RadioGroup2->button(0)));
    }
    std::vector<double> names;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        program.formNstr().NewName_all();
        names.push_back(bench::msSince(timer));
    }
    return {items, bench::median(variant), bench::median(basis), bench::median(names)};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bench::BenchFolder root;

    std::vector<Figures> all;
    for (int items : {1000, 10000, 100000})
        all.push_back(measure(items, root));
    std::printf("%10s %14s %14s %14s\n", "items", "variant, ms", "basis, ms", "names, ms");
    for (const Figures& f : all)
        std::printf("%10d %14.1f %14.1f %14.1f\n", f.items, f.variant, f.basis, f.names);
    const Figures& small = all.front();
    const Figures& large = all.back();
    std::printf("ratio 100,000 / 1,000: variant %.1f, basis %.1f (items ratio 100)\n", large.variant / small.variant,
                large.basis / small.basis);
    std::printf("goal at 100,000 items: under 200 ms; %s\n",
                std::max(large.variant, large.basis) < 200 ? "met" : "NOT met");
    return 0;
}
