#pragma once

#include "core/WriteQuestions.h"

// The write's questions as the window asks them: a message box each, No
// the default.
class WriteQuestionBoxes : public WriteQuestions {
public:
    Consent WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems) override;
    bool WriteToOtherStation(const StationCheck& check) override;
};
