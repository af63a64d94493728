#pragma once

// Message boxes on a console: while it lives, every numbered message the
// program shows is a line on standard error, and a question is asked there
// and answered on standard input.

#include "diag/Notice.h"
#include "i18n/MessageBoxEx.h"

#include <string>
#include <vector>

// The language files' wording of a message for the console, where it has
// one: commands instead of the window's buttons.
inline constexpr char kConsoleWording[] = "C";

class ConsoleMessages {
public:
    explicit ConsoleMessages(bool quiet);
    ~ConsoleMessages();
    ConsoleMessages(const ConsoleMessages&) = delete;
    ConsoleMessages& operator=(const ConsoleMessages&) = delete;

    // What a device sequence had to say: after success all of it, after a
    // failure only the last notice, the one that tells what stopped the
    // sequence, as the error line. Returns whether a line was printed for
    // the failure.
    bool report(const std::vector<Notice>& notices, bool failed);

    // One line on standard error: "kalmoria-cli: error: <text>". Always shown.
    void error(const std::string& ansiText);
    // A note on standard error, left out with --quiet.
    void note(const std::string& ansiText);
    // A line as a message box of `kind` (mbError, mbWarning, ...) would be
    // shown: an error or a warning with its title, always; a note otherwise.
    void show(int kind, const std::string& ansiText) { print(kind, ansiText); }
    // Asks on standard error with the language's answer letters ("[j/n]")
    // and reads the answer from standard input: true for the language's
    // yes letter, y, yes, j or ja.
    bool ask(const std::string& ansiText);

private:
    int present(const MessageBoxRequest& request);
    void print(int kind, const std::string& ansiText);

    bool m_quiet;
    MessageBoxPresenter m_previous;
};
