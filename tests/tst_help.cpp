// Help pages, the web and mail links, the about box and the standard shortcuts.
#include "help/Help.h"
#include "help/HelpLinks.h"
#include "help/TForm_O.h"
#include "shell/TFormMain.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrlQuery>

using namespace ravnobor;

namespace {

const QByteArray ExpectedWebUrl = "https://example.org/ravnobor/";
// "Программа Равнобор" in UTF-8, every byte escaped, the blank as %20.
const QByteArray ExpectedMailUrl = "mailto:rb@example.org?subject="
                                   "%D0%9F%D1%80%D0%BE%D0%B3%D1%80%D0%B0%D0%BC%D0%BC%D0%B0"
                                   "%20"
                                   "%D0%A0%D0%B0%D0%B2%D0%BD%D0%BE%D0%B1%D0%BE%D1%80";

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

// What a label needs to show its whole text at its width.
QSize neededSize(const QLabel* label) {
    if (label->wordWrap())
        return {label->width(), label->heightForWidth(label->width())};
    return label->sizeHint();
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void topicOpensItsPageBesideTheExecutable();
    void contentsOpensTheIndexPage();
    void failureToOpenIsShown_data();
    void failureToOpenIsShown();
    void missingTopicPageIsShown();
    void menuHandsOverTheWebAndMailLinks();
    void mailSubjectIsPercentEncodedUtf8();
    void helpCommandsAreEnabled();
    void standardShortcuts_data();
    void standardShortcuts();
    void shortcutKeysReachTheirCommands();
    void programIconIsSet();

    void aboutBoxIsShownFromTheMenu();
    void aboutBoxFrame();
    void aboutBoxElements_data();
    void aboutBoxElements();
    void aboutBoxLinkLooks();
    void aboutBoxTextIsNotClippedAndDoesNotOverlap();
    void aboutBoxOkIsTheDefaultButton();
    void aboutBoxLinksOpenTheirAddresses();
    void linkColoursFollowTheMouse();
    void linkColoursAreKeptBetweenShowings();

    void helpPagesLinkToPagesThatExist();

private:
    std::unique_ptr<test::TestProgram> m_test;
    Program* m_program = nullptr;
    TForm_O& aboutBox() { return m_program->formO(); }
    QAction* action(const char* name) { return m_program->formMain().action(QString::fromLatin1(name)); }
    QList<QByteArray> openedUrls() const;
};

void TestHelp::init() {
    m_test = std::make_unique<test::TestProgram>();
    m_program = &m_test->start();
}

void TestHelp::cleanup() {
    m_program = nullptr;
    m_test.reset();
}

QList<QByteArray> TestHelp::openedUrls() const {
    QList<QByteArray> urls;
    for (const QUrl& url : m_test->desktop.opened)
        urls.append(url.toEncoded());
    return urls;
}

void TestHelp::topicOpensItsPageBesideTheExecutable() {
    const QString page = m_test->appDir() + QStringLiteral("/help/780.html");
    QVERIFY2(QFileInfo::exists(page), "the build places help/780.html beside the executable");

    const QString previous = QDir::currentPath();
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    ShowHelpTopic(*m_program, 780);
    QDir::setCurrent(previous);

    QCOMPARE(m_test->desktop.opened.size(), 1);
    const QUrl opened = m_test->desktop.opened.first();
    QCOMPARE(opened, QUrl::fromLocalFile(page));
    QCOMPARE(opened.scheme(), QStringLiteral("file"));
    QVERIFY(QFileInfo(opened.toLocalFile()).isAbsolute());
    QVERIFY(QFileInfo(opened.toLocalFile()).isFile());
}

void TestHelp::contentsOpensTheIndexPage() {
    const QString index = m_test->appDir() + QStringLiteral("/help/index.html");
    QCOMPARE(m_program->state.helpFilePath, index);

    const QString previous = QDir::currentPath();
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    action("Help_sod")->trigger();
    QDir::setCurrent(previous);

    QCOMPARE(m_test->desktop.opened, QList<QUrl>{QUrl::fromLocalFile(index)});
    QVERIFY(QFileInfo(index).isFile());
    QVERIFY(m_test->dialogs.shown.isEmpty());
}

void TestHelp::failureToOpenIsShown_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("pageMissing");
    QTest::addColumn<int>("handedOver");
    QTest::addColumn<QString>("warning");
    const QString noBrowser = QStringLiteral("не найдена программа для просмотра страниц.");
    QTest::newRow("help, no browser") << "Help_sod" << false << 1
                                      << QStringLiteral("Не удалось открыть справку: ") + noBrowser;
    QTest::newRow("help, no page") << "Help_sod" << true << 0
                                   << QStringLiteral("Не удалось открыть справку: нет файла «%1».");
    QTest::newRow("web page") << "Help_Internet" << false << 1
                              << QStringLiteral("Не удалось открыть страницу программы: ") + noBrowser;
    QTest::newRow("mail") << "Help_pis" << false << 1
                          << QStringLiteral("Не удалось открыть письмо разработчикам: не найдена почтовая программа.");
}

