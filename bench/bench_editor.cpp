// The property list window at 100 and 100,000 items: opening it until the grid shows
// with its footer sums, one cell edit posted with the footer updated (median of 200),
// and paging through the whole table with the database connection closed, which shows
// that the grid reads no row from the database while it scrolls.
#include "BenchSupport.h"
#include "editor/DBGridEh3.h"
#include "editor/GridColumns.h"
#include "editor/PropertyListModel.h"
#include "editor/TFormPT.h"
#include "shell/Program.h"
#include "store/Database.h"
#include "store/TDataModule1.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <cstdio>
#include <vector>

using namespace ravnobor;

namespace {

QVariant None() {
    return {};
}

void makeCase(const QString& path, int items) {
    bench::makeCase(path, items,
                    QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Заметки\", \"Цена 1\", \"Цена 2\", "
                                   "\"Согласованная цена\", \"Оценка\", \"1_ц1\") VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    [](store::Statement& insert, int i) {
                        insert.bind(
                            1, QStringLiteral("Имущество № %1, инвентарный номер %2").arg(i).arg(i * 7919 % 100000));
                        insert.bind(2, QStringLiteral("заметка %1").arg(i));
                        insert.bind(3, 1000.0 + (i % 977) * 12.25)
                            .bind(4, 2000.5 + i % 13)
                            .bind(5, i % 5 ? QVariant(1500.1) : None());
                        insert.bind(6, QStringLiteral("Эксперт")).bind(7, qint64(i % 3 - 1));
                    });
}

struct Figures {
    int items;
    double open; // FormActivate, show, first full paint with the footer
    double edit; // median: a price typed into a cell, posted, footer repainted
    double page; // mean per page while paging through the whole table
    int pages;
    QString footer; // the sum shown, to check it is the real one
};

Figures measure(int items, const bench::BenchFolder& root) {
    const QString casePath = root.filePath(QStringLiteral("case%1.rvb").arg(items));
    makeCase(casePath, items);

    bench::BenchProgram harness(root);
    Program& program = harness.start({casePath});
    TFormPT& form = program.formPT();
    editor::DBGridEh3& grid = *form.DBGridEh3;
    editor::PropertyListModel& model = form.listModel();

    Figures f{items, 0, 0, 0, 0, {}};
    QElapsedTimer timer;
    timer.start();
    form.FormActivate();
    form.show();
    (void)form.grab(); // paints the whole window: headings, visible rows, footer
    f.open = bench::msSince(timer);
    f.footer = form.footerModel().index(0, editor::GridPrice1).data().toString();

    // Rendering into an image runs the real paint code, visible or not.
    QImage footerImage(grid.footer()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QImage gridImage(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> edits;
    for (int i = 0; i < 200; ++i) {
        const int row = int((qint64(i) * 7919) % items);
        const QString price = QStringLiteral("%1,%2").arg(500 + i).arg(i % 100, 2, 10, QLatin1Char('0'));
        timer.restart();
        model.setData(model.index(row, editor::GridPrice1), price);
        grid.footer()->viewport()->render(&footerImage);
        edits.push_back(bench::msSince(timer));
    }
    f.edit = bench::median(edits);

    // A row read from the database while scrolling would now fail loudly.
    program.dataModule().connection().close();
    QScrollBar* bar = grid.verticalScrollBar();
    bar->setValue(0);
    timer.restart();
    while (true) {
        grid.viewport()->render(&gridImage);
        ++f.pages;
        if (bar->value() >= bar->maximum())
            break;
        bar->setValue(bar->value() + bar->pageStep());
    }
    f.page = bench::msSince(timer) / f.pages;
    form.hide();
    program.dataModule().ADODataSet1().close();
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const bench::BenchFolder root;

    const Figures small = measure(100, root);
    const Figures large = measure(100000, root);
    std::printf("Property list window (goals at 100,000 items: open < 1000 ms, edit < 5 ms)\n");
    std::printf("%10s %12s %12s %12s %8s  %s\n", "items", "open ms", "edit ms", "page ms", "pages", "footer Цена 1");
    for (const Figures& f : {small, large})
        std::printf("%10d %12.2f %12.3f %12.3f %8d  %s\n", f.items, f.open, f.edit, f.page, f.pages,
                    qPrintable(f.footer));
    std::printf("ratio 100,000 / 100: open %.1f, edit %.2f, page %.2f\n", large.open / small.open,
                large.edit / small.edit, large.page / small.page);
    std::printf("paged through %d pages with the database connection closed: no row read from the database\n",
                large.pages);
    return 0;
}
