#include "store/CaseValidator.h"

#include "store/Database.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/Share.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>

#include <cmath>
#include <exception>
#include <future>

namespace ravnobor::store::casecheck {

namespace {

const QByteArray SqliteHeader("SQLite format 3\0", 16);

struct ColumnInfo {
    QString name;
    QString type;
    int primaryKey = 0;
    int hidden = 0;
};

QList<ColumnInfo> columnsOf(Database& db, const QString& table) {
    QList<ColumnInfo> columns;
    Statement info = db.prepare(QStringLiteral("SELECT name, type, pk, hidden FROM pragma_table_xinfo(?1)"));
    info.bind(1, table);
    while (info.step())
        columns.append({info.text(0), info.text(1), int(info.integer(2)), int(info.integer(3))});
    return columns;
}

void checkRealTable(Database& db, const QString& table) {
    Statement list =
        db.prepare(QStringLiteral("SELECT type, wr FROM pragma_table_list WHERE schema = 'main' AND name = ?1"));
    list.bind(1, table);
    if (!list.step())
        throw Error(QStringLiteral("В файле нет таблицы «%1».").arg(table));
    const QString type = list.text(0);
    if (type == QStringLiteral("view"))
        throw Error(QStringLiteral("«%1» в файле — представление, а не таблица.").arg(table));
    if (type != QStringLiteral("table"))
        throw Error(QStringLiteral("«%1» в файле — не обычная таблица (%2).").arg(table, type));
    if (list.integer(1) != 0)
        throw Error(QStringLiteral("Таблица «%1» создана без ключа строк (WITHOUT ROWID).").arg(table));
}

enum class Kind { Integer, Real, Text, Other };

Kind kindOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QStringLiteral("INT")))
        return Kind::Integer;
    if (type.contains(QStringLiteral("CHAR")) || type.contains(QStringLiteral("TEXT")) ||
        type.contains(QStringLiteral("CLOB")))
        return Kind::Text;
    // Numeric affinity (NUMERIC, DECIMAL) holds a price as well as REAL does.
    if (type.contains(QStringLiteral("REAL")) || type.contains(QStringLiteral("FLOA")) ||
        type.contains(QStringLiteral("DOUB")) || type.contains(QStringLiteral("NUM")) ||
        type.contains(QStringLiteral("DEC")))
        return Kind::Real;
    return Kind::Other;
}

Kind requiredKind(int pos) {
    if (pos == layout::ColKey || layout::isAllocationColumn(pos))
        return Kind::Integer;
    if (layout::isPriceColumn(pos))
        return Kind::Real;
    return Kind::Text;
}

QString kindName(Kind kind) {
    switch (kind) {
    case Kind::Integer:
        return QStringLiteral("INTEGER");
    case Kind::Real:
        return QStringLiteral("REAL");
    default:
        return QStringLiteral("TEXT");
    }
}

void checkNoHiddenColumns(const QList<ColumnInfo>& columns, const QString& table) {
    for (const ColumnInfo& column : columns)
        if (column.hidden != 0)
            throw Error(
                QStringLiteral("В таблице «%1» есть вычисляемое или скрытое поле «%2».").arg(table, column.name));
}

void checkRowKey(const QList<ColumnInfo>& columns, const QString& table) {
    int keyColumns = 0;
    for (const ColumnInfo& column : columns)
        keyColumns += column.primaryKey != 0 ? 1 : 0;
    const ColumnInfo& first = columns.constFirst();
    if (first.primaryKey != 1 || keyColumns != 1 || first.type.compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive))
        throw Error(QStringLiteral("Первое поле таблицы «%1» («%2») должно быть ключом INTEGER PRIMARY KEY.")
                        .arg(table, first.name));
}

void checkPropertyTable(Database& db) {
    const QString& table = layout::PropertyTable;
    checkRealTable(db, table);
    const QList<ColumnInfo> columns = columnsOf(db, table);
    checkNoHiddenColumns(columns, table);
    for (int pos = 0; pos < layout::PropertyColumnCount; ++pos) {
        const QString& wanted = layout::PropertyColumnNames[size_t(pos)];
        if (pos >= columns.size())
            throw Error(QStringLiteral("В таблице «%1» нет поля «%2».").arg(table, wanted));
        if (columns[pos].name != wanted)
            throw Error(QStringLiteral("В таблице «%1» на месте %2 должно стоять поле «%3», а стоит «%4».")
                            .arg(table)
                            .arg(pos)
                            .arg(wanted, columns[pos].name));
        const Kind kind = requiredKind(pos);
        if (kindOf(columns[pos].type) != kind)
            throw Error(QStringLiteral("Поле «%1» таблицы «%2» должно иметь тип %3, а объявлено «%4».")
                            .arg(wanted, table, kindName(kind), columns[pos].type));
    }
    checkRowKey(columns, table);
}

