#include "store/CaseWriter.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/Share.h"

#include <algorithm>

namespace ravnobor::store {

namespace {

enum ChangeKind { Updated, Inserted, Removed };

constexpr int StepNameLength = 40;

void sortUnique(std::vector<qint64>& keys) {
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

} // namespace

CaseWriter::CaseWriter(Database& db) : m_db(db) {}

CaseWriter::~CaseWriter() = default;

QString CaseWriter::stepName(const QString& what, const QString& itemName) {
    QString name = itemName;
    if (name.size() > StepNameLength)
        name = name.left(StepNameLength) + u'…';
    return what + QStringLiteral(" «") + name + u'»';
}

void CaseWriter::reset(bool clean) {
    m_open.reset();
    m_keyColumns.clear();
    m_hasItemShares.reset();
    const bool wasClean = isClean();
    m_history.clear();
    m_index = 0;
    m_cleanIndex = clean ? 0 : -1;
    if (wasClean != isClean())
        emit cleanChanged(isClean());
    emit historyChanged();
}

void CaseWriter::markClean() {
    const bool wasClean = isClean();
    m_cleanIndex = m_index;
    if (!wasClean)
        emit cleanChanged(true);
}

// ---- steps -----------------------------------------------------------------

CaseWriter::Step::Step(CaseWriter& writer, const QString& name, int variant, const void* origin) : m_writer(writer) {
    m_writer.begin(name, variant, origin);
}

CaseWriter::Step::~Step() {
    if (!m_done)
        m_writer.abandon();
}

void CaseWriter::Step::commit() {
    m_done = true;
    m_writer.finish();
}

void CaseWriter::begin(const QString& name, int variant, const void* origin) {
    if (inStep())
        throw Error(QStringLiteral("Изменение случая уже начато"));
    m_db.execute(QStringLiteral("BEGIN"));
    m_open.emplace();
    m_open->step.name = name;
    m_open->step.variant = variant;
    m_open->change.origin = origin;
    m_open->change.variant = variant;
}

void CaseWriter::abandon() {
    if (!inStep())
        return;
    m_open.reset();
    rollBackQuietly();
}

void CaseWriter::finish() {
    OpenStep open = std::move(*m_open);
    m_open.reset();
    try {
        if (open.step.edits.empty()) {
            m_db.execute(QStringLiteral("ROLLBACK")); // nothing changed: no step
            return;
        }
        commitAndAnnounce(std::move(open.change), m_index + 1, std::move(open.step));
    } catch (...) {
        rollBackQuietly();
        throw;
    }
}

void CaseWriter::rollBackQuietly() {
    try {
        m_db.execute(QStringLiteral("ROLLBACK"));
    } catch (const Error&) {
        // The engine has rolled back on its own already.
    }
}

void CaseWriter::commitAndAnnounce(CaseChange change, int newIndex, std::optional<HistoryStep> newStep) {
    const bool wasClean = isClean();
    // A new step drops the undone steps, and with them a saved state that lay among them.
    const int cleanIndex = newStep && m_cleanIndex > m_index ? -1 : m_cleanIndex;
    if (wasClean && newIndex != cleanIndex)
        emit leavingClean();
    m_db.execute(QStringLiteral("COMMIT"));
    if (newStep) {
        m_history.resize(size_t(m_index));
        m_history.push_back(std::move(*newStep));
    }
    m_index = newIndex;
    m_cleanIndex = cleanIndex;
    sortUnique(change.updated);
    sortUnique(change.inserted);
    sortUnique(change.removed);
    emit changed(change);
    if (wasClean != isClean())
        emit cleanChanged(isClean());
    emit historyChanged();
}

template <typename Write> auto CaseWriter::asStep(const QString& name, int variant, const void* origin, Write write) {
    if (inStep())
        return write();
    Step step(*this, name, variant, origin);
    if constexpr (std::is_void_v<decltype(write())>) {
        write();
        step.commit();
    } else {
        auto result = write();
        step.commit();
        return result;
    }
}

// ---- the tables ------------------------------------------------------------

QString CaseWriter::tableName(CaseTable table) const {
    return table == CaseTable::Property ? layout::PropertyTable : layout::SettingsTable;
}

QStringList CaseWriter::columnsOf(CaseTable table) {
    QStringList names;
    Statement info = m_db.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?1) ORDER BY cid"));
    info.bind(1, tableName(table));
    while (info.step())
        names << info.text(0);
    if (names.isEmpty())
        throw Error(QStringLiteral("В базе данных нет таблицы «%1»").arg(tableName(table)));
    return names;
}

QString CaseWriter::keyColumn(CaseTable table) {
    auto found = m_keyColumns.find(table);
    if (found == m_keyColumns.end())
        found = m_keyColumns.emplace(table, columnsOf(table).first()).first;
    return found->second;
}

std::optional<qint64> CaseWriter::settingsRowKey() {
    Statement first =
        m_db.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid LIMIT 1")
                         .arg(quoteIdentifier(keyColumn(CaseTable::Settings)), quoteIdentifier(layout::SettingsTable)));
    if (!first.step() || first.isNull(0))
        return std::nullopt;
    return first.integer(0);
}

