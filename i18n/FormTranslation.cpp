#include "i18n/FormTranslation.h"

// Placeholder until the language files land: forms keep their design captions.
void TranslateForm(QWidget*) {}
void TranslateComponent(QObject*) {}
