#pragma once

#include "split/SplitPlan.h"

#include <QDialog>

#include <vector>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;

namespace ravnobor {

class Program;

// "Предложить раздел": suggests where the items of the current division variant go,
// shows what that means before anything is written, and writes it on "Применить".
class TFormSplit final : public QDialog {
    Q_OBJECT
public:
    TFormSplit(Program& program, QWidget* parent);

    // The command of "Сервис" and of the toolbar.
    void Serv_SplitClick();
    // Weighs the chosen method on the loaded items and shows the result.
    void RadioGroup1Click();

    const split::SplitPlan& plan() const { return m_plan; }

    QButtonGroup* RadioGroup1 = nullptr; // 0 "Наименьшая доплата", 1 "По ценам сторон"
    QCheckBox* CheckBox1 = nullptr;      // "Оставить распределённое на местах"
    QLabel* LabelParty1 = nullptr;
    QLabel* LabelParty2 = nullptr;
    QLabel* LabelPayment = nullptr;
    QLabel* LabelOwn1 = nullptr;
    QLabel* LabelOwn2 = nullptr;
    QLabel* LabelQuality = nullptr;
    QLabel* LabelChanged = nullptr;
    QPushButton* ButtonApply = nullptr;
    QPushButton* ButtonCancel = nullptr;

private:
    void buildWindow();
    void installCommand();
    void apply();

    Program& m_program;
    std::vector<split::SplitItem> m_items;
    split::SplitPlan m_plan;
};

} // namespace ravnobor
