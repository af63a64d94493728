#pragma once

// What a user may be asked while links go to a device. The write flow
// (LinkTableWrite.h) decides when to ask; each front end only answers: the
// window with its message boxes, the command line with its console and its
// --yes and --force.

#include "editor/rules/LinkCheck.h"

#include <vector>

struct StationCheck;

class WriteQuestions {
public:
    // How the user met the links the editor would not have made.
    enum class Consent {
        Refused, // write nothing
        Agreed,  // asked and said yes: the modules listed as missing need no second question
        Forced,  // not asked: ordered beforehand to write them all the same
    };

    virtual ~WriteQuestions() = default;

    // Active links the editor would not have made (at least one refuses).
    virtual Consent WriteDespiteLinkProblems(const std::vector<LinkProblem>& problems) = 0;
    // The last word before anything is sent; true to go on.
    virtual bool ConfirmWrite() { return true; }
    // Problems that do not stop the write, told once it is confirmed.
    virtual void TellLinkProblems(const std::vector<LinkProblem>& problems) { (void)problems; }
    // The device is not the links' station, or lacks modules they use (and
    // not only ones the user already agreed to): true to write all the same.
    // Asked with the port closed.
    virtual bool WriteToOtherStation(const StationCheck& check) = 0;
};
