#pragma once

// Hidden text tables: invisible multi-line boxes whose first line is "@NN"
// and whose further lines form translation replaces by the texts NN-1,
// NN-2, ... of the active language. Other parts read them line by line.

#include <QStringList>

#include <string>

class QPlainTextEdit;
class QWidget;

// A hidden table named `name` holding the design-time `lines`.
QPlainTextEdit* CreateTextTable(QWidget* parent, const char* name, const QStringList& lines);
// Line i (Windows-1252), without the "i=" with which design-time lines begin.
std::string TextTableLine(const QPlainTextEdit* table, int i);