void TestHelp::failureToOpenIsShown() {
    QFETCH(QString, command);
    QFETCH(bool, pageMissing);
    QFETCH(int, handedOver);
    QFETCH(QString, warning);
    m_test->desktop.result = false; // the desktop has no program for it
    if (pageMissing) {
        m_program->state.helpFilePath = m_test->path(QStringLiteral("нет/index.html"));
        warning = warning.arg(m_program->state.helpFilePath);
    }
    m_program->formMain().action(command)->trigger();
    QCOMPARE(m_test->desktop.opened.size(), handedOver);
    QCOMPARE(m_test->dialogs.shown.size(), 1);
    QCOMPARE(m_test->dialogs.shown.first().icon, QMessageBox::Warning);
    QCOMPARE(m_test->dialogs.shown.first().text, warning);
}

void TestHelp::missingTopicPageIsShown() {
    ShowHelpTopic(*m_program, 4321);
    QVERIFY(m_test->desktop.opened.isEmpty());
    QCOMPARE(m_test->dialogs.shown.size(), 1);
    QCOMPARE(m_test->dialogs.shown.first().text, QStringLiteral("Не удалось открыть справку: нет файла «%1».")
                                                     .arg(m_test->appDir() + QStringLiteral("/help/4321.html")));
}

void TestHelp::menuHandsOverTheWebAndMailLinks() {
    action("Help_Internet")->trigger();
    action("Help_pis")->trigger();
    QCOMPARE(openedUrls(), (QList<QByteArray>{ExpectedWebUrl, ExpectedMailUrl}));
}

