#pragma once

#include "i18n/NoticeText.h"

// A device sequence's result, with what it has for the user shown as the
// window shows it: each notice a box, once the sequence has ended.
template <class Result>
Result shown(Result result)
{
    ShowNotices(result.notices);
    return result;
}