std::optional<std::vector<QVariant>> CaseWriter::readRow(CaseTable table, qint64 key, const QStringList& columns) {
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quoteIdentifier(column);
    Statement select =
        m_db.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1")
                         .arg(quoted.join(u','), quoteIdentifier(tableName(table)), quoteIdentifier(keyColumn(table))));
    select.bind(1, key);
    if (!select.step())
        return std::nullopt;
    std::vector<QVariant> values;
    values.reserve(size_t(columns.size()));
    for (int i = 0; i < columns.size(); ++i)
        values.push_back(select.value(i));
    return values;
}

CaseWriter::ColumnEdit& CaseWriter::columnEdit(CaseTable table, const QString& column) {
    std::vector<Edit>& edits = m_open->step.edits;
    // Writes of one column in a row of writes share one edit, so a gathering stays compact.
    if (!edits.empty() && edits.back().column && edits.back().column->table == table &&
        edits.back().column->column == column)
        return *edits.back().column;
    edits.push_back(Edit{ColumnEdit{table, column, {}, {}, {}}, std::nullopt});
    return *edits.back().column;
}

void CaseWriter::noteChange(CaseTable table, qint64 key, int kind) {
    CaseChange& change = m_open->change;
    if (table == CaseTable::Settings) {
        change.settings = true;
        return;
    }
    (kind == Inserted ? change.inserted : (kind == Removed ? change.removed : change.updated)).push_back(key);
}

// Writes one cell inside the open step; false when the row is gone.
bool CaseWriter::writeCell(CaseTable table, const QString& column, qint64 key, const QVariant& value) {
    const std::optional<std::vector<QVariant>> before = readRow(table, key, {column});
    if (!before)
        return false;
    Statement update = m_db.prepare(
        QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %3 = ?2 AND %2 IS NOT ?1")
            .arg(quoteIdentifier(tableName(table)), quoteIdentifier(column), quoteIdentifier(keyColumn(table))));
    update.bind(1, value).bind(2, key);
    update.run();
    if (m_db.changes() == 0)
        return true;
    ColumnEdit& edit = columnEdit(table, column);
    edit.keys.push_back(key);
    edit.before.push_back(before->front());
    edit.after.push_back(value);
    noteChange(table, key, Updated);
    return true;
}

void CaseWriter::update(CaseTable table, qint64 key, const std::vector<std::pair<QString, QVariant>>& values,
                        const void* origin) {
    const QString name = table == CaseTable::Settings ? QStringLiteral("исходные данные") : QString();
    QString itemName;
    if (table == CaseTable::Property && !inStep()) {
        const auto stored = readRow(table, key, {layout::PropertyColumnNames[layout::ColName]});
        itemName = stored ? stored->front().toString() : QString();
    }
    asStep(name.isEmpty() ? stepName(QStringLiteral("изменение"), itemName) : name, -1, origin, [&] {
        for (const auto& [column, value] : values)
            if (!writeCell(table, column, key, value))
                throw Error(QStringLiteral("Запись не найдена в таблице «%1»").arg(tableName(table)));
    });
}

