#include "app/WindowWords.h"

#include "diag/AnsiText.h"
#include "i18n/LanguageTexts.h"
#include "model/LinkFile.h"

namespace {

constexpr char kSection[] = "F_Kalmoria_main";
constexpr int kTextNoDeviceFound = 58;
constexpr int kTextAddress = 164;
constexpr int kTextSerial = 165;
constexpr int kTextLinkFiles = 166;
constexpr int kTextAnyFile = 167;
constexpr int kTextLinkFileName = 168;

} // namespace

StatusWords WindowStatusWords()
{
    return {FormTextOr(kSection, kTextAddress, "QMX-Adr.:"), FormTextOr(kSection, kTextSerial, "SerNr.:")};
}

QString LinkFileFilters()
{
    return ansiToQString(FormTextOr(kSection, kTextLinkFiles, "Konfig ini-Dateien (*.ini)")) + QStringLiteral(";;") +
           ansiToQString(FormTextOr(kSection, kTextAnyFile, "alle (*)"));
}

std::string DefaultLinkFileNameText()
{
    return FormTextOr(kSection, kTextLinkFileName, kDefaultLinkFileName);
}

std::string NoDeviceFoundText()
{
    return FormTextOr(kSection, kTextNoDeviceFound, "keine QMX gefunden");
}
