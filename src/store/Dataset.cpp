#include "store/Dataset.h"

#include "store/Error.h"
#include "store/NumberText.h"

namespace ravnobor::store {

namespace {

Dataset::ColumnKind kindOfDeclaredType(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QStringLiteral("INT")) || type.contains(QStringLiteral("BOOL")))
        return Dataset::ColumnKind::Integer;
    if (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("TEXT")) ||
        type.contains(QStringLiteral("CLOB")))
        return Dataset::ColumnKind::Text;
    if (type.contains(QStringLiteral("REAL")) || type.contains(QStringLiteral("FLOA")) ||
        type.contains(QStringLiteral("DOUB")) || type.contains(QStringLiteral("NUM")) ||
        type.contains(QStringLiteral("DEC")))
        return Dataset::ColumnKind::Real;
    return Dataset::ColumnKind::Other;
}

} // namespace

Dataset::Dataset(Database& db, QString table) : m_db(&db), m_table(std::move(table)) {}

QString Dataset::quotedTable() const {
    return quoteIdentifier(m_table);
}
QString Dataset::quotedColumn(int pos) const {
    return quoteIdentifier(m_columns.at(pos));
}

void Dataset::readColumns() {
    m_columns.clear();
    m_kinds.clear();
    Statement info = m_db->prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
    info.bind(1, m_table);
    while (info.step()) {
        m_columns << info.text(0);
        m_kinds.push_back(kindOfDeclaredType(info.text(1)));
    }
    if (m_columns.isEmpty())
        throw Error(QStringLiteral("В базе данных нет таблицы «%1»").arg(m_table));
}

void Dataset::open() {
    if (isOpen())
        close();
    readColumns();
    std::vector<std::vector<QVariant>> rows;
    Statement select = m_db->prepare(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quotedTable()));
    const int count = select.columnCount();
    while (select.step()) {
        std::vector<QVariant> row;
        row.reserve(size_t(count));
        for (int c = 0; c < count; ++c)
            row.push_back(select.value(c));
        rows.push_back(std::move(row));
    }
    m_rows = std::move(rows);
    m_state = State::Browse;
    first();
}

void Dataset::close() {
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_buffer.clear();
    m_current = -1;
    m_eof = true;
    m_state = State::Closed;
}

void Dataset::requireOpen() const {
    if (!isOpen())
        throw Error(QStringLiteral("Набор данных «%1» закрыт").arg(m_table));
}

int Dataset::recNo() const {
    if (m_state == State::Insert || m_rows.empty() || m_current < 0)
        return -1;
    return m_current + 1;
}

void Dataset::setCurrentRow(int row) {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    if (m_rows.empty()) {
        m_current = -1;
        m_eof = true;
        return;
    }
    m_current = std::clamp(row, 0, recordCount() - 1);
    m_eof = false;
}

void Dataset::first() {
    setCurrentRow(0);
}
void Dataset::last() {
    setCurrentRow(recordCount() - 1);
}

void Dataset::next() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    if (m_current + 1 >= recordCount())
        m_eof = true;
    else
        ++m_current;
}

void Dataset::prior() {
    requireOpen();
    if (m_current > 0)
        setCurrentRow(m_current - 1);
}

int Dataset::columnIndex(const QString& name) const {
    const int pos = int(m_columns.indexOf(name));
    if (pos < 0)
        throw Error(QStringLiteral("В таблице «%1» нет поля «%2»").arg(m_table, name));
    return pos;
}

QVariant Dataset::field(int pos) const {
    requireOpen();
    if (pos < 0 || pos >= columnCount())
        throw Error(QStringLiteral("В таблице «%1» нет поля с номером %2").arg(m_table).arg(pos));
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[size_t(pos)];
    if (m_current < 0 || m_rows.empty())
        throw Error(QStringLiteral("В таблице «%1» нет записей").arg(m_table));
    return m_rows[size_t(m_current)][size_t(pos)];
}

