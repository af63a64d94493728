#pragma once

// Message boxes on a console: while it lives, every numbered message the
// program shows is a line on standard error, and a question is asked there
// and answered on standard input.

#include "i18n/MessageBoxEx.h"

#include <string>
#include <vector>

class ConsoleMessages {
public:
    explicit ConsoleMessages(bool quiet);
    ~ConsoleMessages();
    ConsoleMessages(const ConsoleMessages&) = delete;
    ConsoleMessages& operator=(const ConsoleMessages&) = delete;

    // A device sequence may show several messages on its way to a failure;
    // held, they wait until the outcome is known.
    void hold();
    // Prints the messages held: after success all of them, after a failure
    // only the last, the one that tells what stopped the sequence, as the
    // error line. Returns whether a line was printed for the failure.
    bool release(bool failed);

    // One line on standard error: "<error title>: <text>". Always shown.
    void error(const std::string& ansiText);
    // A note on standard error, left out with --quiet.
    void note(const std::string& ansiText);
    // Asks on standard error and reads the answer from standard input:
    // true for y, yes, j or ja.
    bool ask(const std::string& ansiText);

private:
    int present(const MessageBoxRequest& request);
    void print(const MessageBoxRequest& request);

    bool m_quiet;
    bool m_holding = false;
    std::vector<MessageBoxRequest> m_held;
    MessageBoxPresenter m_previous;
};
