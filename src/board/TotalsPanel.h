#pragma once

#include "board/TotalsText.h"

class QFrame;
class QLabel;
class QLineEdit;

namespace ravnobor::board {

// The totals below the board: the framed box of four sums, the two party rows and
// the instruction lines, all in the given panel.
class TotalsPanel {
public:
    explicit TotalsPanel(QFrame& panel, const QString& party1Name, const QString& party2Name);

    void show(const TotalsTexts& texts);

private:
    QLineEdit* m_edit17;
    QLineEdit* m_edit18;
    QLineEdit* m_edit19;
    QLineEdit* m_edit20;
    QLabel* m_halfCaption;
    QLabel* m_label14;
    QLabel* m_label8;
    QLineEdit* m_edit16;
    QLineEdit* m_edit9;
    QLineEdit* m_edit12;
    QLineEdit* m_edit10;
};

} // namespace ravnobor::board
