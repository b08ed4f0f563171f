#include "settings/TFormVal.h"

#include "settings/Centred.h"
#include "settings/OkButton.h"
#include "settings/PartyNames.h"
#include "settings/RadioGroup.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ravnobor {

TFormVal::TFormVal(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormVal"));
    setWindowTitle(QStringLiteral("Валюта"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    QStringList items;
    for (const settings::Currency& currency : settings::Currencies)
        items << currency.itemText;
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QString(), items, this);
    RadioGroup1->setItemIndex(m_program.state.currencyIndex);
    connect(RadioGroup1, &RadioGroup::itemChosen, this,
            [this] { m_program.formMain().runCommand([this] { RadioGroup1Click(); }); });

    QPushButton* ok = createOkButton(*this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);
    column->addWidget(RadioGroup1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    column->addLayout(buttons);
    setFixedSize(QSize(116, 139).expandedTo(minimumSizeHint()));

    TFormMain& main = m_program.formMain();
    QAction* command = main.commands().Serv_Val;
    main.connectCommand(command, [this] { Serv_ValClick(); });
}

void TFormVal::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void TFormVal::Serv_ValClick() {
    m_program.dialogs.exec(*this);
}

void TFormVal::RadioGroup1Click() {
    AppState& state = m_program.state;
    const int index = RadioGroup1->itemIndex();
    if (index < 0 || index >= int(settings::Currencies.size()) || index == state.currencyIndex)
        return;
    state.currencyIndex = index;
    state.currencySuffix = settings::Currencies[size_t(index)].suffix;
    m_program.formMain().SummStr();
}

} // namespace ravnobor
