#pragma once

#include <QString>

namespace ravnobor::store {

class Database;

// A case file comes from outside the program and is checked before it replaces
// anything. Each check throws an Error whose message says, in one line, why the
// file is not a case.
namespace casecheck {

// The file exists, is a regular readable file and starts with the 16-byte SQLite header.
void checkHeader(const QString& path);

// The layout a case must have: both tables real tables with a row key, the columns
// the program reaches by position at their places with usable types, every price
// empty or a number within the limit and every allocation empty or an integer, and
// an intact file (quick integrity check).
void checkLayout(Database& db);
void checkValues(Database& db);
void checkIntegrity(Database& db);

// Gives a settings table without a row its one row, with the design headings.
void ensureSettingsRow(Database& db);

// All of the above on a file the program may change (a private copy of the case):
// journal mode DELETE, checks, settings row. The file is closed again on return.
void prepareIncomingCase(const QString& path);

// The empty case built from the layout in code, for when the template cannot be read.
void createEmptyCase(const QString& path);

} // namespace casecheck
} // namespace ravnobor::store
