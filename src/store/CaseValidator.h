#pragma once

#include "store/Error.h"

#include <QString>

namespace ravnobor::store {

class Database;

// A case file comes from outside the program and is checked before it replaces
// anything. Each check throws an Error whose message says, in one line, why the
// file is not a case.
namespace casecheck {

// A file the engine cannot read, or one whose inner structure is broken. The message
// leads with a plain sentence; the engine's own text follows on a line "Подробности: …".
class UnreadableFileError : public Error {
public:
    UnreadableFileError(const QString& sentence, const QString& details);
    const QString& details() const noexcept { return m_details; }

private:
    QString m_details;
};

// The file exists, is a regular readable file and starts with the 16-byte SQLite header.
void checkHeader(const QString& path);

// The layout a case must have: both tables real tables with a row key, the columns
// the program reaches by position at their places with usable types, every price
// empty or a number within the limit and every allocation empty or an integer, and
// an intact file (quick integrity check), indexes that this program can build.
void checkLayout(Database& db);
void checkValues(Database& db);
void checkIntegrity(Database& db);
void checkIndexes(Database& db);
// Builds every index again from its definition: a file may hold an index whose content
// does not match its table, which the quick check does not see.
void rebuildIndexes(Database& db);

// Adds the item share columns a case made before them lacks; their values stay empty.
void ensureItemShareColumns(Database& db);

// Gives a settings table without a row its one row, with the design headings.
void ensureSettingsRow(Database& db);

// All of the above, building the case at `path` from `source`, a private copy of a case
// file together with the rollback journal or WAL that stood beside it. SQLite applies
// them to the copy on its first read (a hot journal rolled back, committed WAL frames
// taken in); the case is then written by SQLite into a fresh, self-contained file in
// journal mode DELETE (header, pages and indexes its own), checked and given its
// settings row. Both files are closed on return; `path` exists only on success.
void prepareIncomingCase(const QString& source, const QString& path);

// The empty case built from the layout in code, for when the template cannot be read.
void createEmptyCase(const QString& path);

} // namespace casecheck
} // namespace ravnobor::store
