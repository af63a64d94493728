#pragma once

// Notices in the words of the active language file.

#include "diag/Notice.h"

#include <string>
#include <vector>

// The message's text with its arguments, what follows it directly, and the
// texts of its causes, each after an empty line; in the wording of `variant`
// where the language file has one (see GetMessageText).
std::string NoticeText(const Notice& notice, const std::string& variant = {});
// The message box kind (icon and title) of a notice: mbWarning, mbError, mbInformation.
int NoticeBoxKind(Notice::Severity severity);

// Each notice in turn as a box with an OK button.
void ShowNotices(const std::vector<Notice>& notices);
