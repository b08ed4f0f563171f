// The case-file commands of the main window: start, load, save, title and status.
#include "editor/TFormPT.h"
#include "shell/CaseFileRules.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>

namespace ravnobor {

void TFormMain::Start() {
    m_state.documentsFolder = m_program.paths.documentsFolder();
    m_state.helpFilePath = m_program.paths.helpDir() + QStringLiteral("/index.html");
    if (!QFileInfo::exists(m_state.documentsFolder) && QDir().mkpath(m_state.documentsFolder))
        QFile::copy(m_program.paths.examplePath(), m_state.documentsFolder + QStringLiteral("/Пример.rvb"));
    m_state.caseSaved = true;
    m_state.caseFileName = m_program.paths.templatePath();
    if (m_state.workingCopyPath.isEmpty()) {
        const QString appDir = m_program.paths.appDir;
        const bool besideExe = QFileInfo(appDir).isWritable();
        const QString dir = besideExe ? appDir : m_program.paths.dataDir;
        QDir().mkpath(dir);
        m_state.workingCopyPath = dir + QStringLiteral("/temp.rvb");
    }
    m_program.formO(); // the about box exists from the start, hidden
}

void TFormMain::takeCommandLine(const QStringList& arguments) {
    if (const auto path = caserules::caseFromCommandLine(arguments))
        m_state.caseFileName = *path;
}

void TFormMain::NewFile() {
    auto& data = m_program.dataModule();
    data.disconnect();
    QFile::remove(m_state.workingCopyPath);
    if (!QFile::copy(m_state.caseFileName, m_state.workingCopyPath)) {
        m_program.dialogs.message(this, QMessageBox::Warning, QStringLiteral("Внимание!"),
                                  QStringLiteral("Ошибка открытия файла"), QMessageBox::Ok);
        return;
    }
    QFile::setPermissions(m_state.workingCopyPath, QFile::ReadOwner | QFile::WriteOwner);
    data.connectTo(m_state.workingCopyPath);
    auto& list = data.ADODataSet1();
    list.open();
    m_state.totalRecords = list.recordCount();
    list.close();
    LoadTitle();
    m_state.saveDialogFileName = m_state.caseFileName;
    InsertDann();
}

void TFormMain::LoadTitle() {
    auto& settings = m_program.dataModule().ADODataSet2();
    settings.open();
    if (settings.recordCount() > 0)
        for (int i = 0; i < layout::HeadingCount; ++i)
            m_state.headings[size_t(i)] = settings.field(layout::FirstHeading + i).toString();
    settings.close();
}

void TFormMain::SaveTitle() {
    auto& settings = m_program.dataModule().ADODataSet2();
    settings.open();
    settings.edit();
    for (int i = 0; i < layout::HeadingCount; ++i)
        settings.setField(layout::FirstHeading + i, m_state.headings[size_t(i)]);
    settings.post();
    settings.close();
}

void TFormMain::File_CreateClick() {
    m_state.party1Name = QStringLiteral("Сторона1");
    m_state.party2Name = QStringLiteral("Сторона2");
    Start();
    NewFile();
}

void TFormMain::File_OpenClick() {
    FileDialogRequest request{QStringLiteral("Открыть"),
                              m_state.documentsFolder,
                              QString(),
                              {QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")},
                              QStringLiteral("rvb")};
    const QString chosen = m_program.dialogs.openFileName(this, request);
    if (chosen.isEmpty())
        return;
    m_state.caseFileName = chosen;
    NewFile();
}

void TFormMain::File_SaveClick() {
    if (m_state.caseFileName == m_program.paths.templatePath()) {
        FileDialogRequest request{
            QStringLiteral("Сохранить как"),
            m_state.documentsFolder,
            m_state.documentsFolder + QStringLiteral("/Новый.rvb"),
            {QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")},
            QStringLiteral("rvb")};
        const QString chosen = m_program.dialogs.saveFileName(this, request);
        if (chosen.isEmpty())
            return;
        m_state.saveDialogFileName = chosen;
    }
    SaveTitle();
    auto& data = m_program.dataModule();
    data.disconnect();
    QFile::remove(m_state.saveDialogFileName);
    QFile::copy(m_state.workingCopyPath, m_state.saveDialogFileName);
    data.connectTo(m_state.workingCopyPath);
    m_state.caseFileName = m_state.saveDialogFileName;
    m_state.caseSaved = true;
}

void TFormMain::File_SaveAsClick() {
    FileDialogRequest request{QStringLiteral("Сохранить как"),
                              m_state.documentsFolder,
                              m_state.saveDialogFileName,
                              {QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")},
                              QStringLiteral("rvb")};
    const QString chosen = m_program.dialogs.saveFileName(this, request);
    if (chosen.isEmpty())
        return;
    m_state.saveDialogFileName = chosen;
    File_SaveClick();
}

void TFormMain::Timer1Timer() {
    setWindowTitle(caserules::windowTitle(m_state.caseFileName));
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    statusPanels[3]->setText(
        locale.toString(now.time(), locale.timeFormat(QLocale::LongFormat).remove(QStringLiteral("t")).trimmed()));
    statusPanels[2]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_program.formPT().updatePositionBox();
    statusPanels[1]->setText(
        caserules::statusSummary(m_state.totalRecords, boardCount(1), boardCount(0), boardCount(-1)));
}

} // namespace ravnobor
