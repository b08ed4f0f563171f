// How fast "Предложить раздел" finds its placement: random cases of free items with
// whole-rouble prices from 1,000 to 1,000,000, equal shares and a share of 1/3.
#include "split/Share.h"
#include "split/SplitPlan.h"
#include "split/SplitStore.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

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

// The whole command on a case file: read the items, weigh them, write the placement.
void runOnCase(int count) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.rvb"));
    QFile::copy(QStringLiteral(RAVNOBOR_BIN_DIR) + QStringLiteral("/default.mdb"), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::Database db(path);
    {
        store::Transaction fill(db);
        store::Statement insert = db.prepare(QStringLiteral(
            "INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"1_ц1\") VALUES (?, ?, ?, 0)"));
        std::mt19937_64 random(7);
        for (int i = 0; i < count; ++i) {
            insert.bind(1, QStringLiteral("Предмет %1").arg(i));
            insert.bind(2, double(1000 + random() % 999001));
            insert.bind(3, double(1000 + random() % 999001));
            insert.run();
            insert.reset();
        }
        fill.commit();
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<SplitItem> items = loadSplitItems(db, 0, 0);
    const auto loaded = std::chrono::steady_clock::now();
    const SplitPlan plan = planMinimalPayment(items, Share(), true);
    const auto planned = std::chrono::steady_clock::now();
    const int written = applySplitPlan(db, 0, items, plan);
    const auto applied = std::chrono::steady_clock::now();
    const auto seconds = [](auto from, auto to) { return std::chrono::duration<double>(to - from).count(); };
    std::printf("%7d items in a case file: read %.3f s, weigh %.3f s, write %d rows %.3f s; payment %s  peak %s\n",
                count, seconds(start, loaded), seconds(loaded, planned), written, seconds(planned, applied),
                qPrintable(plan.payment.abs().toText(QLocale(QStringLiteral("ru_RU")))), qPrintable(peakMemory()));
}

} // namespace

int main() {
    std::printf("Smallest payment (goal: 20 and 40 items proven optimal < 0.5 s; 1,000 and 100,000 items reach\n"
                "the smallest payment the amounts allow < 1 s; peak memory < 150 MB at 100,000)\n");
    for (const QString& share : {QString(), QStringLiteral("1/3")}) {
        run(20, share, 0.5, true);
        run(40, share, 0.5, true);
        run(1000, share, 1.0, false);
        run(100000, share, 1.0, false);
    }
    runOwnPrices(100000);
    runOnCase(100000);
    std::printf("peak memory of the whole run: %s (goal < 150 MB)\n", qPrintable(peakMemory()));
    return 0;
}
