#include "capture/TrafficTexts.h"

#include "diag/AnsiText.h"
#include "i18n/LanguageTexts.h"

QString TrafficText(int n, const char* german)
{
    const std::string section = TextSection();
    SetTextSection("F_Datenverkehr");
    const std::string text = GetText(n, std::string());
    SetTextSection(section);
    return ansiToQString(text.empty() || text[0] == '@' ? std::string_view(german) : std::string_view(text));
}
