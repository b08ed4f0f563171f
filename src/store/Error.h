#pragma once

#include <QString>

#include <exception>

namespace ravnobor {

// Every failure the user must read travels as this exception, with a Russian message.
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A failure reported by the database engine; keeps the engine's result code so a
// caller can say in plain words what it means (not a database, damaged file).
class DatabaseError : public Error {
public:
    DatabaseError(QString message, int code, QString reason)
        : Error(std::move(message)), m_code(code), m_reason(std::move(reason)) {}
    int code() const noexcept { return m_code; } // primary result code (SQLITE_NOTADB, ...)
    const QString& reason() const noexcept { return m_reason; }

private:
    int m_code;
    QString m_reason;
};

} // namespace ravnobor
