#include "app/ScreenPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

void PlaceOnOwnersScreen(QWidget& shown, const QWidget& owner)
{
    const QScreen* screen = owner.screen();
    if (screen == nullptr)
        return;
    const QRect room = screen->availableGeometry();
    // The title bar and borders are not known before the window is shown:
    // leave room for those of a usual desktop.
    const QSize frame = shown.isVisible() ? shown.frameGeometry().size() - shown.size() : QSize(16, 40);
    shown.resize(shown.size().boundedTo(room.size() - frame));
    QRect place(QPoint(), shown.size() + frame);
    place.moveCenter(owner.isVisible() ? owner.frameGeometry().center() : room.center());
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() + 1 - place.width()));
    place.moveTop(std::clamp(place.top(), room.top(), room.bottom() + 1 - place.height()));
    shown.move(place.topLeft());
}