QVariant Dataset::convertForColumn(int pos, const QVariant& value) const {
    if (value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    switch (m_kinds.at(pos)) {
    case ColumnKind::Real:
        if (isText)
            return priceFromText(value.toString(), m_columns.at(pos), m_locale.value_or(QLocale()));
        if (!isAcceptablePrice(value))
            throw Error(
                QStringLiteral("В поле «%1» должно быть число (не больше 10^15 по модулю)").arg(m_columns.at(pos)));
        return QVariant(value.toDouble());
    case ColumnKind::Integer:
        if (isText)
            return integerFromText(value.toString(), m_columns.at(pos));
        if (value.typeId() == QMetaType::Bool)
            return QVariant(qint64(value.toBool() ? 1 : 0));
        return QVariant(value.toLongLong());
    case ColumnKind::Text:
        return QVariant(value.toString());
    case ColumnKind::Other:
        return value;
    }
    return value;
}

void Dataset::setField(int pos, const QVariant& value) {
    requireOpen();
    if (pos < 0 || pos >= columnCount())
        throw Error(QStringLiteral("В таблице «%1» нет поля с номером %2").arg(m_table).arg(pos));
    const QVariant converted = convertForColumn(pos, value);
    if (m_state == State::Browse)
        edit();
    m_buffer[size_t(pos)] = converted;
    m_changed[size_t(pos)] = true;
}

void Dataset::edit() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_rows.empty() || m_current < 0) {
        insert();
        return;
    }
    m_buffer = m_rows[size_t(m_current)];
    m_changed.assign(m_buffer.size(), false);
    m_state = State::Edit;
}

void Dataset::insert() {
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        post();
    m_buffer.assign(size_t(columnCount()), QVariant());
    m_changed.assign(m_buffer.size(), false);
    m_state = State::Insert;
}

void Dataset::cancel() {
    if (m_state == State::Edit || m_state == State::Insert)
        m_state = State::Browse;
    m_buffer.clear();
}

void Dataset::writeRow(const std::vector<QVariant>& row, const std::vector<bool>& changed) {
    std::vector<std::pair<QString, QVariant>> values;
    for (int c = 1; c < columnCount(); ++c)
        if (changed[size_t(c)])
            values.emplace_back(m_columns.at(c), row[size_t(c)]);
    if (values.empty())
        return;
    if (m_writer) {
        m_writer->update(m_writerTable, row[0].toLongLong(), values, this);
        return;
    }
    QStringList sets;
    for (const auto& [column, value] : values)
        sets << quoteIdentifier(column) + QStringLiteral(" = ?");
    Statement update = m_db->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                         .arg(quotedTable(), sets.join(QStringLiteral(", ")), quotedColumn(0)));
    int i = 1;
    for (const auto& [column, value] : values)
        update.bind(i++, value);
    update.bind(i, row[0]);
    update.run();
}

qint64 Dataset::insertRow(const std::vector<QVariant>& row) {
    std::vector<std::pair<QString, QVariant>> values;
    for (int c = 0; c < columnCount(); ++c)
        if (!row[size_t(c)].isNull())
            values.emplace_back(m_columns.at(c), row[size_t(c)]);
    if (m_writer)
        return m_writer->insert(m_writerTable, values, this);
    QStringList names;
    QStringList marks;
    for (const auto& [column, value] : values) {
        names << quoteIdentifier(column);
        marks << QStringLiteral("?");
    }
    const QString sql =
        names.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable())
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quotedTable(), names.join(u','), marks.join(u','));
    Statement insert = m_db->prepare(sql);
    int i = 1;
    for (const auto& [column, value] : values)
        insert.bind(i++, value);
    insert.run();
    return m_db->lastInsertRowId();
}

