// How fast a property list comes in from a table and the division goes out: the export
// of 100,000 items to .xlsx and .csv through "Экспорт списка имущества…", then the
// import of those files through "Импорт списка имущества…": the time until the dialog
// shows its preview, the time of "Импортировать", and of undoing the import.
#include "BenchSupport.h"
#include "shell/TFormMain.h"
#include "store/Database.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLocale>

#include <cstdio>

using namespace ravnobor;
using namespace ravnobor::bench;

namespace {

constexpr int Items = 100000;

struct ImportTimes {
    double previewMs = 0;
    double importMs = 0;
    double undoMs = 0;
    QString count;
};

ImportTimes timeImport(const BenchFolder& folder, const QString& file) {
    BenchProgram bench(folder);
    Program& program = bench.start();
    ImportTimes times;
    QElapsedTimer timer;
    bench.dialogs.nextFileNames.push_back(file);
    bench.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        times.previewMs = msSince(timer);
        times.count = dialog.findChild<QLabel*>(QStringLiteral("LabelCount"))->text();
        timer.restart();
        dialog.findChild<QAbstractButton*>(QStringLiteral("ButtonImport"))->click();
        return dialog.result();
    });
    timer.start();
    program.formMain().action(QStringLiteral("File_Import"))->trigger();
    times.importMs = msSince(timer);
    timer.restart();
    program.formMain().action(QStringLiteral("Edit_Undo"))->trigger();
    times.undoMs = msSince(timer);
    return times;
}

double timeExport(const BenchFolder& folder, const QString& casePath, const QString& target) {
    BenchProgram bench(folder);
    Program& program = bench.start({casePath});
    bench.dialogs.nextFileNames.push_back(target);
    QElapsedTimer timer;
    timer.start();
    program.formMain().action(QStringLiteral("File_Export"))->trigger();
    return msSince(timer);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
    BenchFolder folder;
    const QString casePath = folder.filePath(QStringLiteral("big.rvb"));
    makeCase(casePath, Items,
             QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"Заметки\", \"1_ц1\", "
                            "\"2_ц1\") VALUES (?1, ?2, ?3, ?4, ?5, ?6)"),
             [](store::Statement& insert, int i) {
                 insert.bind(1, QStringLiteral("Предмет %1").arg(i));
                 insert.bind(2, 1000.0 + i * 0.25);
                 insert.bind(3, 2000.5 + i);
                 insert.bind(4, QStringLiteral("заметка"));
                 insert.bind(5, i % 3 - 1);
                 insert.bind(6, (i + 1) % 3 - 1);
             });
    std::printf("%d items\n", Items);
    for (const char* suffix : {"xlsx", "csv"}) {
        const QString file = folder.filePath(QStringLiteral("export.") + QString::fromLatin1(suffix));
        const double exportMs = timeExport(folder, casePath, file);
        const ImportTimes times = timeImport(folder, file);
        std::printf("%-4s  export %8.0f ms   preview %8.0f ms (limit 2000, ratio %.2f)   import %8.0f ms (limit "
                    "3000, ratio %.2f)   undo %6.0f ms   %s\n",
                    suffix, exportMs, times.previewMs, times.previewMs / 2000.0, times.importMs,
                    times.importMs / 3000.0, times.undoMs, qPrintable(times.count));
    }
    return 0;
}
