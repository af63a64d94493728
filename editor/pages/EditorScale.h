#pragma once

// The link editor's page is drawn in pixels for a small font. A larger one
// (a desktop's own font, or 12 or 14 points) lays out every cell, caption and
// gap larger by one factor, so that bit numbers, register numbers and
// captions keep their room and the page keeps its proportions. Where the font
// fits the drawn sizes the factor is 1 and every size is the drawn one.

#include <QRect>

class QFont;

double EditorScale(const QFont& font);

int Scaled(int pixels, double scale);
QRect Scaled(const QRect& drawn, double scale);
