#include "documents/OoxmlPackage.h"

#include "store/Error.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace ravnobor::documents {

namespace {

// A template part larger than this is no document of ours; refusing it keeps a
// damaged or hostile file from exhausting memory.
constexpr zip_uint64_t MaxPartSize = 512ull * 1024 * 1024;

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

Error unreadable(const QString& path, const QString& why) {
    return Error(QStringLiteral("Шаблон документа «%1» не читается: %2").arg(path, why));
}

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

OoxmlPackage OoxmlPackage::read(const QString& path) {
    if (!QFile::exists(path))
        throw Error(QStringLiteral("Не найден шаблон документа «%1»").arg(path));
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code));
    if (!archive)
        throw unreadable(path, zipErrorText(code));

    OoxmlPackage package;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &stat) != 0)
            throw unreadable(path, QString::fromLocal8Bit(zip_strerror(archive.get())));
        const std::string name = stat.name;
        if (name.empty() || name.back() == '/')
            continue; // a folder entry carries no part
        if (stat.size > MaxPartSize)
            throw unreadable(path, QStringLiteral("часть «%1» слишком велика").arg(QString::fromStdString(name)));
        std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive.get(), zip_uint64_t(i), 0));
        if (!entry)
            throw unreadable(path, QString::fromLocal8Bit(zip_strerror(archive.get())));
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        if (zip_fread(entry.get(), data.data(), stat.size) != zip_int64_t(stat.size))
            throw unreadable(path, QStringLiteral("часть «%1» повреждена").arg(QString::fromStdString(name)));
        package.m_parts.push_back({name, std::move(data), {}});
    }
    return package;
}

const OoxmlPackage::Part* OoxmlPackage::find(const std::string& name) const {
    for (const Part& part : m_parts) {
        if (part.name == name)
            return &part;
    }
    return nullptr;
}

void OoxmlPackage::put(const std::string& name, QByteArray data) {
    for (Part& part : m_parts) {
        if (part.name == name) {
            part.data = std::move(data);
            return;
        }
    }
    m_parts.push_back({name, std::move(data), {}});
}

void OoxmlPackage::putPieces(const std::string& name, std::vector<QByteArray> pieces) {
    put(name, QByteArray());
    for (Part& part : m_parts) {
        if (part.name == name)
            part.pieces = std::move(pieces);
    }
}

QByteArray OoxmlPackage::toZip() const {
    const auto fail = [](const QString& why) {
        return Error(QStringLiteral("Не удалось собрать файл документа: %1").arg(why));
    };
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throw fail(QString::fromLocal8Bit(zip_error_strerror(&error)));
    zip_source_keep(buffer); // outlives the archive so the bytes can be read back
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keptBuffer(buffer, &zip_source_free);
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open_from_source(buffer, ZIP_TRUNCATE, &error));
    if (!archive)
        throw fail(QString::fromLocal8Bit(zip_error_strerror(&error)));

    std::vector<std::vector<zip_buffer_fragment_t>> fragments; // read by zip_close
    fragments.reserve(m_parts.size());
    for (const Part& part : m_parts) {
        std::vector<zip_buffer_fragment_t>& list = fragments.emplace_back();
        const auto add = [&list](const QByteArray& bytes) {
            if (!bytes.isEmpty())
                list.push_back(
                    {reinterpret_cast<zip_uint8_t*>(const_cast<char*>(bytes.constData())), zip_uint64_t(bytes.size())});
        };
        add(part.data);
        for (const QByteArray& piece : part.pieces)
            add(piece);
        zip_source_t* source = list.empty() ? zip_source_buffer(archive.get(), nullptr, 0, 0)
                                            : zip_source_buffer_fragment(archive.get(), list.data(), list.size(), 0);
        if (!source)
            throw fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
        const zip_int64_t index = zip_file_add(archive.get(), part.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
        }
        // The fastest level: a typed document is mostly repeated markup that deflates well at any level.
        zip_set_file_compression(archive.get(), zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(archive.get()) != 0)
        throw fail(QString::fromLocal8Bit(zip_strerror(archive.get())));
    archive.release(); // zip_close freed it

    QByteArray bytes;
    zip_stat_t stat;
    if (zip_source_stat(buffer, &stat) != 0 || zip_source_open(buffer) != 0)
        throw fail(QStringLiteral("архив в памяти не читается"));
    bytes.resize(qsizetype(stat.size));
    const zip_int64_t read = zip_source_read(buffer, bytes.data(), stat.size);
    zip_source_close(buffer);
    if (read != zip_int64_t(stat.size))
        throw fail(QStringLiteral("архив в памяти не читается"));
    return bytes;
}

} // namespace ravnobor::documents
