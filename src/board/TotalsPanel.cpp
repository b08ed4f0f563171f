#include "board/TotalsPanel.h"

#include "board/DesignScale.h"
#include "board/ShareChart.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace ravnobor::board {

namespace {

constexpr int LineHeight = 17;

QLabel* plainLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setFixedHeight(LineHeight);
    return label;
}

// A value the user can select and copy but not change, in the panel's colour.
QLineEdit* valueField(const QString& objectName, int width, Qt::Alignment alignment, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFixedSize(scaledWidth(edit->fontMetrics(), width), LineHeight);
    edit->setAlignment(alignment | Qt::AlignVCenter);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setContextMenuPolicy(Qt::DefaultContextMenu);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    edit->setPalette(p);
    return edit;
}

QFrame* frame(QWidget* parent, QFrame::Shadow shadow) {
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | shadow);
    return f;
}

} // namespace

TotalsPanel::TotalsPanel(QFrame& panel, const QString& party1Name, const QString& party2Name) {
    // The panel was designed in a font one point smaller than the usual one; at the
    // usual size the box and the instructions would not fit side by side.
    QFont font = panel.font();
    if (font.pointSizeF() > 8)
        font.setPointSizeF(font.pointSizeF() - 1);
    panel.setFont(font);

    auto* column = new QVBoxLayout(&panel);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(1);

    // The framed box: captions on the left, the four values in a frame of their own.
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    QFrame* box = frame(&panel, QFrame::Sunken);
    box->setObjectName(QStringLiteral("GroupBoxTotals"));
    auto* boxRow = new QHBoxLayout(box);
    boxRow->setContentsMargins(2, 1, 1, 1);
    boxRow->setSpacing(0);
    auto* captions = new QVBoxLayout;
    captions->setSpacing(0);
    const QString captionTexts[] = {
        QStringLiteral("Общая сумма имущества  "), QStringLiteral("Сумма распределенного имущества  "),
        QStringLiteral("Не распределено  "), QStringLiteral("Половина от суммы распределенного имущества")};
    int n = 0;
    for (const QString& text : captionTexts) {
        QLabel* caption = plainLabel(QStringLiteral("LabelTotal%1").arg(++n), text, box);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        captions->addWidget(caption);
        m_halfCaption = caption; // the last one names what Edit20 shows
    }
    boxRow->addLayout(captions);
    QFrame* values = frame(box, QFrame::Sunken);
    auto* valueColumn = new QVBoxLayout(values);
    valueColumn->setContentsMargins(1, 1, 1, 1);
    valueColumn->setSpacing(0);
    QLineEdit** fields[] = {&m_edit17, &m_edit18, &m_edit19, &m_edit20};
    for (int i = 0; i < 4; ++i) {
        *fields[i] = valueField(QStringLiteral("Edit%1").arg(17 + i), 108, Qt::AlignRight, values);
        (*fields[i])->setText(QStringLiteral("0.00 руб."));
        valueColumn->addWidget(*fields[i]);
    }
    boxRow->addWidget(values);
    top->addWidget(box);

    auto* hints = new QVBoxLayout;
    hints->setSpacing(0);
    hints->addWidget(
        plainLabel(QStringLiteral("LabelHint1"), QStringLiteral("Перенос имущества из колонки в колонку"), &panel));
    hints->addWidget(plainLabel(QStringLiteral("LabelHint2"), QStringLiteral("можно производить с помощью "), &panel));
    hints->addWidget(plainLabel(QStringLiteral("LabelHint3"), QStringLiteral("перетаскивания \"мышью\""), &panel));
    hints->addStretch(1);
    // A narrow window clips the instructions, never the sums; half a point less lets
    // them fit the designed width in the wider fonts of a Linux desktop.
    QFont hintFont = font;
    if (hintFont.pointSizeF() > 7)
        hintFont.setPointSizeF(hintFont.pointSizeF() - 0.5);
    for (int i = 0; i < 3; ++i) {
        QWidget* hint = hints->itemAt(i)->widget();
        hint->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        hint->setMinimumWidth(1);
        hint->setFont(hintFont);
    }
    top->addLayout(hints);
    // The balance at a glance takes the free room to the right of the instructions and
    // grows with the window; the instructions keep their room first.
    m_chart = new ShareChart(&panel);
    top->addWidget(m_chart, 1);
    column->addLayout(top);
    column->addStretch(1);

    // The party rows: name, fixed text, share, equalising line, each after the other.
    const auto partyRow = [&](const QString& rowName, QLabel*& name, const QString& nameObject, const QString& party,
                              const QString& textObject, QLineEdit*& share, const QString& shareObject, int shareWidth,
                              QLineEdit*& equalising, const QString& equalisingObject, int equalisingWidth) {
        auto* row = new QFrame(&panel);
        row->setObjectName(rowName);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(0);
        name = plainLabel(nameObject, QStringLiteral("  ") + party, row);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        line->addWidget(name);
        line->addWidget(plainLabel(textObject, QStringLiteral(" ,   сумма имущества  "), row));
        share = valueField(shareObject, shareWidth, Qt::AlignRight, row);
        line->addWidget(share);
        equalising = valueField(equalisingObject, equalisingWidth, Qt::AlignLeft, row);
        line->addWidget(equalising);
        line->addStretch(1);
        row->installEventFilter(this);
        column->addWidget(row);
    };
    partyRow(QStringLiteral("ToolBar4"), m_label14, QStringLiteral("Label14"), party1Name, QStringLiteral("Label15"),
             m_edit16, QStringLiteral("Edit16"), 112, m_edit12, QStringLiteral("Edit12"), 303);
    partyRow(QStringLiteral("ToolBar2"), m_label8, QStringLiteral("Label8"), party2Name, QStringLiteral("Label13"),
             m_edit9, QStringLiteral("Edit9"), 114, m_edit10, QStringLiteral("Edit10"), 304);
    m_name1Text = m_label14->text();
    m_name2Text = m_label8->text();
}