void TestHelp::mailSubjectIsPercentEncodedUtf8() {
    const QUrl mail = links::mailUrl();
    QCOMPARE(mail.toEncoded(), ExpectedMailUrl);
    QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
    QCOMPARE(mail.path(), QStringLiteral("rb@example.org"));
    QVERIFY(!mail.toEncoded().contains('+'));
    QCOMPARE(QUrlQuery(mail).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Программа Равнобор"));
    QCOMPARE(links::webPageUrl().toEncoded(), ExpectedWebUrl);
}

void TestHelp::helpCommandsAreEnabled() {
    for (const char* name : {"Help_sod", "Help_Internet", "Help_pis", "Help_o"})
        QVERIFY2(action(name)->isEnabled(), name);
    QVERIFY(m_program->formMain().toolButton(QStringLiteral("TB_Help_sod"))->isEnabled());
}

void TestHelp::standardShortcuts_data() {
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("new") << "File_Create" << QKeySequence(QStringLiteral("Ctrl+N"));
    QTest::newRow("open") << "File_Open" << QKeySequence(QStringLiteral("Ctrl+O"));
    QTest::newRow("save") << "File_Save" << QKeySequence(QStringLiteral("Ctrl+S"));
    QTest::newRow("save as") << "File_SaveAs" << QKeySequence(QStringLiteral("Ctrl+Shift+S"));
    QTest::newRow("exit") << "File_Exit" << QKeySequence(QStringLiteral("Ctrl+Q"));
    QTest::newRow("contents") << "Help_sod" << QKeySequence(QStringLiteral("F1"));
}

void TestHelp::standardShortcuts() {
    QFETCH(QString, actionName);
    QFETCH(QKeySequence, key);
    QCOMPARE(m_program->formMain().action(actionName)->shortcut(), key);
}

void TestHelp::shortcutKeysReachTheirCommands() {
    TFormMain& window = m_program->formMain();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(m_test->desktop.opened,
             QList<QUrl>{QUrl::fromLocalFile(m_test->appDir() + QStringLiteral("/help/index.html"))});

    m_test->dialogs.nextAnswers.push_back(QMessageBox::No);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(m_test->dialogs.shown.size(), 1);
    QCOMPARE(m_test->dialogs.shown.first().text, QStringLiteral("Вы хотите выйти из программы?"));
    QVERIFY(window.isVisible());

    window.toolButton(QStringLiteral("TB_Help_sod"))->click();
    QCOMPARE(m_test->desktop.opened.size(), 2);
    QCOMPARE(m_test->desktop.opened.last(), m_test->desktop.opened.first());
    window.hide();
}

void TestHelp::programIconIsSet() {
    QVERIFY(!m_program->formMain().windowIcon().isNull());
    QVERIFY(!QApplication::windowIcon().isNull());
    // The desktop entry's name without ".desktop": a Wayland desktop matches the windows to it.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.example.ravnobor"));
    const QImage image = aboutBox().Image1->pixmap().toImage();
    QVERIFY(!image.isNull());
    // The tile fills the picture's middle and leaves its very corner transparent.
    QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void TestHelp::aboutBoxIsShownFromTheMenu() {
    QString shownCaption;
    m_test->dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        shownCaption = dialog.windowTitle();
        return int(QDialog::Accepted);
    });
    action("Help_o")->trigger();
    QCOMPARE(m_test->dialogs.dialogsShown, QStringList{QStringLiteral("Form_O")});
    QCOMPARE(shownCaption, QStringLiteral("О программе"));
    QCOMPARE(&aboutBox(), m_program->formMain().findChild<TForm_O*>(QStringLiteral("Form_O")));
}

void TestHelp::aboutBoxFrame() {
    TForm_O& box = aboutBox();
    QCOMPARE(box.windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(box.size(), QSize(339, 215));
    QCOMPARE(box.minimumSize(), QSize(339, 215));
    QCOMPARE(box.maximumSize(), QSize(339, 215));
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    QCOMPARE(box.font().pointSize(), 8);
    QCOMPARE(box.font().styleHint(), QFont::SansSerif);

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(box.frameGeometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(box.frameGeometry().center().y() - screen.center().y()) <= 1);
    box.hide();
}

void TestHelp::aboutBoxElements_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QSize>("size"); // empty where the element takes its text's size
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("handCursor");
    QTest::newRow("Image1") << "Image1" << QPoint(8, 16) << QSize(41, 41) << QString() << QString() << false;
    QTest::newRow("Label1") << "Label1" << QPoint(80, 9) << QSize() << "Равнобор" << QString() << false;
    QTest::newRow("Label3") << "Label3" << QPoint(112, 28) << QSize() << "Версия 1.0" << QString() << false;
    QTest::newRow("Label8") << "Label8" << QPoint(60, 61) << QSize() << "example.org"
                            << "Посетить сайт разработчиков" << true;
    QTest::newRow("Panel3") << "Panel3" << QPoint(154, 59) << QSize() << "e-mail: rb@example.org"
                            << "Написать письмо..." << true;
    QTest::newRow("lRek") << "lRek" << QPoint(12, 94) << QSize(318, 57) << QString() << QString() << true;
    QTest::newRow("Label12") << "Label12" << QPoint(56, 153) << QSize() << "Следите за обновлениями!" << QString()
                             << false;
    QTest::newRow("Shape1") << "Shape1" << QPoint(10, 173) << QSize(321, 2) << QString() << QString() << false;
    QTest::newRow("BitBtn1") << "BitBtn1" << QPoint(256, 16) << QSize(75, 25) << "OK" << QString() << false;
}

