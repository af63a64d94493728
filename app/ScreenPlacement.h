#pragma once

class QWidget;

// Puts the window `shown` over the middle of `owner`, shrunk to the screen's
// free area where it is larger, and moved as a whole onto it: a window that
// a large font or a small screen makes large opens where it can be used.
void PlaceOnOwnersScreen(QWidget& shown, const QWidget& owner);
