#pragma once

#include <QIcon>

constexpr int kToolbarIconSize = 40;

// The tool bar's pictograms, drawn at run time (40 x 40): 0 quit, 1 open link
// file, 2 save link file, 4 read the device, 7 write links to the device,
// 9 delete all links. Other indices give an empty icon.
QIcon ImageList1(int index);