void TestHelp::aboutBoxElements() {
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    QFETCH(QSize, size);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(bool, handCursor);
    auto* widget = aboutBox().findChild<QWidget*>(name);
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &aboutBox());
    QCOMPARE(widget->pos(), position);
    if (size.isValid())
        QCOMPARE(widget->size(), size);
    if (!text.isNull()) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), text);
    }
    QCOMPARE(widget->toolTip(), hint);
    QCOMPARE(widget->cursor().shape(), handCursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TestHelp::aboutBoxLinkLooks() {
    TForm_O& box = aboutBox();
    QCOMPARE(textColour(box.Label8), QColor(0, 0, 255));
    QVERIFY(box.Label8->font().underline());
    QCOMPARE(textColour(box.Panel3), QColor(128, 0, 0));
    QVERIFY(box.Panel3->autoFillBackground());
    QCOMPARE(box.Panel3->height(), 17);
    QVERIFY(box.Panel3->width() >= 122);
    QVERIFY(box.Panel3->alignment() & Qt::AlignLeft);
    QCOMPARE(box.Panel3->frameShape(), QFrame::NoFrame);
    QCOMPARE(textColour(box.lRek), QColor(0, 0, 128));
    QVERIFY(box.lRek->wordWrap());
    QVERIFY(box.lRek->alignment() & Qt::AlignHCenter);
    QVERIFY(!box.lRek->text().isEmpty());
    QVERIFY(box.Label12->alignment() & Qt::AlignHCenter);
    QCOMPARE(box.Label12->width(), 230);
    QVERIFY(box.Label1->font().bold());
    QCOMPARE(box.Label1->font().pixelSize(), 13);
    QCOMPARE(box.Label3->font().pointSize(), 8);
    QCOMPARE(box.Shape1->frameShape(), QFrame::HLine);
}

void TestHelp::aboutBoxTextIsNotClippedAndDoesNotOverlap() {
    TForm_O& box = aboutBox();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QList<QWidget*> elements = {box.Image1, box.Label1,  box.Label3, box.Label8, box.Panel3,
                                      box.lRek,   box.Label12, box.Shape1, box.BitBtn1};
    for (QWidget* element : elements) {
        QVERIFY2(box.rect().contains(element->geometry()), qPrintable(element->objectName()));
        if (auto* label = qobject_cast<QLabel*>(element); label && !label->text().isEmpty()) {
            const QSize needed = neededSize(label);
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(label->objectName() + QStringLiteral(" needs %1 x %2, has %3 x %4")
                                                          .arg(needed.width())
                                                          .arg(needed.height())
                                                          .arg(label->width())
                                                          .arg(label->height())));
        }
    }
    const QFontMetrics buttonMetrics(box.BitBtn1->font());
    QVERIFY(buttonMetrics.horizontalAdvance(box.BitBtn1->text()) < box.BitBtn1->width() - 8);
    for (int i = 0; i < elements.size(); ++i)
        for (int j = i + 1; j < elements.size(); ++j)
            QVERIFY2(!elements[i]->geometry().intersects(elements[j]->geometry()),
                     qPrintable(elements[i]->objectName() + QStringLiteral(" overlaps ") + elements[j]->objectName()));
    box.hide();
}

void TestHelp::aboutBoxOkIsTheDefaultButton() {
    TForm_O& box = aboutBox();
    QVERIFY(box.BitBtn1->isDefault());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setResult(QDialog::Rejected);
    QTest::mouseClick(box.BitBtn1, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestHelp::aboutBoxLinksOpenTheirAddresses() {
    TForm_O& box = aboutBox();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.Label8, Qt::LeftButton);
    QTest::mouseClick(box.Panel3, Qt::LeftButton);
    QTest::mouseClick(box.lRek, Qt::LeftButton);
    QTest::mouseClick(box.Label12, Qt::LeftButton); // not a link
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(200, 195));
    QCOMPARE(openedUrls(), (QList<QByteArray>{ExpectedWebUrl, ExpectedMailUrl, ExpectedWebUrl}));
    QVERIFY2(box.isVisible(), "the links leave the box open");
    box.hide();
}

