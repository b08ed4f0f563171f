#pragma once

#include "sheets/SheetData.h"

#include <QObject>

class QWidget;

namespace ravnobor {

class Program;

namespace sheets {

// The commands that bring a property list in from a table and take the division out:
// "Импорт списка имущества…", "Экспорт списка имущества…", and Ctrl+V of copied cells
// in the property list window.
class SheetCommands final : public QObject {
    Q_OBJECT
public:
    explicit SheetCommands(Program& program);

    void File_ImportClick();
    void File_ExportClick();
    // Opens the import on cells copied from a spreadsheet.
    void pasteCells(const QString& text, QWidget* owner);

private:
    void openImport(Workbook workbook, bool chooseSheet, QWidget* owner);
    QString exportFileName() const;

    Program& m_program;
};

} // namespace sheets
} // namespace ravnobor
