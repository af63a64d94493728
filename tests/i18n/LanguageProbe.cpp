// A tiny program that activates a language the way the program does at start,
// so tests can watch what a real process does without its default texts:
// copied into a scratch folder as "Kalmoria", it takes that folder's files.
// It prints every message box and its result to standard output.

#include "diag/ErrLog.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    ErrLogStartup();
    SetMessageBoxPresenter([](const MessageBoxRequest& request) {
        std::printf("box: %s\n", request.text.c_str());
        std::fflush(stdout);
        return idOk;
    });
    SetMinimumLanguageVersion(20150610);
    const bool activated = ActivateLanguage(argc > 1 ? argv[1] : "");
    SetTextSection("F_Probe");
    std::printf("activated=%d text=%s\n", activated ? 1 : 0, GetText(77, "").c_str());
    ErrLogShutdown(0);
    return 0;
}