void checkSettingsTable(Database& db) {
    const QString& table = layout::SettingsTable;
    checkRealTable(db, table);
    const QList<ColumnInfo> columns = columnsOf(db, table);
    checkNoHiddenColumns(columns, table);
    const int needed = layout::FirstHeading + layout::HeadingCount + int(layout::SettingsNamedColumns.size());
    if (columns.size() < needed)
        throw Error(QStringLiteral("В таблице «%1» должно быть не меньше %2 полей, а их %3.")
                        .arg(table)
                        .arg(needed)
                        .arg(columns.size()));
    checkRowKey(columns, table);
    for (const QString& name : layout::SettingsNamedColumns) {
        int pos = -1;
        for (int i = 0; i < columns.size() && pos < 0; ++i)
            if (columns[i].name == name)
                pos = i;
        if (pos < 0)
            throw Error(QStringLiteral("В таблице «%1» нет поля «%2».").arg(table, name));
        if (pos < layout::FirstHeading + layout::HeadingCount)
            throw Error(
                QStringLiteral("Поле «%1» таблицы «%2» стоит на месте заголовка (%3).").arg(name, table).arg(pos));
    }
}

// A file's text quoted in a message: a name of thousands of letters would stretch the
// warning far beyond the screen.
QString quotedText(const QString& text) {
    constexpr qsizetype Longest = 60;
    return text.size() <= Longest ? text : text.left(Longest) + QChar(0x2026);
}

QString valueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("двоичные данные");
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return quotedText(value.toString());
}

using Type = Statement::Type;

// Why the value in this column of the current row cannot stand there, or an empty text.
// Types are read as stored, so the walk over every row costs no conversions.
QString badValueReason(const Statement& row, int column, int pos) {
    const Type type = row.type(column);
    if (type == Type::Null)
        return {};
    if (layout::isPriceColumn(pos)) {
        if (type != Type::Real && type != Type::Integer)
            return QStringLiteral("не число: «%1»").arg(valueText(row.value(column)));
        if (!(std::abs(row.real(column)) <= layout::PriceLimit))
            return QStringLiteral("число вне допустимых пределов (±10^15): %1").arg(valueText(row.value(column)));
        return {};
    }
    if (layout::isAllocationColumn(pos)) {
        if (type != Type::Integer)
            return QStringLiteral("не целое число: «%1»").arg(valueText(row.value(column)));
        return {};
    }
    if (type == Type::Blob)
        return QStringLiteral("двоичные данные вместо текста");
    return {};
}

// Why a stored item share cannot stand, or an empty text. Empty means the item is whole.
QString badShareReason(const Statement& row, int column) {
    const Type type = row.type(column);
    if (type == Type::Null)
        return {};
    if (type == Type::Blob)
        return QStringLiteral("двоичные данные вместо доли");
    const QString text = row.value(column).toString();
    if (text.trimmed().isEmpty() || Share::isValid(text))
        return {};
    return QStringLiteral("не доля: «%1»").arg(quotedText(text));
}

bool hasColumn(Database& db, const QString& table, const QString& name) {
    Statement info = db.prepare(QStringLiteral("SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2"));
    info.bind(1, table).bind(2, name);
    return info.step();
}

bool isCheckedColumn(int pos) {
    return pos == layout::ColName || pos == layout::ColNotes || pos == layout::ColValuation ||
           layout::isPriceColumn(pos) || layout::isAllocationColumn(pos);
}

QString damagedSentence() {
    return QStringLiteral("Файл повреждён: нарушена внутренняя структура базы данных.");
}

QString indexFailure(const QString& index, const DatabaseError& e) {
    static const QRegularExpression unknownFunction(QStringLiteral("^(?:unknown|no such) function: ([^()]+)"));
    const QRegularExpressionMatch function = unknownFunction.match(e.reason());
    const QString sentence =
        function.hasMatch()
            ? QStringLiteral("Индекс «%1» в файле вычисляется функцией «%2», которой нет в этой программе, "
                             "поэтому файл нельзя открыть.")
                  .arg(quotedText(index), quotedText(function.captured(1)))
            : QStringLiteral("Индекс «%1» в файле нельзя построить заново, поэтому файл нельзя открыть.")
                  .arg(quotedText(index));
    return sentence + QStringLiteral("\nПодробности: ") + e.reason();
}

QStringList indexNames(Database& db) {
    QStringList names;
    Statement list = db.prepare(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY name"));
    while (list.step())
        names << list.text(0);
    return names;
}

} // namespace

