#pragma once

// The texts the program looks up in a language file, kept in this one list.
// A language file that lacks one of them (a translation that is not finished,
// a file cut short by a failed copy) would show raw keys such as "@10" or
// "@91-8", so the program refuses it like a missing file.
//
// Hints ("T<n>H") are not in the list: without one a control simply has no
// hint. When a form, a text table or a message is added, its keys go here.

#include <SimpleIni.h>

#include <optional>
#include <string>
#include <vector>

struct TextKey {
    std::string section;
    std::string key;

    bool operator==(const TextKey&) const = default;
};

// Every section/key pair the program asks for, in file order.
const std::vector<TextKey>& ProgramTextKeys();

// The first key of ProgramTextKeys() that `file` does not hold; an empty value
// counts as held. Sections and keys are compared without regard to case.
std::optional<TextKey> FirstMissingProgramText(const CSimpleIniA& file);
