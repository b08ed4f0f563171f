#include "editor/PropertyListModel.h"

#include "store/CaseWriter.h"
#include "store/Dataset.h"
#include "store/Error.h"
#include "store/NumberText.h"

namespace ravnobor::editor {

namespace {

const QString NameColumn = QStringLiteral("Наименование");
const QString NotesColumn = QStringLiteral("Заметки");

bool isBlank(const QVariant& v) {
    return v.isNull() || (v.typeId() == QMetaType::QString && v.toString().isEmpty());
}

bool isNumber(const QVariant& v) {
    const int type = v.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

// A cell committed with the text it already shows must not count as a change.
bool sameValue(const QVariant& a, const QVariant& b) {
    if (isBlank(a) || isBlank(b))
        return isBlank(a) && isBlank(b);
    if (isNumber(a) && isNumber(b))
        return a.toDouble() == b.toDouble();
    return a.typeId() == b.typeId() && a.toString() == b.toString();
}

// Prices of an untrusted case may be anything; what is no usable number counts as 0.
Money priceOf(const QVariant& v) {
    if (v.isNull() || !store::isAcceptablePrice(v))
        return {};
    bool ok = false;
    const double value = v.toDouble(&ok);
    return ok ? Money::fromDouble(value) : Money{};
}

} // namespace

PropertyListModel::PropertyListModel(store::Dataset& list, Headings& headings, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_headings(headings) {
    for (int c = 0; c < GridColumnCount; ++c)
        m_positions[size_t(c)] = GridColumns[size_t(c)].storedPosition;
}

void PropertyListModel::resolvePositions() {
    for (int c = 0; c < GridColumnCount; ++c)
        m_positions[size_t(c)] = GridColumns[size_t(c)].storedPosition;
    m_positions[GridName] = m_list.columnIndex(NameColumn);
    m_positions[GridNotes] = m_list.columnIndex(NotesColumn);
    for (int c = 0; c < GridColumnCount; ++c)
        if (m_positions[size_t(c)] >= m_list.columnCount())
            throw Error(
                QStringLiteral("В таблице «%1» нет поля с номером %2").arg(m_list.table()).arg(m_positions[size_t(c)]));
}

void PropertyListModel::open() {
    beginResetModel();
    m_open = false;
    m_newRow = false;
    m_count = 0;
    m_current = -1;
    m_sums = {};
    try {
        m_list.setLocale(QLocale());
        m_list.open();
        resolvePositions();
    } catch (...) {
        m_list.close();
        endResetModel();
        emit sumsChanged();
        throw;
    }
    m_open = true;
    m_count = m_list.recordCount();
    for (int row = 0; row < m_count; ++row)
        addToSums(row, 1);
    m_current = m_count > 0 ? 0 : -1;
    endResetModel();
    emit sumsChanged();
}

void PropertyListModel::close() {
    if (m_open && m_list.isOpen()) {
        settleNewRow();
        m_list.updateBatch();
    }
    beginResetModel();
    m_list.close();
    m_open = false;
    m_newRow = false;
    m_count = 0;
    m_current = -1;
    m_sums = {};
    endResetModel();
    emit sumsChanged();
}

int PropertyListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count + (m_newRow ? 1 : 0);
}

int PropertyListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant PropertyListModel::stored(int row, int column) const {
    if (m_newRow && row == m_count)
        return m_list.state() == store::Dataset::State::Insert ? m_list.field(positionOf(column)) : QVariant();
    if (!isStoredRow(row))
        return {};
    return m_list.value(row, positionOf(column));
}

QVariant PropertyListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= GridColumnCount)
        return {};
    const int column = index.column();
    const bool numeric = isPriceGridColumn(column) || isAllocationGridColumn(column);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const QVariant v = stored(index.row(), column);
        return numeric ? store::plainNumberText(v) : v.toString();
    }
    case Qt::TextAlignmentRole:
        return int((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool PropertyListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    try {
        setCellText(index.row(), index.column(), value.toString());
        return true;
    } catch (const Error& e) {
        emit valueRefused(e.message());
        return false;
    }
}

Qt::ItemFlags PropertyListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant PropertyListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < GridColumnCount ? QVariant(m_headings[size_t(section)]) : QVariant();
    return m_newRow && section == m_count ? QVariant(QStringLiteral("*")) : QVariant(QString());
}

