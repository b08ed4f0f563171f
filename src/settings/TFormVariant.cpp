#include "settings/TFormVariant.h"

#include "settings/Centred.h"
#include "settings/OkButton.h"
#include "settings/PartyNames.h"
#include "settings/RadioGroup.h"
#include "settings/TFormNstr.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"

#include <QAction>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace ravnobor {

namespace {

const QSize DesignedClientSize(395, 98);
constexpr int MaximumNameWidth = 200; // longer names end in an ellipsis

} // namespace

TFormVariant::TFormVariant(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormVariant"));
    setWindowTitle(QStringLiteral("Выбор варианта раздела"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    const QStringList parties{QStringLiteral("Сторона 1"), QStringLiteral("Сторона 2")};
    RadioGroup1 = new RadioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Вариант"), parties, this);
    RadioGroup2 = new RadioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("По цене"),
                                 parties + QStringList{settings::AgreedPriceEntry}, this);
    RadioGroup1->setItemIndex(m_program.state.divisionVariant);
    RadioGroup2->setItemIndex(m_program.state.priceBasis);
    for (RadioGroup* group : {RadioGroup1, RadioGroup2}) {
        group->setMaximumTextWidth(MaximumNameWidth);
        connect(group, &RadioGroup::itemChosen, this,
                [this] { m_program.formMain().runCommand([this] { RadioGroup1Click(); }); });
    }

    QPushButton* ok = createOkButton(*this);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 8);
    row->setSpacing(8);
    row->addWidget(RadioGroup1, 1);
    row->addWidget(RadioGroup2, 1);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->addStretch(1);
    buttonColumn->addWidget(ok);
    row->addLayout(buttonColumn);
    fitToItems();

    TFormMain& main = m_program.formMain();
    QAction* command = main.commands().Serv_Variant;
    main.connectCommand(command, [this] { Serv_VariantClick(); });
}

void TFormVariant::setVisible(bool visible) {
    // Sized before it appears: the names may have changed since it was last shown.
    if (visible)
        fitToItems();
    QDialog::setVisible(visible);
}

void TFormVariant::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void TFormVariant::Serv_VariantClick() {
    m_program.dialogs.exec(*this);
}

void TFormVariant::RadioGroup1Click() {
    AppState& state = m_program.state;
    const int variant = RadioGroup1->itemIndex();
    const int basis = RadioGroup2->itemIndex();
    if (variant == state.divisionVariant && basis == state.priceBasis)
        return;
    state.divisionVariant = variant;
    state.priceBasis = basis;
    m_program.formMain().InsertDann();
    m_program.formNstr().NewName_all();
}

void TFormVariant::selectVariant(int variant) {
    RadioGroup1->setItemIndex(variant);
    RadioGroup1Click(); // in case the group tells only a click
}

void TFormVariant::setPartyNames(const QString& party1, const QString& party2) {
    for (RadioGroup* group : {RadioGroup1, RadioGroup2}) {
        group->setItemText(0, party1);
        group->setItemText(1, party2);
    }
    fitToItems();
}

void TFormVariant::fitToItems() {
    // Fixed size, but wide enough that no party's name is clipped.
    ensurePolished();
    layout()->invalidate();
    const QSize fitting = DesignedClientSize.expandedTo(minimumSizeHint());
    if (minimumSize() != fitting || maximumSize() != fitting)
        setFixedSize(fitting);
}

} // namespace ravnobor
