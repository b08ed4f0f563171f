#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormNstr final : public QDialog {
    Q_OBJECT
public:
    TFormNstr(Program& program, QWidget* parent);
    void FormActivate();
    void FormDeactivate();
    void NewName_all();

private:
    Program& m_program;
};

} // namespace ravnobor
