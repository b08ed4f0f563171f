#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

struct zip;

namespace ravnobor::sheets {

// A zip archive read with care: an entry is read only up to its declared size and never
// past 1 GB or 100 times its packed size, so a zip bomb is refused, not unpacked.
// Every failure is an Error that names the file.
class SafeZip {
public:
    explicit SafeZip(const QString& path);
    ~SafeZip();
    SafeZip(const SafeZip&) = delete;
    SafeZip& operator=(const SafeZip&) = delete;

    bool contains(const std::string& name) const;
    // The entry's bytes; throws an Error when the entry is missing, damaged or too large.
    QByteArray read(const std::string& name) const;
    QString path() const { return m_path; }
    // An Error that says the file is damaged and why.
    [[noreturn]] void fail(const QString& why) const;

private:
    QString m_path;
    struct zip* m_archive = nullptr;
};

} // namespace ravnobor::sheets
