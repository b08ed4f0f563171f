#include "split/TFormSplit.h"

#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "split/SplitPreview.h"
#include "split/SplitStore.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QVBoxLayout>

namespace ravnobor {

namespace {

// A pair of scales, drawn so that the button looks the same on every desktop.
QIcon scalesIcon() {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 70, 140), 1.6));
    painter.drawLine(QPointF(10, 3), QPointF(10, 17));
    painter.drawLine(QPointF(6, 17), QPointF(14, 17));
    painter.drawLine(QPointF(3, 6), QPointF(17, 6));
    painter.setBrush(QColor(167, 191, 237));
    painter.drawChord(QRectF(0.5, 6, 6, 6), 180 * 16, 180 * 16);
    painter.drawChord(QRectF(13.5, 6, 6, 6), 180 * 16, 180 * 16);
    return QIcon(pixmap);
}

// The search may take its second; the pointer says so.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QLabel* previewLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText); // the lines carry the parties' names, typed by anyone
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TFormSplit::TFormSplit(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormSplit"));
    setWindowTitle(QStringLiteral("Предложить раздел"));
    setModal(true);
    buildWindow();
    installCommand();
}

void TFormSplit::buildWindow() {
    auto* column = new QVBoxLayout(this);
    auto* methods = new QGroupBox(QStringLiteral("Способ"), this);
    auto* methodColumn = new QVBoxLayout(methods);
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    const QString captions[2] = {QStringLiteral("Наименьшая доплата"), QStringLiteral("По ценам сторон")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(captions[i], methods);
        button->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        RadioGroup1->addButton(button, i);
        methodColumn->addWidget(button);
    }
    RadioGroup1->button(0)->setChecked(true);
    column->addWidget(methods);

    CheckBox1 = new QCheckBox(QStringLiteral("Оставить распределённое на местах"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    column->addWidget(CheckBox1);

    auto* preview = new QGroupBox(QStringLiteral("Что получится"), this);
    auto* previewColumn = new QVBoxLayout(preview);
    LabelParty1 = previewLabel(preview, "LabelParty1");
    LabelParty2 = previewLabel(preview, "LabelParty2");
    LabelPayment = previewLabel(preview, "LabelPayment");
    LabelOwn1 = previewLabel(preview, "LabelOwn1");
    LabelOwn2 = previewLabel(preview, "LabelOwn2");
    LabelQuality = previewLabel(preview, "LabelQuality");
    LabelChanged = previewLabel(preview, "LabelChanged");
    for (QLabel* label : {LabelParty1, LabelParty2, LabelPayment, LabelOwn1, LabelOwn2, LabelQuality, LabelChanged})
        previewColumn->addWidget(label);
    previewColumn->addStretch(1);
    column->addWidget(preview, 1);

    ButtonApply = new QPushButton(QStringLiteral("Применить"), this);
    ButtonApply->setObjectName(QStringLiteral("ButtonApply"));
    ButtonApply->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Отмена"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonApply);
    buttons->addWidget(ButtonCancel);
    column->addLayout(buttons);

    connect(ButtonApply, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    const auto reweigh = [this] { m_program.formMain().runCommand([this] { RadioGroup1Click(); }); };
    connect(RadioGroup1, &QButtonGroup::idToggled, this, [reweigh](int, bool checked) {
        if (checked)
            reweigh();
    });
    connect(CheckBox1, &QCheckBox::toggled, this, reweigh);
    setMinimumWidth(540);
}

// The command stands after "Вариант раздела" in "Сервис" and after "Исходные данные" on the toolbar.
void TFormSplit::installCommand() {
    TFormMain& main = m_program.formMain();
    auto* command = new QAction(scalesIcon(), QStringLiteral("Предложить раздел"), &main);
    command->setObjectName(QStringLiteral("Serv_Split"));
    command->setStatusTip(QStringLiteral("Предложить раздел"));
    command->setToolTip(QStringLiteral("Предложить раздел"));
    main.connectCommand(command, [this] { Serv_SplitClick(); });

    if (QMenu* service = main.commands().MenuServ) {
        const QList<QAction*> entries = service->actions();
        const qsizetype at = entries.indexOf(main.commands().Serv_Variant);
        service->insertAction(at >= 0 && at + 1 < entries.size() ? entries.at(at + 1) : nullptr, command);
    }
    const QList<QAction*> tools = main.ToolBar1->actions();
    const qsizetype at = tools.indexOf(main.commands().TB_Serv_Nastr);
    main.ToolBar1->insertAction(at >= 0 && at + 1 < tools.size() ? tools.at(at + 1) : nullptr, command);
    main.ToolBar1->widgetForAction(command)->setObjectName(QStringLiteral("TB_Serv_Split"));
}

void TFormSplit::Serv_SplitClick() {
    if (!m_program.dataModule().isConnected())
        return;
    const AppState& state = m_program.state;
    m_items = split::loadSplitItems(m_program.dataModule().connection(), state.divisionVariant, state.priceBasis);
    RadioGroup1Click();
    if (m_program.dialogs.exec(*this) == QDialog::Accepted)
        apply();
}

void TFormSplit::RadioGroup1Click() {
    const AppState& state = m_program.state;
    const bool keepPlaced = CheckBox1->isChecked();
    {
        const WaitCursor wait;
        m_plan = RadioGroup1->checkedId() == 1 ? split::planByOwnPrices(m_items, state.share, keepPlaced)
                                               : split::planMinimalPayment(m_items, state.share, keepPlaced);
    }
    const split::SplitPreview preview =
        split::splitPreview(m_plan, {state.party1Name, state.party2Name, state.currencySuffix});
    LabelParty1->setText(preview.party1);
    LabelParty2->setText(preview.party2);
    LabelPayment->setText(preview.payment);
    LabelOwn1->setText(preview.own1);
    LabelOwn2->setText(preview.own2);
    LabelOwn1->setVisible(!preview.own1.isEmpty());
    LabelOwn2->setVisible(!preview.own2.isEmpty());
    LabelQuality->setText(preview.quality);
    LabelChanged->setText(preview.changed);
}

void TFormSplit::apply() {
    // The board follows the writer's announcement of the new places.
    split::applySplitPlan(m_program.dataModule().writer(), m_program.state.divisionVariant, m_items, m_plan);
}

} // namespace ravnobor