qint64 CaseWriter::insert(CaseTable table, const std::vector<std::pair<QString, QVariant>>& values,
                          const void* origin) {
    QString itemName;
    for (const auto& [column, value] : values)
        if (column == layout::PropertyColumnNames[layout::ColName])
            itemName = value.toString();
    const QString name = table == CaseTable::Settings ? QStringLiteral("исходные данные")
                                                      : stepName(QStringLiteral("новое имущество"), itemName);
    return asStep(name, -1, origin, [&] {
        QStringList names;
        QStringList marks;
        for (const auto& [column, value] : values) {
            if (value.isNull())
                continue;
            names << quoteIdentifier(column);
            marks << QStringLiteral("?%1").arg(marks.size() + 1);
        }
        const QString target = quoteIdentifier(tableName(table));
        Statement insert = m_db.prepare(
            names.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target)
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(target, names.join(u','), marks.join(u',')));
        int i = 1;
        for (const auto& [column, value] : values)
            if (!value.isNull())
                insert.bind(i++, value);
        insert.run();
        const qint64 rowid = m_db.lastInsertRowId();
        // The key column is the rowid in the property table; the settings row is found by its rowid too.
        Statement keyOf = m_db.prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(quoteIdentifier(keyColumn(table)), target));
        keyOf.bind(1, rowid);
        const qint64 key = keyOf.step() && !keyOf.isNull(0) ? keyOf.integer(0) : rowid;
        const QStringList columns = columnsOf(table);
        const auto stored = readRow(table, key, columns);
        if (!stored)
            throw Error(QStringLiteral("Новая запись не найдена в таблице «%1»").arg(tableName(table)));
        m_open->step.edits.push_back(Edit{std::nullopt, RowEdit{table, true, key, columns, *stored}});
        noteChange(table, key, Inserted);
        return key;
    });
}

void CaseWriter::remove(CaseTable table, qint64 key, const void* origin) {
    asStep(QStringLiteral("удаление (1)"), -1, origin, [&] {
        const QStringList columns = columnsOf(table);
        const auto stored = readRow(table, key, columns);
        if (!stored)
            throw Error(QStringLiteral("Нет записи для удаления"));
        RowEdit edit{table, false, key, columns, *stored};
        applyRow(edit, true);
        m_open->step.edits.push_back(Edit{std::nullopt, std::move(edit)});
        noteChange(table, key, Removed);
    });
}

void CaseWriter::updateSettings(const std::vector<std::pair<QString, QVariant>>& values, const QString& name) {
    asStep(name, -1, nullptr, [&] {
        if (const std::optional<qint64> key = settingsRowKey())
            update(CaseTable::Settings, *key, values);
        else
            insert(CaseTable::Settings, values);
    });
}

std::vector<qint64> CaseWriter::insertRows(CaseTable table, const QStringList& columns,
                                           const std::vector<std::vector<QVariant>>& rows, const void* origin) {
    const QString name = QStringLiteral("новые записи (%1)").arg(rows.size());
    return asStep(name, -1, origin, [&] {
        QStringList names;
        QStringList marks;
        for (const QString& column : columns) {
            names << quoteIdentifier(column);
            marks << QStringLiteral("?%1").arg(marks.size() + 1);
        }
        const QString target = quoteIdentifier(tableName(table));
        Statement insert = m_db.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(target, names.join(u','), marks.join(u',')));
        Statement keyOf = m_db.prepare(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(quoteIdentifier(keyColumn(table)), target));
        const QStringList all = columnsOf(table);
        QStringList quoted;
        for (const QString& column : all)
            quoted << quoteIdentifier(column);
        Statement select =
            m_db.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?1").arg(quoted.join(u','), target));
        std::vector<qint64> keys;
        keys.reserve(rows.size());
        for (const std::vector<QVariant>& row : rows) {
            insert.reset();
            for (size_t i = 0; i < row.size() && i < size_t(columns.size()); ++i)
                insert.bind(int(i) + 1, row[i]);
            insert.run();
            const qint64 rowid = m_db.lastInsertRowId();
            keyOf.reset();
            keyOf.bind(1, rowid);
            const qint64 key = keyOf.step() && !keyOf.isNull(0) ? keyOf.integer(0) : rowid;
            select.reset();
            select.bind(1, rowid);
            if (!select.step())
                throw Error(QStringLiteral("Новая запись не найдена в таблице «%1»").arg(tableName(table)));
            std::vector<QVariant> stored;
            stored.reserve(size_t(all.size()));
            for (int i = 0; i < all.size(); ++i)
                stored.push_back(select.value(i));
            m_open->step.edits.push_back(Edit{std::nullopt, RowEdit{table, true, key, all, std::move(stored)}});
            noteChange(table, key, Inserted);
            keys.push_back(key);
        }
        return keys;
    });
}

QString CaseWriter::columnName(CaseTable table, int pos) {
    const QStringList columns = columnsOf(table);
    if (pos < 0 || pos >= columns.size())
        throw Error(QStringLiteral("В таблице «%1» нет поля с номером %2").arg(tableName(table)).arg(pos));
    return columns[pos];
}

// ---- the board's writes ----------------------------------------------------

