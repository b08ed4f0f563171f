#pragma once

#include <QObject>

namespace ravnobor {

class Program;
class TFormMain;

namespace documents {
class WordDocument;
}

// The commands of the "Документы" menu: each makes a new document, writes it as a new
// file in the documents folder and hands it to the desktop to open.
class DocumentCommands final : public QObject {
    Q_OBJECT
public:
    // Enables and connects the menu's actions; lives as long as the main window.
    DocumentCommands(Program& program, TFormMain& formMain);

    void ToolButton14Click(); // "Вариант раздела имущества"
    void Doc_imClick();       // "Общий список имущества"
    void N11Click();          // "Список имущества стороны 1"
    void N22Click();          // "Список имущества стороны 2"

private:
    void partyList(int tag, const QString& documentName);
    QString templatePath(const QString& fileName) const;
    // The case's file, or nothing for a case never saved.
    QString savedCaseFile() const;
    void handOver(const documents::WordDocument& document, const QString& documentName);

    Program& m_program;
    TFormMain& m_formMain;
};

} // namespace ravnobor
