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

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColours(const QColor& background, const QColor& text);
};