UnreadableFileError::UnreadableFileError(const QString& sentence, const QString& details)
    : Error(sentence + QStringLiteral("\nПодробности: ") + details), m_details(details) {}

void checkHeader(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw Error(QStringLiteral("Файл «%1» не найден.").arg(path));
    if (info.isDir())
        throw Error(QStringLiteral("«%1» — это папка, а не файл.").arg(path));
    // A named pipe would block the program on its first read, and a device never ends.
    if (!info.isFile())
        throw Error(QStringLiteral("«%1» — это не обычный файл (канал, устройство или сокет).").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(path, file.errorString()));
    if (file.read(SqliteHeader.size()) != SqliteHeader)
        throw Error(
            QStringLiteral("Файл «%1» не является файлом программы «Равнобор» (это не база данных SQLite).").arg(path));
}

void checkLayout(Database& db) {
    checkPropertyTable(db);
    checkSettingsTable(db);
}

void checkValues(Database& db) {
    QStringList columns{QStringLiteral("rowid")};
    QList<int> positions;
    for (int pos = 0; pos < layout::PropertyColumnCount; ++pos) {
        if (!isCheckedColumn(pos))
            continue;
        positions.append(pos);
        columns << quoteIdentifier(layout::PropertyColumnNames[size_t(pos)]);
    }
    QStringList names;
    for (int pos : positions)
        names << layout::PropertyColumnNames[size_t(pos)];
    const qsizetype firstShare = names.size();
    for (const QString& share : layout::ItemShareColumnNames) {
        if (!hasColumn(db, layout::PropertyTable, share))
            continue;
        names << share;
        columns << quoteIdentifier(share);
    }
    Statement rows = db.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                    .arg(columns.join(QStringLiteral(", ")), quoteIdentifier(layout::PropertyTable)));
    qint64 number = 0;
    while (rows.step()) {
        ++number;
        for (int i = 0; i < names.size(); ++i) {
            const QString reason =
                i < firstShare ? badValueReason(rows, i + 1, positions[i]) : badShareReason(rows, i + 1);
            if (reason.isEmpty())
                continue;
            const QString name = rows.type(1) == Type::Text ? quotedText(rows.text(1)) : QString();
            throw Error(QStringLiteral("В строке %1 («%2») таблицы «%3» в поле «%4» %5.")
                            .arg(number)
                            .arg(name, layout::PropertyTable, names[i], reason));
        }
    }
}

void ensureItemShareColumns(Database& db) {
    for (const QString& share : layout::ItemShareColumnNames)
        if (!hasColumn(db, layout::PropertyTable, share))
            db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT")
                           .arg(quoteIdentifier(layout::PropertyTable), quoteIdentifier(share)));
}

void checkIntegrity(Database& db) {
    Statement check = db.prepare(QStringLiteral("PRAGMA quick_check(1)"));
    if (!check.step() || check.text(0) != QStringLiteral("ok"))
        throw UnreadableFileError(damagedSentence(), check.text(0));
}

void checkIndexes(Database& db) {
    // Compiling the rebuild finds an index on a function the program does not have
    // without writing anything; every later write to its table would fail.
    for (const QString& index : indexNames(db)) {
        try {
            db.prepare(QStringLiteral("EXPLAIN REINDEX %1").arg(quoteIdentifier(index)));
        } catch (const DatabaseError& e) {
            throw Error(indexFailure(index, e));
        }
    }
}

void rebuildIndexes(Database& db) {
    for (const QString& index : indexNames(db)) {
        try {
            db.execute(QStringLiteral("REINDEX %1").arg(quoteIdentifier(index)));
        } catch (const DatabaseError& e) {
            throw Error(indexFailure(index, e));
        }
    }
}

void ensureSettingsRow(Database& db) {
    const QString table = quoteIdentifier(layout::SettingsTable);
    Statement any = db.prepare(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(table));
    if (any.step())
        return;
    const QList<ColumnInfo> columns = columnsOf(db, layout::SettingsTable);
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < layout::HeadingCount; ++i) {
        names << quoteIdentifier(columns[layout::FirstHeading + i].name);
        values << layout::DesignHeadings[size_t(i)];
    }
    for (const QString& name : layout::SettingsNamedColumns) {
        names << quoteIdentifier(name);
        const bool isFlag = name == layout::Legal1 || name == layout::Legal2;
        values << (isFlag ? QVariant(qint64(0)) : QVariant(QString()));
    }
    for (int i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?%1").arg(i + 1);
    Statement insert = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (int i = 0; i < values.size(); ++i)
        insert.bind(i + 1, values[i]);
    insert.run();
}

