#include "sheets/SheetCommands.h"

#include "editor/TFormPT.h"
#include "sheets/DelimitedText.h"
#include "sheets/DivisionExport.h"
#include "sheets/ImportPlan.h"
#include "sheets/SpreadsheetFile.h"
#include "sheets/TFormImport.h"
#include "shell/Guarded.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/TDataModule1.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ravnobor::sheets {

SheetCommands::SheetCommands(Program& program) : QObject(&program.formMain()), m_program(program) {
    TFormMain& main = program.formMain();
    main.connectCommand(main.commands().File_Import, [this] { File_ImportClick(); });
    main.connectCommand(main.commands().File_Export, [this] { File_ExportClick(); });
    TFormPT& list = program.formPT();
    connect(&list, &TFormPT::cellsPasted, this, [this, &list](const QString& text) {
        guarded(m_program.dialogs, &list, [this, &list, text] { pasteCells(text, &list); })();
    });
}

void SheetCommands::File_ImportClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Импорт списка имущества");
    request.filters = {QStringLiteral("Таблицы (*.xlsx *.ods *.csv *.txt)"), QStringLiteral("Все файлы (*)")};
    const QString path = m_program.dialogs.openFileName(&m_program.formMain(), request);
    if (path.isEmpty())
        return;
    openImport(readSpreadsheet(path), !isDelimitedTextFile(path), &m_program.formMain());
}

void SheetCommands::pasteCells(const QString& text, QWidget* owner) {
    Workbook workbook;
    workbook.sheets.push_back(readDelimited(text, u'\t'));
    openImport(std::move(workbook), false, owner);
}

void SheetCommands::openImport(Workbook workbook, bool chooseSheet, QWidget* owner) {
    TFormImport dialog(std::move(workbook), chooseSheet, m_program.state.party1Name, m_program.state.party2Name, owner);
    if (m_program.dialogs.exec(dialog) != QDialog::Accepted || dialog.plan().items.empty())
        return;
    writeImport(m_program.dataModule().writer(), dialog.plan().items);
}

QString SheetCommands::exportFileName() const {
    const QString caseFile = m_program.state.caseFileName;
    if (caseFile.isEmpty() || caseFile == AppState::NoCaseSentinel)
        return QStringLiteral("Имущество.xlsx");
    const QFileInfo info(caseFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xlsx"));
}

void SheetCommands::File_ExportClick() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Экспорт списка имущества");
    request.filters = {QStringLiteral("Книга Excel (*.xlsx)"), QStringLiteral("Текст CSV (*.csv)")};
    request.fileName = exportFileName();
    request.defaultSuffix = QStringLiteral("xlsx");
    QString path = m_program.dialogs.saveFileName(&m_program.formMain(), request);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");
    ExportCase data;
    data.items = readExportItems(m_program.dataModule().connection());
    std::copy(m_program.state.headings.begin(), m_program.state.headings.end(), data.headings.begin());
    data.party1 = m_program.state.party1Name;
    data.party2 = m_program.state.party2Name;
    data.currencySuffix = m_program.state.currencySuffix;
    data.share = m_program.state.share;
    if (QFileInfo(path).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0)
        exportCsv(data, path);
    else
        exportXlsx(data, path);
}

} // namespace ravnobor::sheets
