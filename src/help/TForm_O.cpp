#include "help/TForm_O.h"

#include "help/Help.h"
#include "help/HelpLinks.h"
#include "help/ProgramIcon.h"
#include "shell/Program.h"

#include "Version.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace ravnobor {

namespace {

constexpr QSize ClientSize(339, 215);

// The box is laid out in pixels for an 8-point sans-serif font. Arial's metrics are
// the ones that layout was made for, so its look-alikes come first; any sans-serif
// font will do otherwise.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

const QString AdvertText = QStringLiteral("Равнобор делит совместное имущество двух сторон и считает доплату до "
                                          "равенства. О других наших программах читайте на сайте разработчиков.");

} // namespace

TForm_O::TForm_O(Program& program, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_program(program) {
    setObjectName(QStringLiteral("Form_O"));
    setWindowTitle(QStringLiteral("О программе"));
    setFont(dialogFont());
    setFixedSize(ClientSize);
    setMouseTracking(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 16, 41, 41);
    Image1->setPixmap(programPixmap(41, devicePixelRatioF()));

    Label1 = addLabel(QStringLiteral("Label1"), QStringLiteral("Равнобор"), {80, 9});
    QFont title = font();
    title.setBold(true);
    title.setPixelSize(13);
    Label1->setFont(title);
    Label1->adjustSize();

    Label3 = addLabel(QStringLiteral("Label3"), QStringLiteral("Версия ") + QLatin1String(ProgramVersion), {112, 28});

    buildLinks();

    lRek = addLabel(QStringLiteral("lRek"), AdvertText, {12, 94});
    lRek->setWordWrap(true);
    lRek->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lRek->setGeometry(12, 94, 318, 57);
    setTextColour(lRek, QColor(0, 0, 128));
    lRek->setCursor(Qt::PointingHandCursor);

    Label12 = addLabel(QStringLiteral("Label12"), QStringLiteral("Следите за обновлениями!"), {56, 153});
    Label12->setAlignment(Qt::AlignCenter);
    Label12->setGeometry(56, 153, 230, Label12->sizeHint().height());

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Shape1->setLineWidth(1);
    Shape1->setGeometry(10, 173, 321, 2);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(256, 16, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    // Only the free area of the box puts the links back in their colours: a move over
    // any element, the links included, must not reach the box.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* link : {static_cast<QWidget*>(Label8), static_cast<QWidget*>(Panel3), static_cast<QWidget*>(lRek)})
        link->installEventFilter(this);
}

QLabel* TForm_O::addLabel(const QString& objectName, const QString& text, QPoint at) {
    auto* label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->move(at);
    label->adjustSize();
    return label;
}

void TForm_O::buildLinks() {
    Label8 = addLabel(QStringLiteral("Label8"), links::shownWebAddress(), {60, 61});
    QFont underlined = Label8->font();
    underlined.setUnderline(true);
    Label8->setFont(underlined);
    Label8->adjustSize();
    Label8->setCursor(Qt::PointingHandCursor);
    Label8->setToolTip(QStringLiteral("Посетить сайт разработчиков"));
    Label8->setMouseTracking(true);
    setTextColour(Label8, WebLinkColour);

    Panel3 = addLabel(QStringLiteral("Panel3"), QStringLiteral("e-mail: ") + links::shownMailAddress(), {154, 59});
    Panel3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel3->setAutoFillBackground(true);
    QPalette panel = Panel3->palette();
    panel.setColor(QPalette::Window, palette().color(QPalette::Inactive, QPalette::Button));
    Panel3->setPalette(panel);
    // 122 pixels hold the address in the fonts the box was made for; a wider font widens
    // the panel toward the box's right margin rather than cutting the address.
    const int fitted = Panel3->sizeHint().width() + 2;
    Panel3->setGeometry(154, 59, qBound(122, fitted, ClientSize.width() - 8 - 154), 17);
    Panel3->setCursor(Qt::PointingHandCursor);
    Panel3->setToolTip(QStringLiteral("Написать письмо..."));
    Panel3->setMouseTracking(true);
    setTextColour(Panel3, MailLinkColour);
}

void TForm_O::setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

bool TForm_O::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Label8)
            Label8MouseMove();
        else if (watched == Panel3)
            Panel3MouseMove();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
            if (watched == Panel3)
                Panel3Click();
            else
                Label8Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_O::mouseMoveEvent(QMouseEvent* event) {
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

void TForm_O::showEvent(QShowEvent* event) {
    // Drawn for the screen the box opens on, so the icon stays sharp on a high-density one.
    Image1->setPixmap(programPixmap(Image1->width(), devicePixelRatioF()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    QDialog::showEvent(event);
}

void TForm_O::Label8Click() {
    openWebPage(m_program);
}

void TForm_O::Panel3Click() {
    openMailToDevelopers(m_program);
}

void TForm_O::Label8MouseMove() {
    setTextColour(Label8, WebLinkHoverColour);
}

void TForm_O::Panel3MouseMove() {
    setTextColour(Panel3, MailLinkHoverColour);
}

void TForm_O::FormMouseMove() {
    setTextColour(Label8, WebLinkColour);
    setTextColour(Panel3, MailLinkColour);
}

} // namespace ravnobor