namespace {

// True when the header is SQLite's own but asks for a newer reader (format version at byte
// 19 above 2), rather than being garbage after the first 16 bytes: the payload fractions at
// bytes 21-23 are fixed at 64, 32 and 32 in every format.
bool needsNewerReader(const QString& path) {
    constexpr qint64 HeaderPart = 24;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(HeaderPart);
    return header.size() == HeaderPart && uchar(header[19]) > 2 && header.mid(21, 3) == QByteArray("\x40\x20\x20");
}

UnreadableFileError plainEngineReason(const DatabaseError& e, const QString& path) {
    const QString otherFormat = QStringLiteral("Файл записан другой программой в формате, который нельзя прочитать.");
    switch (e.code()) {
    case SQLITE_NOTADB:
        if (needsNewerReader(path))
            return {otherFormat, e.reason()};
        return {QStringLiteral("Файл не является базой данных программы «Равнобор»."), e.reason()};
    case SQLITE_CORRUPT:
        return {damagedSentence(), e.reason()};
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        return {QStringLiteral("Файл не удалось открыть."), e.reason()};
    default:
        if (e.reason() == QStringLiteral("unsupported file format"))
            return {otherFormat, e.reason()};
        return {QStringLiteral("Файл не удалось прочитать как случай."), e.reason()};
    }
}

// SQLite writes the case anew into a fresh file: its header, pages and free space are
// SQLite's own, none of them taken from the source.
void copyInto(Database& db, const QString& path) {
    Statement vacuum = db.prepare(QStringLiteral("VACUUM INTO ?1"));
    vacuum.bind(1, path);
    vacuum.run();
}

// The first read of the source applies the journal or WAL beside it; only then may a
// second connection read it. The values are checked on that second connection while
// this one checks the structure and copies the file: each is a pass over every row.
// A damaged file is reported as such before anything its damage may have caused.
void copyCheckedSource(const QString& source, const QString& path) {
    Database db(source, Database::Mode::ReadWrite);
    // The copy is made again from the case file whenever it is needed: no waiting on the disk.
    db.execute(QStringLiteral("PRAGMA synchronous = OFF"));
    checkLayout(db);
    checkIndexes(db);
    auto values = std::async(std::launch::async, [source] {
        Database reader(source, Database::Mode::ReadOnly);
        checkValues(reader);
    });
    std::exception_ptr copyFailure;
    try {
        checkIntegrity(db);
    } catch (...) {
        values.wait();
        throw;
    }
    try {
        copyInto(db, path);
    } catch (...) {
        copyFailure = std::current_exception();
    }
    values.get();
    if (copyFailure)
        std::rethrow_exception(copyFailure);
}

} // namespace

void prepareIncomingCase(const QString& source, const QString& path) {
    checkHeader(source);
    QFile::remove(path);
    try {
        copyCheckedSource(source, path);
        Database db(path, Database::Mode::ReadWrite);
        db.execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
        rebuildIndexes(db);
        ensureItemShareColumns(db);
        ensureSettingsRow(db);
    } catch (const DatabaseError& e) {
        QFile::remove(path);
        throw plainEngineReason(e, source);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

void createEmptyCase(const QString& path) {
    QFile::remove(path);
    Database db(path, Database::Mode::Create);
    db.execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    QStringList property;
    for (int pos = 0; pos < layout::PropertyColumnCount; ++pos) {
        const QString type =
            pos == layout::ColKey ? QStringLiteral("INTEGER PRIMARY KEY") : kindName(requiredKind(pos));
        property << quoteIdentifier(layout::PropertyColumnNames[size_t(pos)]) + u' ' + type;
    }
    QStringList settings{quoteIdentifier(QStringLiteral("Код")) + QStringLiteral(" INTEGER PRIMARY KEY")};
    for (int i = 1; i <= layout::HeadingCount; ++i)
        settings << quoteIdentifier(QStringLiteral("Заголовок %1").arg(i)) + QStringLiteral(" TEXT");
    for (const QString& name : layout::SettingsNamedColumns) {
        const bool isFlag = name == layout::Legal1 || name == layout::Legal2;
        settings << quoteIdentifier(name) + (isFlag ? QStringLiteral(" INTEGER") : QStringLiteral(" TEXT"));
    }
    Transaction transaction(db);
    db.execute(QStringLiteral("CREATE TABLE %1 (%2)")
                   .arg(quoteIdentifier(layout::PropertyTable), property.join(QStringLiteral(", "))));
    db.execute(QStringLiteral("CREATE TABLE %1 (%2)")
                   .arg(quoteIdentifier(layout::SettingsTable), settings.join(QStringLiteral(", "))));
    ensureSettingsRow(db);
    transaction.commit();
}

} // namespace ravnobor::store::casecheck
