#pragma once

// How a transfer's result is named to the user, in the chosen language:
// "Übertragung 7: -20 CRC-Fehler" on the frame that ends it. The texts are
// read from the language file once, when this is made, on the thread that
// owns the language texts; afterwards any thread may use them.

#include <cstdint>
#include <string>
#include <vector>

class TransferWords {
public:
    TransferWords();

    // The result code's name ("keine Antwort"); the code's English name
    // where the language file has none.
    std::string ResultName(int32_t result) const;
    // "Übertragung <transfer>: <result> <name>", naming the attempt when it
    // is a repeat; without the language's text the numbers alone.
    std::string Comment(int64_t transfer, int32_t attempt, int32_t result) const;

private:
    std::string m_comment;       // %s1 transfer, %s2 code, %s3 name
    std::string m_repeatComment; // %s1 transfer, %s2 attempt, %s3 code, %s4 name
    std::vector<std::string> m_names; // in the order of kResultCodes
};