QString CaseWriter::itemShareColumn(int variant) {
    if (!m_hasItemShares)
        m_hasItemShares = columnsOf(CaseTable::Property).contains(layout::itemShareColumn(variant));
    return *m_hasItemShares ? layout::itemShareColumn(variant) : QString();
}

void CaseWriter::clearItemShare(int variant, qint64 key) {
    const QString column = itemShareColumn(variant);
    if (!column.isEmpty())
        writeCell(CaseTable::Property, column, key, QVariant());
}

void CaseWriter::setItemShare(int variant, qint64 key, const QString& shareText, const QString& itemName,
                              const void* origin) {
    Share::parse(shareText);
    const QString typed = shareText.trimmed();
    const QString column = itemShareColumn(variant);
    if (column.isEmpty())
        throw Error(QStringLiteral("В таблице «%1» нет поля «%2»")
                        .arg(layout::PropertyTable, layout::itemShareColumn(variant)));
    const QString& allocation = layout::PropertyColumnNames[size_t(layout::allocationColumn(variant))];
    asStep(stepName(QStringLiteral("доли"), itemName), variant, origin, [&] {
        if (!writeCell(CaseTable::Property, column, key, typed.isEmpty() ? QVariant() : QVariant(typed)))
            throw Error(QStringLiteral("Имущество «%1» не найдено в списке имущества").arg(itemName));
        writeCell(CaseTable::Property, allocation, key, qint64(layout::Undistributed));
    });
}

void CaseWriter::moveItem(int variant, qint64 key, int tag, const QString& itemName, const void* origin) {
    const QString& column = layout::PropertyColumnNames[size_t(layout::allocationColumn(variant))];
    asStep(stepName(QStringLiteral("перенос"), itemName), variant, origin, [&] {
        if (!writeCell(CaseTable::Property, column, key, qint64(tag)))
            throw Error(QStringLiteral("Имущество «%1» не найдено в списке имущества").arg(itemName));
        clearItemShare(variant, key); // a move gives the whole item
    });
}

void CaseWriter::gather(int variant, const void* origin) {
    const QString& column = layout::PropertyColumnNames[size_t(layout::allocationColumn(variant))];
    asStep(QStringLiteral("собрать"), variant, origin, [&] {
        const QString table = quoteIdentifier(layout::PropertyTable);
        const QString quoted = quoteIdentifier(column);
        const QString key = quoteIdentifier(keyColumn(CaseTable::Property));
        Statement select = m_db.prepare(
            QStringLiteral("SELECT %1, %2 FROM %3 WHERE %2 IS NOT 0 ORDER BY rowid").arg(key, quoted, table));
        ColumnEdit& edit = columnEdit(CaseTable::Property, column);
        while (select.step()) {
            edit.keys.push_back(select.integer(0));
            edit.before.push_back(select.value(1));
            edit.after.push_back(QVariant(qint64(0)));
        }
        m_db.prepare(QStringLiteral("UPDATE %1 SET %2 = 0 WHERE %2 IS NOT 0").arg(table, quoted)).run();
        m_open->change.updated = edit.keys;
        if (edit.keys.empty())
            m_open->step.edits.pop_back();
        gatherShares(variant);
    });
}

void CaseWriter::gatherShares(int variant) {
    const QString column = itemShareColumn(variant);
    if (column.isEmpty())
        return;
    const QString quoted = quoteIdentifier(column);
    Statement select = m_db.prepare(
        QStringLiteral("SELECT %1, %2 FROM %3 WHERE %2 IS NOT NULL ORDER BY rowid")
            .arg(quoteIdentifier(keyColumn(CaseTable::Property)), quoted, quoteIdentifier(layout::PropertyTable)));
    std::vector<qint64> keys;
    std::vector<QVariant> before;
    while (select.step()) {
        keys.push_back(select.integer(0));
        before.push_back(select.value(1));
    }
    if (keys.empty())
        return;
    m_db.prepare(QStringLiteral("UPDATE %1 SET %2 = NULL WHERE %2 IS NOT NULL")
                     .arg(quoteIdentifier(layout::PropertyTable), quoted))
        .run();
    ColumnEdit& edit = columnEdit(CaseTable::Property, column);
    edit.keys.insert(edit.keys.end(), keys.begin(), keys.end());
    edit.before.insert(edit.before.end(), before.begin(), before.end());
    edit.after.resize(edit.keys.size());
    std::vector<qint64>& updated = m_open->change.updated;
    updated.insert(updated.end(), keys.begin(), keys.end());
}

