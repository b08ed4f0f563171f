#include "sheets/SafeZip.h"

#include "store/Error.h"

#include <QFile>

#include <zip.h>

namespace ravnobor::sheets {

namespace {

constexpr zip_uint64_t MaxEntrySize = 1024ull * 1024 * 1024;
constexpr zip_uint64_t MaxExpansion = 100;
// Small entries cannot exhaust anything, and a tiny XML part often packs past 100 times.
constexpr zip_uint64_t RatioFloor = 1024 * 1024;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

} // namespace

SafeZip::SafeZip(const QString& path) : m_path(path) {
    int code = 0;
    m_archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!m_archive)
        fail(QStringLiteral("это не архив электронной таблицы"));
}

SafeZip::~SafeZip() {
    if (m_archive)
        zip_discard(m_archive);
}

void SafeZip::fail(const QString& why) const {
    throw Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(m_path, why));
}

bool SafeZip::contains(const std::string& name) const {
    return zip_name_locate(m_archive, name.c_str(), 0) >= 0;
}

QByteArray SafeZip::read(const std::string& name) const {
    const QString shown = QString::fromStdString(name);
    zip_stat_t stat;
    if (zip_stat(m_archive, name.c_str(), 0, &stat) != 0)
        fail(QStringLiteral("нет части «%1»").arg(shown));
    if (!(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE))
        fail(QStringLiteral("часть «%1» повреждена").arg(shown));
    if (stat.size > MaxEntrySize || (stat.size > RatioFloor && stat.size / MaxExpansion > stat.comp_size))
        fail(QStringLiteral("часть «%1» распаковывается в слишком большой объём (возможно, это «zip-бомба»)")
                 .arg(shown));
    std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(m_archive, stat.index, 0));
    if (!entry)
        fail(QStringLiteral("часть «%1» повреждена").arg(shown));
    // Read at most the declared size, and one byte more to see a lie about it.
    QByteArray data(qsizetype(stat.size + 1), Qt::Uninitialized);
    zip_int64_t got = 0;
    while (zip_uint64_t(got) < stat.size + 1) {
        const zip_int64_t n = zip_fread(entry.get(), data.data() + got, stat.size + 1 - zip_uint64_t(got));
        if (n < 0)
            fail(QStringLiteral("часть «%1» повреждена").arg(shown));
        if (n == 0)
            break;
        got += n;
    }
    if (zip_uint64_t(got) != stat.size)
        fail(QStringLiteral("часть «%1» повреждена").arg(shown));
    data.truncate(qsizetype(got));
    return data;
}

} // namespace ravnobor::sheets