void PropertyListModel::setCellText(int row, int column, const QString& text) {
    // The case may have been let go under an open window (the main window closed first).
    if (!m_open || !m_list.isOpen() || row < 0 || row >= rowCount() || column < 0 || column >= GridColumnCount)
        return;
    const int pos = positionOf(column);
    const QVariant value = isAllocationGridColumn(column) ? store::integerFromText(text, m_list.columnName(pos))
                                                          : m_list.convertForColumn(pos, text);
    if (sameValue(stored(row, column), value))
        return;
    if (m_newRow && row == m_count) {
        m_list.setField(pos, value);
        m_newRowTouched = true;
    } else {
        const Money before = priceOf(m_list.value(row, pos));
        m_list.setValue(row, pos, value);
        if (isPriceGridColumn(column)) {
            m_sums[size_t(column - GridPrice1)] += priceOf(m_list.value(row, pos)) - before;
            emit sumsChanged();
        }
    }
    emit dataChanged(this->index(row, column), this->index(row, column));
}

void PropertyListModel::writeValuation(int row, const QString& text) {
    if (!m_open || row < 0 || row >= rowCount())
        return;
    const int pos = layout::ColValuation;
    if (m_newRow && row == m_count) {
        m_list.setField(pos, text);
        m_newRowTouched = true;
        postNewRow();
    } else {
        m_list.setValue(row, pos, text);
    }
    emit dataChanged(index(row, GridValuation), index(row, GridValuation));
}

void PropertyListModel::startNewRow() {
    if (!m_open)
        return;
    settleNewRow();
    m_list.insert();
    m_changingRows = true;
    beginInsertRows({}, m_count, m_count);
    m_newRow = true;
    m_newRowTouched = false;
    m_changingRows = false;
    endInsertRows();
}

void PropertyListModel::postNewRow() {
    if (!m_newRow)
        return;
    m_list.post(); // the dataset appends the row where the grid already shows it
    m_newRow = false;
    ++m_count;
    addToSums(m_count - 1, 1);
    emit headerDataChanged(Qt::Vertical, m_count - 1, m_count - 1);
    emit dataChanged(index(m_count - 1, 0), index(m_count - 1, GridColumnCount - 1));
    emit sumsChanged();
}

void PropertyListModel::cancelNewRow() {
    if (!m_newRow)
        return;
    m_changingRows = true;
    beginRemoveRows({}, m_count, m_count);
    m_list.cancel();
    m_newRow = false;
    m_changingRows = false;
    endRemoveRows();
}

void PropertyListModel::settleNewRow() {
    if (m_newRowTouched)
        postNewRow();
    else
        cancelNewRow();
}

ItemFields PropertyListModel::item(int row) const {
    return readItem(m_list, row);
}

int PropertyListModel::addItem(const ItemFields& fields) {
    settleNewRow();
    writeItem(m_list, fields, true);
    // The dataset has appended the row; the model shows it from here on.
    beginInsertRows({}, m_count, m_count);
    ++m_count;
    endInsertRows();
    addToSums(m_count - 1, 1);
    emit sumsChanged();
    return m_count - 1;
}

void PropertyListModel::updateItem(int row, const ItemFields& fields) {
    if (!isStoredRow(row))
        return;
    settleNewRow();
    m_list.setCurrentRow(row);
    addToSums(row, -1);
    try {
        writeItem(m_list, fields, false);
    } catch (...) {
        addToSums(row, 1);
        throw;
    }
    addToSums(row, 1);
    emit dataChanged(index(row, 0), index(row, GridColumnCount - 1));
    emit sumsChanged();
}