void TotalsPanel::show(const TotalsTexts& t) {
    // Every move shows the totals again; a field whose text stays is not laid out anew.
    const auto showValue = [](QLineEdit* edit, const QString& text) {
        if (edit->text() != text)
            edit->setText(text);
        edit->setCursorPosition(0);
    };
    showValue(m_edit17, t.edit17);
    showValue(m_edit18, t.edit18);
    showValue(m_edit19, t.edit19);
    showValue(m_edit20, t.edit20);
    m_halfCaption->setText(t.halfCaption);
    showValue(m_edit16, t.edit16);
    showValue(m_edit9, t.edit9);
    showValue(m_edit12, t.edit12);
    showValue(m_edit10, t.edit10);
    // After the fields: a name gets the room their texts leave.
    showName(m_label14, t.label14);
    showName(m_label8, t.label8);
}

void TotalsPanel::showShares(const ShareBar& bar) {
    m_chart->showBar(bar);
}

void TotalsPanel::showName(QLabel* label, const QString& text) {
    (label == m_label14 ? m_name1Text : m_name2Text) = text;
    const QWidget* row = label->parentWidget();
    // A field counts with the text it shows: the empty end of the equalising line may
    // give way to a name, as it always did; only a name that would hide text is cut.
    int others = 0;
    for (const QObject* child : row->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (!widget || widget == label)
            continue;
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
            others += std::min(edit->width(), edit->fontMetrics().horizontalAdvance(edit->text()) + 8);
        else
            others += widget->minimumWidth() > 0 ? widget->minimumWidth() : widget->sizeHint().width();
    }
    const int room = row->width() - others;
    const QString shown = room > 0 ? label->fontMetrics().elidedText(text, Qt::ElideRight, room) : text;
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text.trimmed());
}

void TotalsPanel::fitNames() {
    showName(m_label14, m_name1Text);
    showName(m_label8, m_name2Text);
}

bool TotalsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        fitNames();
    return QObject::eventFilter(watched, event);
}

} // namespace ravnobor::board