void Dataset::post() {
    requireOpen();
    if (m_state == State::Edit) {
        writeRow(m_buffer, m_changed);
        m_rows[size_t(m_current)] = std::move(m_buffer);
    } else if (m_state == State::Insert) {
        const qint64 key = insertRow(m_buffer);
        if (m_buffer[0].isNull())
            m_buffer[0] = QVariant(key);
        m_rows.push_back(std::move(m_buffer));
        m_current = recordCount() - 1;
        m_eof = false;
    } else {
        return;
    }
    m_buffer.clear();
    m_state = State::Browse;
    if (m_afterPost)
        m_afterPost();
}

void Dataset::remove() {
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    if (m_rows.empty() || m_current < 0)
        throw Error(QStringLiteral("Нет записи для удаления"));
    if (m_writer) {
        m_writer->remove(m_writerTable, rowKey(m_current), this);
    } else {
        Statement del =
            m_db->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quotedTable(), quotedColumn(0)));
        del.bind(1, m_rows[size_t(m_current)][0]);
        del.run();
    }
    eraseRow(m_current);
    if (m_afterDelete)
        m_afterDelete();
}

void Dataset::updateBatch() {
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Dataset::setValue(int row, int pos, const QVariant& value) {
    requireOpen();
    const QVariant converted = convertForColumn(pos, value);
    std::vector<bool> changed(size_t(columnCount()), false);
    changed[size_t(pos)] = true;
    std::vector<QVariant> updated = m_rows[size_t(row)];
    updated[size_t(pos)] = converted;
    writeRow(updated, changed);
    m_rows[size_t(row)] = std::move(updated);
    if (m_afterPost)
        m_afterPost();
}

int Dataset::rowOfKey(qint64 key) const {
    // Rows are kept in rowid order, so the key's row is found by bisection.
    auto it = std::lower_bound(m_rows.begin(), m_rows.end(), key,
                               [](const std::vector<QVariant>& row, qint64 k) { return row[0].toLongLong() < k; });
    if (it != m_rows.end() && (*it)[0].toLongLong() == key)
        return int(it - m_rows.begin());
    return -1;
}

void Dataset::eraseRow(int row) {
    m_rows.erase(m_rows.begin() + row);
    if (m_current > row || m_current >= recordCount())
        m_current = std::max(m_current - 1, recordCount() > 0 ? 0 : -1);
    m_eof = m_rows.empty();
}

std::optional<std::vector<QVariant>> Dataset::readStoredRow(qint64 key) {
    Statement select =
        m_db->prepare(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?1").arg(quotedTable(), quotedColumn(0)));
    select.bind(1, key);
    if (!select.step())
        return std::nullopt;
    std::vector<QVariant> row;
    for (int c = 0; c < select.columnCount(); ++c)
        row.push_back(select.value(c));
    return row;
}

int Dataset::rowForKey(qint64 key) const {
    auto at = std::lower_bound(m_rows.begin(), m_rows.end(), key,
                               [](const std::vector<QVariant>& row, qint64 k) { return row[0].toLongLong() < k; });
    return int(at - m_rows.begin());
}

int Dataset::refreshRow(qint64 key) {
    const int row = rowOfKey(key);
    if (row < 0)
        return -1;
    if (auto stored = readStoredRow(key))
        m_rows[size_t(row)] = std::move(*stored);
    return row;
}

int Dataset::insertStoredRow(qint64 key) {
    if (rowOfKey(key) >= 0)
        return -1;
    auto stored = readStoredRow(key);
    if (!stored)
        return -1;
    const int row = rowForKey(key);
    m_rows.insert(m_rows.begin() + row, std::move(*stored));
    if (m_current >= row || m_current < 0)
        ++m_current;
    m_eof = false;
    return row;
}

int Dataset::eraseRowOfKey(qint64 key) {
    const int row = rowOfKey(key);
    if (row >= 0)
        eraseRow(row);
    return row;
}

void Dataset::reread() {
    if (m_state != State::Browse)
        return;
    const int current = m_current;
    open();
    if (current >= 0)
        setCurrentRow(current);
}

} // namespace ravnobor::store
