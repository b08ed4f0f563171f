#pragma once

#include <QString>
#include <QVariant>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace ravnobor::store {

class Statement;

// A table or column name for SQL text: in double quotes, inner quotes doubled, so any
// character stays part of the name. Only for names from the program's own layout or a
// table's own schema; values are always bound, never spliced.
QString quoteIdentifier(const QString& name);

// One connection to a case database. A case file is untrusted input, so every
// connection runs in defensive mode with its triggers and views switched off.
class Database {
public:
    enum class Mode { ReadWrite, ReadOnly, Create };

    Database() = default;
    explicit Database(const QString& path, Mode mode = Mode::ReadWrite);
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    bool isOpen() const { return m_db != nullptr; }
    const QString& path() const { return m_path; }
    void close();

    // Runs SQL that the program itself wrote; never text that came from a user or a file.
    void execute(const QString& sql);
    Statement prepare(const QString& sql);
    qint64 lastInsertRowId() const;
    int changes() const;
    sqlite3* handle() const { return m_db; }

    [[noreturn]] void fail(const QString& what) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

// A prepared statement; values are only ever bound, never spliced into the text.
class Statement {
public:
    Statement(Database& db, sqlite3_stmt* stmt) : m_db(&db), m_stmt(stmt) {}
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) = delete;
    ~Statement();

    Statement& bind(int index, const QVariant& value); // 1-based
    bool step();                                       // true while a row is available
    void run();                                        // step until done
    void reset();

    int columnCount() const;
    QVariant value(int column) const;
    qint64 integer(int column) const;
    QString text(int column) const;
    bool isNull(int column) const;
    // The stored value's own type, without converting it (for checks over many rows).
    enum class Type { Integer, Real, Text, Blob, Null };
    Type type(int column) const;
    double real(int column) const;

private:
    Database* m_db;
    sqlite3_stmt* m_stmt;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

private:
    Database& m_db;
    bool m_done = false;
};

} // namespace ravnobor::store
