// The case-file commands of the main window: start, load, save, title and status.
#include "editor/TFormPT.h"
#include "settings/TFormNstr.h"
#include "shell/CaseFileRules.h"
#include "shell/CaseFiles.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>

namespace ravnobor {

namespace {

// Puts the fields back when a command ends early, unless it was told that it succeeded.
class Restorer {
public:
    explicit Restorer(AppState& state)
        : m_state(state), m_caseFileName(state.caseFileName), m_saveDialogFileName(state.saveDialogFileName) {}
    ~Restorer() {
        if (!m_kept) {
            m_state.caseFileName = m_caseFileName;
            m_state.saveDialogFileName = m_saveDialogFileName;
        }
    }
    void keep() { m_kept = true; }

private:
    AppState& m_state;
    QString m_caseFileName;
    QString m_saveDialogFileName;
    bool m_kept = false;
};

} // namespace

void TFormMain::Start() {
    m_state.documentsFolder = m_program.paths.documentsFolder();
    m_state.helpFilePath = m_program.paths.helpDir() + QStringLiteral("/index.html");
    // Only the first start creates the folder; a failed copy costs only the example.
    if (!QFileInfo::exists(m_state.documentsFolder) && QDir().mkpath(m_state.documentsFolder))
        QFile::copy(m_program.paths.examplePath(), m_state.documentsFolder + QStringLiteral("/Пример.rvb"));
    m_state.caseSaved = true;
    m_state.caseFileName = m_program.paths.templatePath();
    if (!m_workingCopy) {
        m_workingCopy =
            std::make_unique<casefiles::WorkingCopy>(m_program.paths.programWorkFolder(), m_program.paths.dataDir);
        m_state.workingCopyPath = m_workingCopy->path();
    }
    m_program.formO(); // the about box exists from the start, hidden
}

bool TFormMain::offerRecovery() {
    if (!m_workingCopy || !m_workingCopy->leftBehind())
        return false;
    const casefiles::RecoveryRecord record = *m_workingCopy->leftBehind();
    m_workingCopy->forgetLeftBehind(); // offered once
    const QString whose = record.caseFile.isEmpty()
                              ? QStringLiteral("нового дела")
                              : QStringLiteral("дела «%1»").arg(QFileInfo(record.caseFile).fileName());
    show(); // the question stands over the window it is about
    const auto answer = m_program.dialogs.message(
        this, QMessageBox::Question, QStringLiteral("Вопрос"),
        QStringLiteral("Программа была завершена аварийно. Восстановить несохранённые изменения %1?").arg(whose),
        QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    try {
        m_workingCopy->prepareLeftBehind();
    } catch (const Error& e) {
        warnLoadFailed(e.message());
        return false;
    }
    installPrepared(record.caseFile.isEmpty() ? m_program.paths.templatePath() : record.caseFile, false);
    return true;
}

void TFormMain::writeRecoveryRecord(bool unsaved) {
    if (!m_workingCopy)
        return;
    const bool neverSaved =
        m_state.caseFileName == m_program.paths.templatePath() || m_state.caseFileName == AppState::NoCaseSentinel;
    m_workingCopy->writeRecord({neverSaved ? QString() : m_state.caseFileName, unsaved});
}

void TFormMain::takeCommandLine(const QStringList& arguments) {
    if (const auto path = caserules::caseFromCommandLine(arguments))
        m_state.caseFileName = *path;
}

void TFormMain::NewFile() {
    const QString wanted = m_state.caseFileName;
    const QString templatePath = m_program.paths.templatePath();
    if (loadCase(wanted))
        return;
    if (wanted != templatePath && !m_loadedCaseFileName.isEmpty()) {
        m_state.caseFileName = m_loadedCaseFileName; // the previous case stays
        return;
    }
    if (wanted != templatePath && loadCase(templatePath))
        return;
    loadEmptyCase();
}

bool TFormMain::loadCase(const QString& path) {
    if (!m_workingCopy)
        throw Error(QStringLiteral("Нет рабочей копии случая"));
    try {
        m_workingCopy->prepare(path);
    } catch (const Error& e) {
        QString reason = e.message();
        if (path == m_program.paths.templatePath())
            reason += QStringLiteral("\nШаблон нового случая «%1» недоступен, поэтому открыт пустой случай.")
                          .arg(QDir::toNativeSeparators(path));
        warnLoadFailed(reason);
        return false;
    }
    installPrepared(path);
    return true;
}

void TFormMain::loadEmptyCase() {
    m_workingCopy->prepareEmpty();
    installPrepared(m_program.paths.templatePath());
}

void TFormMain::installPrepared(const QString& caseFileName, bool saved) {
    auto& data = m_program.dataModule();
    if (data.ADODataSet1().isOpen())
        data.ADODataSet1().updateBatch();
    data.disconnect();
    m_workingCopy->install();
    data.connectTo(m_workingCopy->path());
    data.writer().reset(saved); // the history belongs to the case
    m_state.caseFileName = caseFileName;
    m_loadedCaseFileName = caseFileName;
    recountRecords();
    LoadTitle();
    m_state.saveDialogFileName = caseFileName;
    m_state.caseSaved = saved;
    writeRecoveryRecord(!saved);
    InsertDann();
}

void TFormMain::warnLoadFailed(const QString& reason) {
    m_program.dialogs.message(this, QMessageBox::Warning, QStringLiteral("Внимание!"),
                              QStringLiteral("Ошибка открытия файла\n") + reason, QMessageBox::Ok);
}

void TFormMain::recountRecords() {
    m_state.totalRecords = m_program.dataModule().propertyRowCount();
}

void TFormMain::LoadTitle() {
    auto& settings = m_program.dataModule().ADODataSet2();
    if (settings.isOpen()) {
        settings.updateBatch();
        settings.close();
    }
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
    settings.updateBatch();
    settings.close();
}

bool TFormMain::caseMayBeReplaced() {
    if (m_state.caseSaved)
        return true;
    const auto answer = m_program.dialogs.message(this, QMessageBox::Question, QStringLiteral("Вопрос"),
                                                  QStringLiteral("Сохранить файл?"),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    File_SaveClick();
    return m_state.caseSaved;
}

void TFormMain::File_CreateClick() {
    if (!caseMayBeReplaced())
        return;
    m_state.party1Name = QStringLiteral("Сторона1");
    m_state.party2Name = QStringLiteral("Сторона2");
    m_state.caseFileName = AppState::NoCaseSentinel;
    Start();
    NewFile();
    m_program.formNstr().NewName_all();
}

FileDialogRequest TFormMain::caseFileDialog(const QString& caption, const QString& fileName) const {
    return {caption,
            m_state.documentsFolder,
            fileName,
            {QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")},
            QStringLiteral("rvb")};
}

void TFormMain::File_OpenClick() {
    if (!caseMayBeReplaced())
        return;
    const QString chosen = m_program.dialogs.openFileName(this, caseFileDialog(QStringLiteral("Открыть"), QString()));
    if (chosen.isEmpty())
        return;
    if (!loadCase(chosen))
        return;
    m_program.formNstr().FormActivate();
    m_program.formNstr().FormDeactivate();
}

QString TFormMain::askSaveFileName(const QString& proposed) {
    return m_program.dialogs.saveFileName(this, caseFileDialog(QStringLiteral("Сохранить как"), proposed));
}

void TFormMain::File_SaveClick() {
    Restorer restore(m_state);
    if (m_state.caseFileName == m_program.paths.templatePath()) {
        // A never-saved case needs a name first.
        m_state.caseFileName = m_state.documentsFolder + QStringLiteral("/Новый.rvb");
        m_state.saveDialogFileName = m_state.caseFileName;
        const QString chosen = askSaveFileName(m_state.saveDialogFileName);
        if (chosen.isEmpty())
            return;
        m_state.caseFileName = chosen;
        m_state.saveDialogFileName = chosen;
    }
    saveTo(m_state.saveDialogFileName);
    restore.keep();
}

void TFormMain::File_SaveAsClick() {
    Restorer restore(m_state);
    const bool neverSaved = m_state.caseFileName == m_program.paths.templatePath();
    const QString proposed =
        neverSaved ? m_state.documentsFolder + QStringLiteral("/Новый.rvb") : m_state.saveDialogFileName;
    const QString chosen = askSaveFileName(proposed);
    if (chosen.isEmpty())
        return;
    m_state.saveDialogFileName = chosen;
    File_SaveClick();
    if (!neverSaved || m_state.caseFileName != m_program.paths.templatePath())
        restore.keep();
}

void TFormMain::saveTo(const QString& target) {
    if (!m_workingCopy)
        throw Error(QStringLiteral("Нет рабочей копии случая"));
    casefiles::checkSaveTarget(target, m_program.paths.templatePath(), m_program.paths.examplePath(), *m_workingCopy);
    SaveTitle();
    auto& data = m_program.dataModule();
    if (data.ADODataSet1().isOpen())
        data.ADODataSet1().updateBatch();
    // The copy is taken from a closed database, so no journal stands beside it.
    data.disconnect();
    try {
        casefiles::writeCaseFile(m_workingCopy->path(), target);
    } catch (...) {
        data.connectTo(m_workingCopy->path());
        throw;
    }
    data.connectTo(m_workingCopy->path());
    m_state.caseFileName = target;
    m_state.saveDialogFileName = target;
    data.writer().markClean();
    m_state.caseSaved = true;
    writeRecoveryRecord(false);
}

void TFormMain::Timer1Timer() {
    const QString title = caserules::windowTitle(m_state.caseFileName);
    if (windowTitle() != title)
        setWindowTitle(title);
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    statusPanels[3]->setText(caserules::timeText(now.time(), locale));
    statusPanels[2]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_program.formPT().updatePositionBox(); // and TotalRecords while the list dataset is open
    statusPanels[1]->setText(
        caserules::statusSummary(m_state.totalRecords, boardCount(1), boardCount(0), boardCount(-1)));
}

} // namespace ravnobor
