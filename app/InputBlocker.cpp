#include "app/InputBlocker.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// A message box that the sequence itself opened must be answerable: it is
// modal, so it already keeps input away from everything else.
bool belongsToModalBox(QObject* target)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr)
        return false;
    if (const auto* widget = qobject_cast<QWidget*>(target))
        return widget->window() == modal;
    if (const auto* window = qobject_cast<QWindow*>(target))
        return window == modal->windowHandle();
    return false;
}

} // namespace

InputBlocker::InputBlocker()
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputBlocker::~InputBlocker()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputBlocker::eventFilter(QObject* watched, QEvent* event)
{
    if (!isUserInput(event->type()) || belongsToModalBox(watched))
        return false;
    event->ignore();
    return true;
}
