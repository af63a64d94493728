#pragma once

#include "core/WriteQuestions.h"

// The write's questions as the window asks them: a message box each, No
// the default.
struct Station;

class WriteQuestionBoxes : public WriteQuestions {
public:
    // Asked about the links of `station`.
    explicit WriteQuestionBoxes(const Station& station)
        : m_station(station)
    {
    }

    Consent WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems) override;
    bool WriteToOtherStation(const StationCheck& check) override;

private:
    const Station& m_station;
};
