#pragma once

// Screen readers learn about the link editor's own widgets through Qt's
// accessibility interface: a bit cell is a table cell whose name tells its
// module, register, bit and links, and which can be pressed as a click; a
// choice of the link action dialog is a menu item. Installed once, by the
// first such widget.

class QWidget;

void InstallEditorAccessibility();

// Tells a screen reader that the keyboard now works on `widget`, which has
// no focus of its own (a cell of a pane, a choice of the dialog).
void AnnounceKeyFocus(QWidget* widget);
