#pragma once

#include <QByteArray>
#include <QString>

namespace ravnobor::documents {

// Writes a finished document as a new file in the folder, named after the document:
// "<name>.docx", or "<name> (2).docx", "<name> (3).docx"... when the name is taken.
// An existing file is never replaced, and a file that could not be written whole is
// not left behind. Returns the path; throws an Error that says why it could not write.
QString saveAsNewDocument(const QByteArray& docx, const QString& folder, const QString& name);

// The name a document's file takes: the case file's name first, so the documents of
// several cases in one folder tell apart ("Иванов — Общий список имущества" for
// "Иванов.rvb"); the document's name alone for a case never saved (empty caseFile).
QString documentFileName(const QString& caseFile, const QString& documentName);

} // namespace ravnobor::documents
