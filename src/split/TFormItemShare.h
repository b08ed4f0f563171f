#pragma once

#include "split/ExactAmount.h"
#include "store/Money.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ravnobor {

class Program;

// "Разделить в долях": party 1's share of the item selected on the board, in the
// current division variant; party 2 has the rest. OK stores it as one step.
class TFormItemShare final : public QDialog {
    Q_OBJECT
public:
    TFormItemShare(Program& program, QWidget* parent);

    // The main window's command: the board's selected item, if any, in the dialog.
    void Edit_ShareItemClick();
    // Fills in the share that brings the equalising payment to zero, or says why none can.
    void ButtonBalanceClick();
    void ButtonOKClick();

    QLabel* LabelItemName = nullptr;
    QLabel* LabelShare1 = nullptr;
    QLabel* LabelShare2 = nullptr;
    QLineEdit* EditItemShare1 = nullptr;
    QLineEdit* EditItemShare2 = nullptr; // read-only
    QLabel* LabelPartCaption1 = nullptr;
    QLabel* LabelPartCaption2 = nullptr;
    QLabel* LabelPart1 = nullptr;
    QLabel* LabelPart2 = nullptr;
    QLabel* LabelBalance = nullptr;
    QPushButton* ButtonBalance = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

private:
    void showBalance(const QString& text);
    void showParts();

    Program& m_program;
    QString m_itemName;
    std::optional<Money> m_price;
    // The parties' sums without this item, on the current basis.
    split::ExactAmount m_share1Without;
    split::ExactAmount m_share2Without;
};

} // namespace ravnobor
