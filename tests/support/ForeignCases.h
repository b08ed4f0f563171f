#pragma once

#include "support/TestProgram.h"

#include <QList>
#include <QString>
#include <QStringList>

// Case files as other SQLite programs leave them, made in code: the case, and the
// files beside it that hold some of its state.
namespace ravnobor::test {

// Runs SQL in the sqlite3 command-line program: another program writing the file, without
// this program's defences (the schema can be edited there).
void runSqliteProgram(const QString& path, const QString& sql);

// The quick and the full integrity check of a closed file, "ok" when it is sound.
QString quickCheck(const QString& path);
QString integrityCheck(const QString& path);

// Items "Предмет 0", "Предмет 1", ... priced 1000 + i and 1100 + i, all with party 1 in variant 1.
QList<ItemRow> numberedItems(int count);

// The names of the files beside a case that a kind leaves ("-wal", "-shm", "-journal").
QStringList sidecarsOf(const QString& path);

// Five items in the case file; two more items and the surname "Иванов" of party 1 committed
// in WAL mode and still standing in "-wal" (with its "-shm"): the writer never closed.
void makeCaseWithCommittedWal(const QString& path);
constexpr int CommittedWalItems = 7;

// `count` items; a writer with a tiny page cache was ended in the middle of a transaction
// that renamed and deleted items, so the file holds half of it and "-journal" the pages
// that undo it.
void makeCaseWithHotJournal(const QString& path, int count);

// The same, with the journal cut short inside its header: nothing in it can be applied.
void makeCaseWithUselessJournal(const QString& path, int count);

// Three items; the header says SQLite may read but not write the file (write version 3).
void makeCaseOfNewerWriteVersion(const QString& path);

// Three items and an index "По наименованию" whose definition was swapped for another
// column behind SQLite's back: its content no longer matches the table.
void makeCaseWithStaleIndex(const QString& path);

// Three items and an index "По звучанию" on an expression with the function "metaphone",
// which this program does not have.
void makeCaseWithUnknownFunctionIndex(const QString& path);

} // namespace ravnobor::test
