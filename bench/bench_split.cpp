// How fast "Предложить раздел" finds its placement: random cases of free items with
// whole-rouble prices from 1,000 to 1,000,000, equal shares and a share of 1/3.
#include "BenchSupport.h"
#include "shell/TFormMain.h"
#include "split/SplitPlan.h"
#include "store/Database.h"
#include "store/Share.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLocale>

#include <chrono>
#include <cstdio>
#include <random>

using namespace ravnobor;
using namespace ravnobor::split;

namespace {

std::vector<SplitItem> randomCase(int count, std::uint64_t seed) {
    std::mt19937_64 random(seed);
    std::vector<SplitItem> items(static_cast<size_t>(count));
    for (size_t i = 0; i < items.size(); ++i) {
        const auto roubles = Int128(1000 + random() % 999001);
        items[i].key = qint64(i + 1);
        items[i].price = Money::fromUnits(roubles * 100000000);
        items[i].price1 = items[i].price;
        items[i].price2 = Money::fromUnits(Int128(1000 + random() % 999001) * 100000000);
    }
    return items;
}

// Peak resident memory of this process, from the kernel's own count.
QString peakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("?");
}

// The smallest payment the amounts allow with equal shares: 0,00, or 0,50 when the total is odd.
QString smallestPossible(const std::vector<SplitItem>& items, const Share& share) {
    std::vector<Int128> values;
    Int128 total = 0;
    for (const SplitItem& item : items) {
        values.push_back(share.denominator() * item.price.units());
        total += item.price.units();
    }
    const Int128 bound = subsetLowerBound(values, share.numerator() * total);
    return ExactAmount::ratio(bound, share.denominator()).toText(QLocale(QStringLiteral("ru_RU")));
}

void run(int count, const QString& shareText, double goalSeconds, bool mustBeProven) {
    const Share share = Share::parse(shareText);
    const std::vector<SplitItem> items = randomCase(count, std::uint64_t(count) * 7919 + 1);
    const auto start = std::chrono::steady_clock::now();
    const SplitPlan plan = planMinimalPayment(items, share, true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const QString payment = plan.payment.abs().toText(QLocale(QStringLiteral("ru_RU")));
    const QString best = smallestPossible(items, share);
    const bool met = seconds < goalSeconds && (mustBeProven ? plan.proven : payment == best);
    std::printf("%7d items, share %-3s  %8.3f s (goal < %.1f s, ratio %.2f)  payment %s (step bound %s)  %s  "
                "peak %s  %s\n",
                count, qPrintable(shareText.isEmpty() ? QStringLiteral("1/2") : shareText), seconds, goalSeconds,
                seconds / goalSeconds, qPrintable(payment), qPrintable(best),
                plan.proven ? "proven optimal" : "best found", qPrintable(peakMemory()), met ? "OK" : "MISSED");
}

void runOwnPrices(int count) {
    const std::vector<SplitItem> items = randomCase(count, 42);
    const auto start = std::chrono::steady_clock::now();
    const SplitPlan plan = planByOwnPrices(items, Share(), true);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%7d items, by own prices  %8.3f s  payment %s  peak %s\n", count, seconds,
                qPrintable(plan.payment.toText(QLocale(QStringLiteral("ru_RU")))), qPrintable(peakMemory()));
}

// The whole command on a case of 100,000 undistributed items, through the program: read
// the items, weigh them and show the dialog; then "Применить" writes and reloads the board.
void runCommand(int count) {
    const bench::BenchFolder root;
    const QString casePath = root.filePath(QStringLiteral("split.rvb"));
    bench::makeCase(casePath, count,
                    QStringLiteral("INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"1_ц1\") "
                                   "VALUES (?, ?, ?, 0)"),
                    [random = std::mt19937_64(7)](store::Statement& insert, int i) mutable {
                        insert.bind(1, QStringLiteral("Предмет %1").arg(i));
                        insert.bind(2, double(1000 + random() % 999001));
                        insert.bind(3, double(1000 + random() % 999001));
                    });
    bench::BenchProgram harness(root);
    Program& program = harness.start({casePath});
    QElapsedTimer timer;
    double shown = 0;
    QString payment;
    harness.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        shown = bench::msSince(timer);
        payment = dialog.findChild<QLabel*>(QStringLiteral("LabelPayment"))->text();
        timer.start();
        return int(QDialog::Accepted);
    });
    timer.start();
    program.formMain().action(QStringLiteral("Serv_Split"))->trigger();
    const double applied = bench::msSince(timer);
    std::printf("%7d items through the program: dialog shown after %.0f ms, Применить with the board reloaded "
                "%.0f ms; %s  peak %s%s\n",
                count, shown, applied, qPrintable(payment), qPrintable(peakMemory()),
                harness.dialogs.shown.isEmpty() ? "" : "  UNEXPECTED MESSAGE");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::printf("Smallest payment (goal: 20 and 40 items proven optimal < 0.5 s; 1,000 and 100,000 items reach\n"
                "the smallest payment the amounts allow < 1 s; peak memory < 150 MB at 100,000)\n");
    for (const QString& share : {QString(), QStringLiteral("1/3")}) {
        run(20, share, 0.5, true);
        run(40, share, 0.5, true);
        run(1000, share, 1.0, false);
        run(100000, share, 1.0, false);
    }
    runOwnPrices(100000);
    runCommand(100000);
    std::printf("peak memory of the whole run: %s (goal < 150 MB)\n", qPrintable(peakMemory()));
    return 0;
}
