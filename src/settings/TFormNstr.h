#pragma once

#include <QDialog>
#include <QString>
#include <QVariant>

#include <array>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace ravnobor {

class ColumnLengthValidator;
class Program;
namespace split {
class ShareField;
}

// The parties window: the case description and both parties' data, edited in the
// one row of the settings table. It also builds the parties' display names and
// announces them; every window that shows them follows.
class TFormNstr final : public QDialog {
    Q_OBJECT
public:
    TFormNstr(Program& program, QWidget* parent);

    // The main window's command: show the window modally; the names follow when it closes.
    void Serv_NastrClick();
    // The show and close steps of the window; start-up and Open run them without showing it.
    void FormActivate();
    void FormDeactivate();
    void RadioGroup1Click();
    void RadioGroup2Click();
    // Rebuilds the names and the description from the case into the program's state
    // and announces them.
    void NewName_all();

signals:
    void namesChanged(const QString& party1, const QString& party2);

public:
    QLineEdit* DBEdit(int number) const { return m_edits.at(size_t(number - 1)).edit; }
    QButtonGroup* RadioGroup1 = nullptr;
    QButtonGroup* RadioGroup2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // A share that is no share keeps the window open, whatever closes it.
    void done(int result) override;

private:
    struct BoundEdit {
        QLineEdit* edit = nullptr;
        ColumnLengthValidator* limit = nullptr;
        QString column;
        QString shownText; // the stored text as the window showed it
    };
    struct PartyControls {
        QButtonGroup* kind;
        QString legalColumn;
        std::array<int, 3> personEdits; // surname, first name, patronymic
        int entityEdit;
        int addressEdit;
    };

    void buildWindow();
    QWidget* buildPartyGroup(int party, const QString& caption);
    void applyPartyKind(const PartyControls& party);
    void loadEdits();
    bool writeBackChanges();

    Program& m_program;
    std::vector<BoundEdit> m_edits; // DBEdit1..DBEdit11
    std::array<PartyControls, 2> m_parties{};
    std::array<bool, 2> m_storedLegal{};
    split::ShareField* m_share = nullptr;
};

} // namespace ravnobor
