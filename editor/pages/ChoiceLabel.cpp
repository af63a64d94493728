#include "editor/pages/ChoiceLabel.h"

#include "editor/pages/EditorAccessibility.h"

#include <QMouseEvent>

const QColor ChoiceLabel::kHoverBackground{0, 0, 128};
const QColor ChoiceLabel::kHoverText{255, 251, 240};

ChoiceLabel::ChoiceLabel(const QString& objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setAutoFillBackground(true);
    showPlain();
    InstallEditorAccessibility();
}

void ChoiceLabel::setKeyChoice(bool chosen)
{
    m_keyChoice = chosen;
    if (chosen)
        setColours(kHoverBackground, kHoverText);
    else
        showPlain();
}

void ChoiceLabel::choose()
{
    if (isEnabled())
        emit clicked();
}

void ChoiceLabel::showPlain()
{
    // Only Window and WindowText are ever changed, so the button roles are still the inherited ones.
    setColours(palette().color(QPalette::Button), palette().color(QPalette::ButtonText));
}

void ChoiceLabel::setColours(const QColor& background, const QColor& text)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    // A disabled caption keeps the grey of the disabled text.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::WindowText, text);
    setPalette(colours);
}

void ChoiceLabel::enterEvent(QEnterEvent* event)
{
    if (isEnabled()) {
        setColours(kHoverBackground, kHoverText);
        emit hovered();
    }
    QLabel::enterEvent(event);
}

void ChoiceLabel::leaveEvent(QEvent* event)
{
    showPlain();
    QLabel::leaveEvent(event);
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (isEnabled() && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
