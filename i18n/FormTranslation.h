#pragma once

class QObject;
class QWidget;

// Replaces "@NN" captions of a form and its components by language texts.
void TranslateForm(QWidget* form);
void TranslateComponent(QObject* component);
