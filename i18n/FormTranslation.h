#pragma once

// Replaces the "@NN..." captions of a form and its components by the texts of
// the active language file (section = the form's object name). The number is
// kept in the component's dynamic property "tag", so a later translation into
// another language finds it again; a component without an "@" caption is
// translated by its "tag" when that lies in -99..199. Hidden memos whose first
// line is "@NN..." are text tables: each further line i becomes text NN-i.

class QObject;
class QWidget;

void TranslateForm(QWidget* form);
void TranslateComponent(QObject* component);

// TranslateForm on every form (top-level window) that exists, the main window
// last, so its section stays the current one.
void TranslateAllForms();
