#include "split/ShareField.h"

#include "shell/UserDialogs.h"
#include "split/SplitStore.h"
#include "store/Share.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace ravnobor::split {

ShareField::ShareField(QWidget& window) : QObject(&window) {
    EditShare1 = new QLineEdit(&window);
    EditShare1->setObjectName(QStringLiteral("EditShare1"));
    EditShare1->setMaxLength(20);
    EditShare1->setPlaceholderText(QStringLiteral("поровну"));
    EditShare1->setToolTip(QStringLiteral("Процент (60 или 33,33) или дробь (1/3); пусто — доли равные"));
    EditShare2 = new QLineEdit(&window);
    EditShare2->setObjectName(QStringLiteral("EditShare2"));
    EditShare2->setReadOnly(true);
    EditShare2->setFocusPolicy(Qt::NoFocus);
    EditShare2->setPlaceholderText(QStringLiteral("поровну"));
    auto* label1 = new QLabel(QStringLiteral("Доля стороны 1"), &window);
    label1->setBuddy(EditShare1);
    auto* label2 = new QLabel(QStringLiteral("Доля стороны 2"), &window);
    m_row = new QHBoxLayout;
    m_row->addWidget(label1);
    m_row->addWidget(EditShare1, 1);
    m_row->addSpacing(12);
    m_row->addWidget(label2);
    m_row->addWidget(EditShare2, 1);
    connect(EditShare1, &QLineEdit::textChanged, this, &ShareField::showOtherShare);
}

void ShareField::load(store::Database& db) {
    m_shown = storedShareText(db);
    EditShare1->setText(m_shown);
    showOtherShare();
}

void ShareField::showOtherShare() {
    // A dash while the text is no share, so that the empty field's "поровну" cannot mislead.
    const QString typed = EditShare1->text();
    EditShare2->setText(Share::isValid(typed) ? Share::parse(typed).otherText() : QStringLiteral("—"));
}

bool ShareField::acceptable(UserDialogs& dialogs, QWidget* parent) const {
    QString error;
    if (Share::isValid(EditShare1->text(), &error))
        return true;
    dialogs.message(parent, QMessageBox::Warning, QStringLiteral("Внимание!"), error, QMessageBox::Ok);
    return false;
}

bool ShareField::store(store::CaseWriter& writer) {
    const QString typed = EditShare1->text().trimmed();
    if (typed == m_shown.trimmed() || !Share::isValid(typed))
        return false;
    storeShareText(writer, typed);
    m_shown = typed;
    return true;
}

} // namespace ravnobor::split
