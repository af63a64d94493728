#pragma once

#include <QLabel>

// A caption that acts as a choice: while the mouse is over it (and it is
// enabled) it shows navy with cream text, and a left click on it emits
// clicked(). A disabled one shows its caption grey and does nothing.
class ChoiceLabel : public QLabel {
    Q_OBJECT
public:
    static const QColor kHoverBackground;
    static const QColor kHoverText;

    explicit ChoiceLabel(const QString& objectName, QWidget* parent);

    // Back to the plain colours: button face with button text.
    void showPlain();
    // The choice the keyboard is on shows as the one under the mouse does.
    void setKeyChoice(bool chosen);
    bool isKeyChoice() const { return m_keyChoice; }
    // What a left click does, for the keyboard and screen readers: an
    // enabled choice emits clicked().
    void choose();

signals:
    void clicked();
    // The mouse came over an enabled choice.
    void hovered();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColours(const QColor& background, const QColor& text);

    bool m_keyChoice = false;
};
