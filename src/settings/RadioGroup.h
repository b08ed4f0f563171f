#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ravnobor {

// A captioned group of radio buttons with one chosen item, like the option groups
// of the settings dialogs. Its buttons are named <group name>Item<index>.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, QWidget* parent);

    int count() const { return int(m_buttons.size()); }
    int itemIndex() const;
    // Chooses an item without announcing it.
    void setItemIndex(int index);
    // The text shown exactly as given: an "&" is not taken for a shortcut mark. A text
    // wider than the group allows ends in an ellipsis and is shown whole as a tooltip.
    void setItemText(int index, const QString& text);
    void setMaximumTextWidth(int pixels) { m_maximumTextWidth = pixels; }
    QString itemText(int index) const { return m_texts.at(index); }
    QRadioButton* button(int index) const { return m_buttons.at(size_t(index)); }

signals:
    // Another item became the chosen one; choosing the chosen item again says nothing.
    void itemChosen(int index);

private:
    QButtonGroup* m_group;
    std::vector<QRadioButton*> m_buttons;
    QStringList m_texts;
    int m_maximumTextWidth = QWIDGETSIZE_MAX;
};

// Tab visits a group of options once, at its chosen option; the arrow keys move
// between the options, as in the system's own option groups.
void keepTabStopOnChosen(QButtonGroup& group);

} // namespace ravnobor
