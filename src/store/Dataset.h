#pragma once

#include "store/CaseWriter.h"
#include "store/Database.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace ravnobor::store {

// A static cursor over every row of one table: Open reads the rows into memory in
// rowid order; edits, inserts and deletes write through to the database at once,
// addressed by the row key in column 0.
class Dataset {
public:
    enum class State { Closed, Browse, Edit, Insert };
    enum class ColumnKind { Text, Real, Integer, Other };

    Dataset(Database& db, QString table);

    void open();
    void close();
    bool isOpen() const { return m_state != State::Closed; }
    State state() const { return m_state; }

    // Cursor.
    int recordCount() const { return int(m_rows.size()); }
    int recNo() const; // 1-based; -1 with no rows or while inserting
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }

    // Columns.
    int columnCount() const { return int(m_columns.size()); }
    const QString& columnName(int pos) const { return m_columns.at(pos); }
    ColumnKind columnKind(int pos) const { return m_kinds.at(pos); }
    int columnIndex(const QString& name) const; // throws when missing

    // Fields of the current row (the edit buffer while editing or inserting).
    QVariant field(int pos) const;
    QVariant fieldByName(const QString& name) const { return field(columnIndex(name)); }
    // Starts an edit when browsing. Text for a number column is converted with the
    // locale; text that is no number is refused with an Error and nothing is written.
    void setField(int pos, const QVariant& value);
    void setFieldByName(const QString& name, const QVariant& value) { setField(columnIndex(name), value); }

    // Editing. Edit on a dataset without rows starts a new row.
    void edit();
    void insert();
    void post();
    void cancel();
    void remove();
    void updateBatch(); // posts a pending edit; every other change is already written

    // Direct row access, for list models and walks.
    const QVariant& value(int row, int pos) const { return m_rows[size_t(row)][size_t(pos)]; }
    qint64 rowKey(int row) const { return m_rows[size_t(row)][0].toLongLong(); }
    void setValue(int row, int pos, const QVariant& value); // writes through, runs the post hook
    int rowOfKey(qint64 key) const;                         // -1 when absent

    void setAfterPost(std::function<void()> hook) { m_afterPost = std::move(hook); }
    void setAfterDelete(std::function<void()> hook) { m_afterDelete = std::move(hook); }
    void setLocale(const QLocale& locale) { m_locale = locale; }

    // Every write goes through the case's one writer, which records it for undo.
    void setWriter(CaseWriter* writer, CaseTable table) {
        m_writer = writer;
        m_writerTable = table;
    }
    // Keep the rows in memory true to a change that another part of the program made;
    // each returns the row it touched, or -1.
    int rowForKey(qint64 key) const; // where a row with that key stands or would stand
    int refreshRow(qint64 key);
    int insertStoredRow(qint64 key);
    int eraseRowOfKey(qint64 key);
    void reread(); // every row again, the cursor kept; only while browsing

    Database& database() { return *m_db; }
    const QString& table() const { return m_table; }
    QVariant convertForColumn(int pos, const QVariant& value) const;

private:
    void requireOpen() const;
    void readColumns();
    void writeRow(const std::vector<QVariant>& row, const std::vector<bool>& changed);
    qint64 insertRow(const std::vector<QVariant>& row);
    QString quotedTable() const;
    QString quotedColumn(int pos) const;
    std::optional<std::vector<QVariant>> readStoredRow(qint64 key);
    void eraseRow(int row);

    Database* m_db;
    QString m_table;
    QStringList m_columns;
    std::vector<ColumnKind> m_kinds;
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<QVariant> m_buffer;
    std::vector<bool> m_changed;
    int m_current = -1;
    bool m_eof = true;
    State m_state = State::Closed;
    std::function<void()> m_afterPost;
    std::function<void()> m_afterDelete;
    std::optional<QLocale> m_locale; // the user's locale at the time of each edit unless set
    CaseWriter* m_writer = nullptr;
    CaseTable m_writerTable = CaseTable::Property;
};

} // namespace ravnobor::store
