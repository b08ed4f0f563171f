#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Texts and rules of the case files that need no window.
namespace ravnobor::caserules {

// The arguments joined with single blanks, taken only when they end in ".rvb" exactly.
std::optional<QString> caseFromCommandLine(const QStringList& arguments);

// "Равнобор - Файл без имени " for never-saved and ".mdb" cases, else name, two blanks, folder.
QString windowTitle(const QString& caseFileName);

// "  Всего записей: N     Записи распределены: L/C/R".
QString statusSummary(int totalRecords, int left, int centre, int right);

} // namespace ravnobor::caserules
