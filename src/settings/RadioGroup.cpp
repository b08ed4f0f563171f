#include "settings/RadioGroup.h"

#include "settings/PartyNames.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ravnobor {

RadioGroup::RadioGroup(const QString& objectName, const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)), m_texts(items) {
    setObjectName(objectName);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, caption.isEmpty() ? 4 : 2, 8, 4);
    column->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(settings::menuText(items.at(i)), this);
        button->setObjectName(objectName + QStringLiteral("Item%1").arg(i));
        button->setMinimumWidth(button->sizeHint().width());
        m_group->addButton(button, i);
        m_buttons.push_back(button);
        column->addWidget(button);
    }
    column->addStretch(1);
    keepTabStopOnChosen(*m_group);
    // React to a button becoming checked: a click also fires on the button already checked.
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit itemChosen(id);
    });
}

void keepTabStopOnChosen(QButtonGroup& group) {
    const auto update = [&group] {
        const QList<QAbstractButton*> buttons = group.buttons();
        const bool anyChosen = group.checkedButton() != nullptr;
        for (QAbstractButton* button : buttons) {
            const bool tabStop = button->isChecked() || (!anyChosen && button == buttons.front());
            button->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    // Each button's own signal: the group's may be blocked while a choice is loaded.
    for (QAbstractButton* button : group.buttons())
        QObject::connect(button, &QAbstractButton::toggled, &group, update);
    update();
}

int RadioGroup::itemIndex() const {
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    const QSignalBlocker quiet(m_group);
    if (index >= 0 && index < count())
        m_buttons[size_t(index)]->setChecked(true);
}

void RadioGroup::setItemText(int index, const QString& text) {
    m_texts[index] = text;
    QRadioButton* button = m_buttons.at(size_t(index));
    button->ensurePolished(); // measure with the font the button will be shown in
    const QString shown = button->fontMetrics().elidedText(text, Qt::ElideRight, m_maximumTextWidth);
    button->setText(settings::menuText(shown));
    // A layout would otherwise squeeze the button and clip its text.
    button->setMinimumWidth(button->sizeHint().width());
    // Before the first showing nothing passes the new width up the layouts by itself.
    layout()->invalidate();
    updateGeometry();
    // A tooltip takes markup for rich text: escape it, so the name reads as typed.
    button->setToolTip(shown == text ? QString()
                                     : QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
                                           QStringLiteral("</p>"));
}

} // namespace ravnobor