void PropertyListModel::removeItem(int row) {
    if (!isStoredRow(row))
        return;
    settleNewRow();
    m_changingRows = true;
    beginRemoveRows({}, row, row);
    addToSums(row, -1);
    try {
        // The views may move the current row while told of the removal; the row to
        // delete is chosen only now.
        m_list.setCurrentRow(row);
        m_list.remove();
    } catch (...) {
        // The row is still there: show the list as it stands.
        addToSums(row, 1);
        m_changingRows = false;
        endRemoveRows();
        beginResetModel();
        m_count = m_list.recordCount();
        endResetModel();
        emit sumsChanged();
        throw;
    }
    --m_count;
    m_changingRows = false;
    endRemoveRows();
    emit sumsChanged();
}

void PropertyListModel::setCurrentRow(int row) {
    // While rows come and go the views report rows by the old numbering; the
    // window tells the current row again once the change is done.
    if (!m_open || m_changingRows)
        return;
    if (m_newRow && row != m_count)
        settleNewRow();
    if (isStoredRow(row))
        m_list.setCurrentRow(row);
    m_current = row < rowCount() ? row : -1;
}

void PropertyListModel::followCurrentRow(int row) {
    if (!m_open || m_changingRows)
        return;
    m_current = row < rowCount() ? row : -1;
    if (isStoredRow(row) && !m_newRow)
        m_list.setCurrentRow(row);
}

void PropertyListModel::follow(const store::CaseChange& change) {
    if (!m_open || change.origin == &m_list || change.rowCount() == 0)
        return;
    settleNewRow();
    for (qint64 key : change.removed) {
        const int row = m_list.rowOfKey(key);
        if (row < 0)
            continue;
        m_changingRows = true;
        beginRemoveRows({}, row, row);
        addToSums(row, -1);
        m_list.eraseRowOfKey(key);
        --m_count;
        m_changingRows = false;
        endRemoveRows();
    }
    for (qint64 key : change.updated) {
        const int row = m_list.rowOfKey(key);
        if (row < 0)
            continue;
        addToSums(row, -1);
        m_list.refreshRow(key);
        addToSums(row, 1);
        emit dataChanged(index(row, 0), index(row, GridColumnCount - 1));
    }
    for (qint64 key : change.inserted) {
        if (m_list.rowOfKey(key) >= 0)
            continue;
        const int row = m_list.rowForKey(key);
        m_changingRows = true;
        beginInsertRows({}, row, row);
        m_list.insertStoredRow(key);
        ++m_count;
        addToSums(row, 1);
        m_changingRows = false;
        endInsertRows();
    }
    emit sumsChanged();
}

void PropertyListModel::addToSums(int row, int sign) {
    for (int c = GridPrice1; c <= GridAgreed; ++c) {
        const Money price = priceOf(m_list.value(row, positionOf(c)));
        if (sign > 0)
            m_sums[size_t(c - GridPrice1)] += price;
        else
            m_sums[size_t(c - GridPrice1)] -= price;
    }
}

Money PropertyListModel::priceSum(int gridColumn) const {
    return isPriceGridColumn(gridColumn) ? m_sums[size_t(gridColumn - GridPrice1)] : Money{};
}

QString PropertyListModel::footerText(int gridColumn) const {
    if (gridColumn == GridName)
        return QStringLiteral("Всего:");
    if (isPriceGridColumn(gridColumn))
        return priceSum(gridColumn).toText(QLocale());
    return {};
}

void PropertyListModel::headingChanged(int gridColumn) {
    emit headerDataChanged(Qt::Horizontal, gridColumn, gridColumn);
}

PropertyFooterModel::PropertyFooterModel(PropertyListModel& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list) {
    connect(&m_list, &PropertyListModel::sumsChanged, this,
            [this] { emit dataChanged(index(0, 0), index(0, GridColumnCount - 1)); });
}

int PropertyFooterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

int PropertyFooterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : GridColumnCount;
}

QVariant PropertyFooterModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() != 0 || index.column() >= GridColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_list.footerText(index.column());
    if (role == Qt::TextAlignmentRole)
        return int((isPriceGridColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

QVariant PropertyFooterModel::headerData(int, Qt::Orientation, int) const {
    return {}; // no row number beside the sums
}

} // namespace ravnobor::editor
