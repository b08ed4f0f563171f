// The general property list of 1,000 / 10,000 / 100,000 items: time from the items to the
// finished .docx file, against zipping the same document.xml with the `zip` command.
#include "BenchSupport.h"
#include "documents/DocumentData.h"
#include "documents/DocumentFile.h"
#include "documents/Documents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

#include <sys/resource.h>

using namespace ravnobor;
using namespace ravnobor::documents;

namespace {

std::vector<PropertyListItem> items(int count) {
    std::vector<PropertyListItem> list;
    list.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        list.push_back({QStringLiteral("Предмет имущества № %1").arg(i + 1), 1000.0 + i,
                        i % 3 ? QVariant(250.5 + i) : QVariant(), double(i) / 8, QStringLiteral("Оценщик"),
                        i % 5 ? QVariant() : QVariant(QStringLiteral("Заметка & <примечание>"))});
    }
    return list;
}

// Processor time, which other work on a shared machine does not inflate.
double ownCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
double childrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& v) { return double(v.tv_sec) + double(v.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
    const QString templatePath = bench::builtFile(ListTemplateFile);
    QTemporaryDir dir;

    std::printf("%-8s %11s %9s %7s %12s %10s %9s %12s %8s\n", "items", "document s", "zip s", "ratio", "document cpu",
                "zip cpu", "cpu ratio", "us cpu/item", "xml MB");
    double previousPerItem = 0;
    for (int count : {1000, 10000, 100000}) {
        GeneralListData data;
        data.party1Name = QStringLiteral("Иванов И.И.");
        data.party2Name = QStringLiteral("Петрова А.С.");
        data.currencySuffix = QStringLiteral("руб.");
        data.items = items(count);

        QElapsedTimer timer;
        timer.start();
        const double cpuStart = ownCpuSeconds();
        WordDocument document = WordDocument::fromTemplate(templatePath);
        fillGeneralList(document, data);
        const QString path = saveAsNewDocument(document.toDocx(), dir.path(), GeneralListName);
        const double ours = bench::msSince(timer) / 1000;
        const double oursCpu = ownCpuSeconds() - cpuStart;

        // The same main part, zipped alone by the zip command.
        const QString xmlDir = dir.filePath(QStringLiteral("xml%1").arg(count));
        QDir().mkpath(xmlDir + QStringLiteral("/word"));
        QFile xml(xmlDir + QStringLiteral("/word/document.xml"));
        const QByteArray bytes = document.documentXml();
        if (!xml.open(QIODevice::WriteOnly) || xml.write(bytes) != bytes.size())
            return 1;
        xml.close();
        QProcess zip;
        zip.setWorkingDirectory(xmlDir);
        timer.restart();
        const double childStart = childrenCpuSeconds();
        zip.start(QStringLiteral("zip"),
                  {QStringLiteral("-q"), QStringLiteral("out.zip"), QStringLiteral("word/document.xml")});
        if (!zip.waitForFinished(-1) || zip.exitCode() != 0) {
            std::fprintf(stderr, "zip failed: %s\n", qPrintable(zip.errorString()));
            return 1;
        }
        const double zipped = bench::msSince(timer) / 1000;
        const double zippedCpu = childrenCpuSeconds() - childStart;
        const double perItem = oursCpu / count * 1e6;
        std::printf("%-8d %11.3f %9.3f %6.2fx %12.3f %10.3f %8.2fx %12.2f %8.1f\n", count, ours, zipped, ours / zipped,
                    oursCpu, zippedCpu, oursCpu / zippedCpu, perItem, double(bytes.size()) / 1e6);
        if (previousPerItem > 0)
            std::printf("%-8s processor time per item against the size before: %.2fx\n", "", perItem / previousPerItem);
        previousPerItem = perItem;
        QFile::remove(path);
    }
    std::printf("goal: at most 3x the zip command at 100000 items, time per item about constant (linear growth)\n");
    return 0;
}
