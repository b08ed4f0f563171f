#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace ravnobor {

class Program;

// The about box: created once, then only shown and hidden, so the colours of its two
// links stay as the mouse last left them.
class TForm_O final : public QDialog {
    Q_OBJECT
public:
    TForm_O(Program& program, QWidget* parent);

    static inline const QColor WebLinkColour{0, 0, 255};
    static inline const QColor WebLinkHoverColour{22, 130, 248};
    static inline const QColor MailLinkColour{128, 0, 0};
    static inline const QColor MailLinkHoverColour{255, 0, 0};

    void Label8Click();
    void Panel3Click();
    void Label8MouseMove();
    void Panel3MouseMove();
    void FormMouseMove();

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Panel3 = nullptr;
    QLabel* lRek = nullptr;
    QLabel* Label12 = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addLabel(const QString& objectName, const QString& text, QPoint at);
    void buildLinks();
    static void setTextColour(QLabel* label, const QColor& colour);

    Program& m_program;
};

} // namespace ravnobor
