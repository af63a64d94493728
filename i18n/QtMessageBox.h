#pragma once

// The program's message box presenter: a modal QMessageBox with the icon,
// title, buttons and default button of the request, parented to the active
// window. Install it once the QApplication exists:
//     SetMessageBoxPresenter(ShowQtMessageBox);

#include "i18n/MessageBoxEx.h"

int ShowQtMessageBox(const MessageBoxRequest& request);