void CaseWriter::placeItems(int variant, const std::vector<std::pair<qint64, int>>& placement, const QString& name) {
    const QString& column = layout::PropertyColumnNames[size_t(layout::allocationColumn(variant))];
    asStep(name, variant, nullptr, [&] {
        for (const auto& [key, tag] : placement) {
            const auto stored = readRow(CaseTable::Property, key, {column});
            if (!stored)
                throw Error(QStringLiteral("Имущество не найдено в списке имущества"));
            const QVariant& before = stored->front();
            const int storedTag = before.isNull() ? 0 : layout::allocationTag(before.toLongLong());
            if (storedTag != tag)
                writeCell(CaseTable::Property, column, key, qint64(tag));
            clearItemShare(variant, key); // a placed item goes whole
        }
    });
}

// ---- undo and redo ---------------------------------------------------------

QString CaseWriter::undoName() const {
    return canUndo() ? m_history[size_t(m_index - 1)].name : QString();
}

QString CaseWriter::redoName() const {
    return canRedo() ? m_history[size_t(m_index)].name : QString();
}

int CaseWriter::undoVariant() const {
    return canUndo() ? m_history[size_t(m_index - 1)].variant : -1;
}

int CaseWriter::redoVariant() const {
    return canRedo() ? m_history[size_t(m_index)].variant : -1;
}

void CaseWriter::applyColumn(const ColumnEdit& edit, bool forward) {
    Statement update = m_db.prepare(QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %3 = ?2")
                                        .arg(quoteIdentifier(tableName(edit.table)), quoteIdentifier(edit.column),
                                             quoteIdentifier(keyColumn(edit.table))));
    const std::vector<QVariant>& values = forward ? edit.after : edit.before;
    for (size_t i = 0; i < edit.keys.size(); ++i) {
        update.bind(1, values[i]).bind(2, edit.keys[i]);
        update.run();
        update.reset();
    }
}

void CaseWriter::applyRow(const RowEdit& edit, bool forward) {
    const QString table = quoteIdentifier(tableName(edit.table));
    if (edit.inserted != forward) {
        Statement del = m_db.prepare(
            QStringLiteral("DELETE FROM %1 WHERE %2 = ?1").arg(table, quoteIdentifier(keyColumn(edit.table))));
        del.bind(1, edit.key);
        del.run();
        return;
    }
    // The row comes back whole: its key, so its place in table order, and every value as stored.
    QStringList names;
    QStringList marks;
    for (const QString& column : edit.columns) {
        names << quoteIdentifier(column);
        marks << QStringLiteral("?%1").arg(marks.size() + 1);
    }
    Statement insert =
        m_db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, names.join(u','), marks.join(u',')));
    for (size_t i = 0; i < edit.values.size(); ++i)
        insert.bind(int(i) + 1, edit.values[i]);
    insert.run();
}

void CaseWriter::replay(const HistoryStep& step, bool forward) {
    const auto apply = [&](const Edit& edit) {
        CaseChange& change = m_open->change;
        if (edit.column) {
            applyColumn(*edit.column, forward);
            if (edit.column->table == CaseTable::Settings)
                change.settings = true;
            else
                change.updated.insert(change.updated.end(), edit.column->keys.begin(), edit.column->keys.end());
        } else {
            applyRow(*edit.row, forward);
            noteChange(edit.row->table, edit.row->key, edit.row->inserted == forward ? Inserted : Removed);
        }
    };
    if (forward)
        std::for_each(step.edits.begin(), step.edits.end(), apply);
    else
        std::for_each(step.edits.rbegin(), step.edits.rend(), apply);
}

void CaseWriter::replayStep(int index, bool forward) {
    if (inStep())
        throw Error(QStringLiteral("Изменение случая уже начато"));
    const HistoryStep& step = m_history[size_t(index)];
    m_db.execute(QStringLiteral("BEGIN"));
    m_open.emplace();
    m_open->change.variant = step.variant;
    m_open->change.replayed = true;
    try {
        replay(step, forward);
        CaseChange change = std::move(m_open->change);
        m_open.reset();
        commitAndAnnounce(std::move(change), forward ? m_index + 1 : m_index - 1, std::nullopt);
    } catch (...) {
        m_open.reset();
        rollBackQuietly();
        throw;
    }
}

void CaseWriter::undo() {
    if (canUndo())
        replayStep(m_index - 1, false);
}

void CaseWriter::redo() {
    if (canRedo())
        replayStep(m_index, true);
}

} // namespace ravnobor::store
