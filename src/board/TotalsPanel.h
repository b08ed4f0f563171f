#pragma once

#include "board/ShareBar.h"
#include "board/TotalsText.h"

#include <QObject>

class QFrame;
class QLabel;
class QLineEdit;

namespace ravnobor::board {

class ShareChart;

// The totals below the board: the framed box of four sums, the two party rows and
// the instruction lines, all in the given panel.
class TotalsPanel : public QObject {
public:
    explicit TotalsPanel(QFrame& panel, const QString& party1Name, const QString& party2Name);

    void show(const TotalsTexts& texts);
    void showShares(const ShareBar& bar);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A name longer than its row leaves room for the sums: cut with "…", whole in the tooltip.
    void showName(QLabel* label, const QString& text);
    void fitNames();

    QString m_name1Text;
    QString m_name2Text;
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
    ShareChart* m_chart;
};

} // namespace ravnobor::board
