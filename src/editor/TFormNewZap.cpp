#include "editor/TFormNewZap.h"

#include "editor/ItemRecord.h"
#include "help/Help.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace ravnobor {

TFormNewZap::TFormNewZap(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormNewZap"));
    setWindowTitle(QStringLiteral("Введите новую запись"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(358, 317);
    buildControls();

    TFormMain& main = program.formMain();
    for (QAction* add : {main.commands().Edit_NewItem, main.commands().SB_New}) {
        main.connectCommand(add, [this] { SB_NewClick(); });
    }
}

QLabel* TFormNewZap::addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(at);
    return label;
}

QLineEdit* TFormNewZap::addEdit(QWidget* parent, const QString& name, const QRect& at, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(at);
    edit->setMaxLength(maxLength);
    return edit;
}

QPushButton* TFormNewZap::addButton(const QString& name, const QString& text, const QRect& at) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setGeometry(at);
    // Neither button answers Enter: the dialog has no default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void TFormNewZap::buildControls() {
    constexpr int priceLength = 40;
    addLabel(this, QStringLiteral("Label1"), QStringLiteral("Наименование имущества"), {8, 8, 342, 16});
    Edit_Naim = addEdit(this, QStringLiteral("Edit_Naim"), {8, 26, 342, 24}, layout::NameLength);

    auto* group = new QGroupBox(QStringLiteral("Цена имущества"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(4, 58, 350, 162);
    // The valuation box stands right of the agreed price, past its label's text.
    const QString agreedText = QStringLiteral("Итоговая согласованная цена");
    const int valuationX = std::max(196, 8 + fontMetrics().horizontalAdvance(agreedText) + 8);
    const int valuationWidth = group->width() - valuationX - 8;
    addLabel(group, QStringLiteral("Label2"), QStringLiteral("Первая сторона"), {8, 22, 180, 16});
    Edit_C1 = addEdit(group, QStringLiteral("Edit_C1"), {8, 40, 122, 24}, priceLength);
    Lab1 = addLabel(group, QStringLiteral("Lab1"), QStringLiteral("руб."), {136, 44, 60, 16});
    addLabel(group, QStringLiteral("Label3"), QStringLiteral("Вторая сторона"), {8, 68, 180, 16});
    Edit_C2 = addEdit(group, QStringLiteral("Edit_C2"), {8, 86, 122, 24}, priceLength);
    Lab2 = addLabel(group, QStringLiteral("Lab2"), QStringLiteral("руб."), {136, 90, 60, 16});
    addLabel(group, QStringLiteral("Label4"), agreedText, {8, 114, valuationX - 12, 16});
    Edit_CS = addEdit(group, QStringLiteral("Edit_CS"), {8, 132, 122, 24}, priceLength);
    Lab3 = addLabel(group, QStringLiteral("Lab3"), QStringLiteral("руб."), {136, 136, 60, 16});
    addLabel(group, QStringLiteral("Label5"), QStringLiteral("Оценка произведена"),
             {valuationX, 114, valuationWidth, 16});
    ComboBox_Oc = new QComboBox(group);
    ComboBox_Oc->setObjectName(QStringLiteral("ComboBox_Oc"));
    ComboBox_Oc->setEditable(true);
    ComboBox_Oc->setInsertPolicy(QComboBox::NoInsert);
    ComboBox_Oc->addItems({QStringLiteral("Сторона 1"), QStringLiteral("Сторона 2"), QStringLiteral("Риэлтер"),
                           QStringLiteral("Эксперт")});
    ComboBox_Oc->lineEdit()->setMaxLength(layout::NameLength);
    ComboBox_Oc->setGeometry(valuationX, 132, valuationWidth, 24);

    addLabel(this, QStringLiteral("Label6"), QStringLiteral("Заметки"), {8, 226, 342, 16});
    Edit_Zam = addEdit(this, QStringLiteral("Edit_Zam"), {8, 244, 342, 24}, layout::LongTextLength);

    Button3 = addButton(QStringLiteral("Button3"), QStringLiteral("Справка"), {8, 282, 85, 27});
    Button1 = addButton(QStringLiteral("Button1"), QStringLiteral("OK"), {180, 282, 82, 27});
    Button2 = addButton(QStringLiteral("Button2"), QStringLiteral("Отмена"), {268, 282, 82, 27});
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

    setTabOrder(Edit_Naim, Edit_Zam);
    setTabOrder(Edit_Zam, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit_C1);
    setTabOrder(Edit_C1, Edit_C2);
    setTabOrder(Edit_C2, Edit_CS);
    setTabOrder(Edit_CS, ComboBox_Oc);
    setTabOrder(ComboBox_Oc, Button3);
}

void TFormNewZap::setPartyNames(const QString& party1, const QString& party2) {
    ComboBox_Oc->setItemText(0, party1);
    ComboBox_Oc->setItemText(1, party2);
}

void TFormNewZap::FormActivate() {
    for (QLabel* label : {Lab1, Lab2, Lab3})
        label->setText(m_program.state.currencySuffix);
}

void TFormNewZap::Button3Click() {
    ShowHelpTopic(m_program, 780);
}

void TFormNewZap::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept(); // QDialog would close on these
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

editor::ItemFields TFormNewZap::fields() const {
    return {Edit_Naim->text(),          Edit_C1->text(), Edit_C2->text(), Edit_CS->text(),
            ComboBox_Oc->currentText(), Edit_Zam->text()};
}

void TFormNewZap::setFields(const editor::ItemFields& item) {
    Edit_Naim->setText(item.name);
    Edit_C1->setText(item.price1);
    Edit_C2->setText(item.price2);
    Edit_CS->setText(item.agreedPrice);
    ComboBox_Oc->setEditText(item.valuation);
    Edit_Zam->setText(item.notes);
}

bool TFormNewZap::runEntry(const editor::ItemFields& initial, const QString& caption,
                           const std::function<void(const editor::ItemFields&)>& write) {
    setFields(initial);
    setWindowTitle(caption);
    Edit_Naim->setFocus();
    for (;;) {
        FormActivate();
        if (m_program.dialogs.exec(*this) != QDialog::Accepted)
            return false;
        const editor::ItemFields entry = fields();
        if (entry.name.isEmpty()) {
            m_program.dialogs.message(this, QMessageBox::Warning, QStringLiteral("Внимание!"),
                                      QStringLiteral("Введите наименование имущества"), QMessageBox::Ok);
            continue;
        }
        try {
            write(entry);
            return true;
        } catch (const Error& e) {
            m_program.dialogs.showError(this, e.message());
        }
    }
}

void TFormNewZap::SB_NewClick() {
    // The board and the status line follow the writer's announcement of the new item.
    auto& list = m_program.dataModule().ADODataSet1();
    runEntry(editor::itemForAdding(), QStringLiteral("Введите новую запись"), [&list](const editor::ItemFields& item) {
        list.setLocale(QLocale());
        list.open();
        try {
            editor::writeItem(list, item, true);
        } catch (...) {
            list.close();
            throw;
        }
        list.close();
    });
}

} // namespace ravnobor
