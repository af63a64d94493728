#pragma once

// What marks a difference from the device's links, on the link table page and
// in the link editor: warm colours, which no palette gives its selection, so
// that a changed field is never taken for a selected one.

#include <QColor>

// The fill of a changed field on the link table page; black text reads on it
// in a light and a dark palette.
inline const QColor kChangedFieldFill(0xFF, 0xC8, 0x57);
inline const QColor kTextOnChangedField(Qt::black);

// The frames of differing bits in the link editor: the dark one for light
// cells, the light one for dark cells.
inline const QColor kChangedFrameDark(0x80, 0x20, 0x00);
inline const QColor kChangedFrameLight(0xFF, 0xB0, 0x00);
