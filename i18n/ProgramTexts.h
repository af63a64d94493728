#pragma once

// The texts the program looks up in a language file, kept in this one list.
// A language file that lacks some of them (a translation written for an older
// text set, a file cut short by a failed copy) is still used, showing "@10"
// or "@91-8" in their place; the log names them when the file is activated,
// and the shipped files are checked against the list.
//
// Hints ("T<n>H") are not in the list: without one a control simply has no
// hint. When a form, a text table or a message is added, its keys go here.

#include <SimpleIni.h>

#include <string>
#include <vector>

struct TextKey {
    std::string section;
    std::string key;

    bool operator==(const TextKey&) const = default;
};

// Every section/key pair the program asks for, in file order.
const std::vector<TextKey>& ProgramTextKeys();

// The keys of ProgramTextKeys() that `file` does not hold, in list order; an
// empty value counts as held. Sections and keys are compared without regard to case.
std::vector<TextKey> MissingProgramTexts(const CSimpleIniA& file);
