#pragma once

// What a screen reader says about the link editor, in the words of the
// active language: a bit cell by its module (numbered as the link table
// numbers modules), register and bit, then every link on it with its letter
// and state ("Modul 3 Pumpwerk Nord, Register 100, Bit 4: Verknüpfung A,
// aktiv"); its description tells whether a click selects it. Asked for each
// time it is wanted, so it follows every click and the language menu.

#include "editor/pages/EditorCell.h"
#include "editor/rules/LinkEditorState.h"

#include <QString>

struct Station;

SpokenText SpokenBit(const Station& station, const CellFacts& facts);
SpokenText SpokenRegisterLabel(const CellFacts& facts);

// The keys of a pane, and of the boxes that choose what it shows.
QString PaneKeysHelp();
QString PaneBoxHelp();
// "Modul" and "Signalgruppe", to name the boxes.
QString ModuleWord();
QString SignalGroupWord();
// A row of the link action dialog: the link it acts on and its state.
QString SpokenLinkOfChoice(int32_t linkNumber, bool active);