void TestHelp::linkColoursFollowTheMouse() {
    TForm_O& box = aboutBox();
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QPoint freeArea(200, 195);
    const QColor web(0, 0, 255), webHover(22, 130, 248), mail(128, 0, 0), mailHover(255, 0, 0);

    QTest::mouseMove(&box, freeArea);
    QTest::mouseMove(box.Label8, box.Label8->rect().center());
    QCOMPARE(textColour(box.Label8), webHover);
    QCOMPARE(textColour(box.Panel3), mail);

    QTest::mouseMove(box.Panel3, box.Panel3->rect().center());
    QCOMPARE(textColour(box.Label8), webHover); // straight onto another element: kept
    QCOMPARE(textColour(box.Panel3), mailHover);

    QTest::mouseMove(box.lRek, box.lRek->rect().center());
    QTest::mouseMove(box.Label12, box.Label12->rect().center());
    QCOMPARE(textColour(box.Label8), webHover);
    QCOMPARE(textColour(box.Panel3), mailHover);

    QTest::mouseMove(&box, freeArea);
    QCOMPARE(textColour(box.Label8), web);
    QCOMPARE(textColour(box.Panel3), mail);
    box.hide();
}

void TestHelp::linkColoursAreKeptBetweenShowings() {
    // First showing: the mouse leaves the box over the mail link.
    m_test->dialogs.nextDialogs.push_back([](QDialog& dialog) {
        auto& box = static_cast<TForm_O&>(dialog);
        box.show();
        QTest::mouseMove(&box, QPoint(200, 195));
        QTest::mouseMove(box.Label8, box.Label8->rect().center());
        QTest::mouseMove(box.Panel3, box.Panel3->rect().center());
        QTest::mouseClick(box.BitBtn1, Qt::LeftButton);
        return box.result();
    });
    QColor webAtReopen, mailAtReopen;
    m_test->dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& box = static_cast<TForm_O&>(dialog);
        box.show();
        webAtReopen = textColour(box.Label8);
        mailAtReopen = textColour(box.Panel3);
        box.accept();
        return box.result();
    });
    action("Help_o")->trigger();
    QVERIFY(!aboutBox().isVisible());
    action("Help_o")->trigger();
    QCOMPARE(webAtReopen, QColor(22, 130, 248));
    QCOMPARE(mailAtReopen, QColor(255, 0, 0));
    QCOMPARE(m_test->dialogs.dialogsShown, (QStringList{QStringLiteral("Form_O"), QStringLiteral("Form_O")}));
}

void TestHelp::helpPagesLinkToPagesThatExist() {
    const QDir help(m_test->appDir() + QStringLiteral("/help"));
    const QStringList pages = help.entryList({QStringLiteral("*.html")}, QDir::Files);
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    QVERIFY(pages.contains(QStringLiteral("780.html")));
    QVERIFY(pages.size() >= 8);
    const QRegularExpression reference(QStringLiteral(R"((?:href|src)="([^"#:]+)(?:#[^"]*)?")"));
    for (const QString& page : pages) {
        QFile file(help.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(page));
        QVERIFY2(html.contains(QStringLiteral("href=\"style.css\"")), qPrintable(page));
        QVERIFY2(html.contains(QStringLiteral("<html lang=\"ru\">")), qPrintable(page));
        for (auto match = reference.globalMatch(html); match.hasNext();) {
            const QString target = match.next().captured(1);
            QVERIFY2(help.exists(target), qPrintable(page + QStringLiteral(" refers to missing ") + target));
        }
        if (page != QStringLiteral("index.html"))
            QVERIFY2(html.contains(QStringLiteral("href=\"index.html\"")), qPrintable(page));
    }
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
