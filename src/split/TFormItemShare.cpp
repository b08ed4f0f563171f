#include "split/TFormItemShare.h"

#include "board/BoardStore.h"
#include "settings/Centred.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "split/ShareBalance.h"
#include "store/Layout.h"
#include "store/Share.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ravnobor {

namespace {

QLabel* plainLabel(const QString& objectName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* button(const QString& objectName, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    b->setMinimumWidth(75);
    return b;
}

} // namespace

TFormItemShare::TFormItemShare(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormItemShare"));
    setWindowTitle(QStringLiteral("Разделить в долях"));
    setModal(true);

    LabelItemName = plainLabel(QStringLiteral("LabelItemName"), this);
    LabelItemName->setWordWrap(true);
    LabelShare1 = plainLabel(QStringLiteral("LabelShare1"), this);
    LabelShare2 = plainLabel(QStringLiteral("LabelShare2"), this);
    EditItemShare1 = new QLineEdit(this);
    EditItemShare1->setObjectName(QStringLiteral("EditItemShare1"));
    EditItemShare2 = new QLineEdit(this);
    EditItemShare2->setObjectName(QStringLiteral("EditItemShare2"));
    EditItemShare2->setReadOnly(true);
    EditItemShare2->setFocusPolicy(Qt::ClickFocus);
    LabelPartCaption1 = plainLabel(QStringLiteral("LabelPartCaption1"), this);
    LabelPartCaption2 = plainLabel(QStringLiteral("LabelPartCaption2"), this);
    LabelPart1 = plainLabel(QStringLiteral("LabelPart1"), this);
    LabelPart2 = plainLabel(QStringLiteral("LabelPart2"), this);
    LabelBalance = plainLabel(QStringLiteral("LabelBalance"), this);
    LabelBalance->setWordWrap(true);
    ButtonBalance = button(QStringLiteral("ButtonBalance"), QStringLiteral("Уравнять"), this);
    ButtonOK = button(QStringLiteral("ButtonOK"), QStringLiteral("OK"), this);
    ButtonOK->setDefault(true);
    ButtonCancel = button(QStringLiteral("ButtonCancel"), QStringLiteral("Отмена"), this);

    auto* grid = new QGridLayout;
    // The shares, and below them each party's part of the item on the current price basis.
    grid->addWidget(LabelShare1, 0, 0);
    grid->addWidget(EditItemShare1, 0, 1);
    grid->addWidget(LabelShare2, 1, 0);
    grid->addWidget(EditItemShare2, 1, 1);
    grid->addWidget(LabelPartCaption1, 2, 0);
    grid->addWidget(LabelPart1, 2, 1);
    grid->addWidget(LabelPartCaption2, 3, 0);
    grid->addWidget(LabelPart2, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonBalance);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    auto* column = new QVBoxLayout(this);
    column->addWidget(LabelItemName);
    column->addLayout(grid);
    column->addWidget(LabelBalance);
    column->addLayout(buttons);

    connect(EditItemShare1, &QLineEdit::textChanged, this, [this] { showParts(); });
    connect(ButtonBalance, &QPushButton::clicked, this, [this] { ButtonBalanceClick(); });
    connect(ButtonOK, &QPushButton::clicked, this, [this] { ButtonOKClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    TFormMain& main = m_program.formMain();
    main.connectCommand(main.commands().Edit_ShareItem, [this] { Edit_ShareItemClick(); });
}

void TFormItemShare::Edit_ShareItemClick() {
    const std::optional<qint64> key = m_program.formMain().selectedBoardKey();
    if (!key)
        return;
    const AppState& state = m_program.state;
    const std::optional<board::PlacedBoardRow> placed =
        board::loadBoardRow(m_program.dataModule().connection(), *key, layout::priceColumn(state.priceBasis),
                            layout::allocationColumn(state.divisionVariant));
    if (!placed)
        return;
    const board::BoardRow& item = placed->row;
    m_itemName = item.name;
    m_price = item.price;
    // The item's own part leaves the sums, wherever it stands now.
    const Money price = m_price.value_or(Money());
    split::ExactAmount own1 = placed->tag > 0 ? split::ExactAmount(price) : split::ExactAmount();
    split::ExactAmount own2 = placed->tag < 0 ? split::ExactAmount(price) : split::ExactAmount();
    if (item.share) {
        own1 = split::ExactAmount::partOf(*item.share, price);
        own2 = split::ExactAmount::otherPartOf(*item.share, price);
    }
    m_share1Without = state.share1Total - own1;
    m_share2Without = state.share2Total - own2;

    LabelItemName->setText(m_itemName);
    LabelShare1->setText(state.party1Name + QStringLiteral(", доля"));
    LabelShare2->setText(state.party2Name + QStringLiteral(", доля"));
    LabelPartCaption1->setText(state.party1Name + QStringLiteral(", часть"));
    LabelPartCaption2->setText(state.party2Name + QStringLiteral(", часть"));
    LabelBalance->clear();
    EditItemShare1->setText(item.share ? item.share->text() : QString());
    showParts();
    EditItemShare1->setFocus();
    if (m_program.dialogs.exec(*this) != QDialog::Accepted)
        return;
    m_program.dataModule().writer().setItemShare(state.divisionVariant, *key, EditItemShare1->text(), m_itemName);
}

void TFormItemShare::showParts() {
    const QString typed = EditItemShare1->text();
    if (typed.trimmed().isEmpty() || !Share::isValid(typed)) {
        EditItemShare2->setText(QStringLiteral("—"));
        LabelPart1->clear();
        LabelPart2->clear();
        return;
    }
    const Share share = Share::parse(typed);
    EditItemShare2->setText(share.otherText());
    const QString& suffix = m_program.state.currencySuffix;
    const Money price = m_price.value_or(Money());
    LabelPart1->setText(m_price ? split::ExactAmount::partOf(share, price).toAmountText(suffix) : QString());
    LabelPart2->setText(m_price ? split::ExactAmount::otherPartOf(share, price).toAmountText(suffix) : QString());
}

void TFormItemShare::ButtonBalanceClick() {
    const AppState& state = m_program.state;
    const split::ShareBalance balance = split::balanceShare(m_share1Without, m_share2Without, m_price, state.share);
    if (!balance.possible) {
        showBalance(split::unbalancedText(balance, m_price, state.currencySuffix));
        return;
    }
    EditItemShare1->setText(balance.shareText);
    showBalance(balance.remainder.sign() == 0
                    ? QString()
                    : QStringLiteral("Остаётся доплата %1").arg(balance.remainder.toAmountText(state.currencySuffix)));
}

void TFormItemShare::showBalance(const QString& text) {
    LabelBalance->setText(text);
    adjustSize(); // the window grows with the message instead of squeezing the fields
}

void TFormItemShare::ButtonOKClick() {
    const QString typed = EditItemShare1->text();
    QString error;
    if (typed.trimmed().isEmpty())
        error = QStringLiteral("Введите долю стороны 1: процент (например, 60 или 33,33) или дробь (например, 1/3).");
    else
        Share::isValid(typed, &error);
    if (!error.isEmpty()) {
        m_program.dialogs.message(this, QMessageBox::Warning, QStringLiteral("Внимание!"), error, QMessageBox::Ok);
        return;
    }
    accept();
}

} // namespace ravnobor
