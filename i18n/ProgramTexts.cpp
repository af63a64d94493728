#include "i18n/ProgramTexts.h"

#include <initializer_list>

namespace {

constexpr const char* kMainWindow = "F_Kalmoria_main";

void addKeys(std::vector<TextKey>& keys, const char* section, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        keys.push_back({section, name});
}

// Captions and messages: "T<n>".
void addNumbers(std::vector<TextKey>& keys, const char* section, std::initializer_list<int> numbers)
{
    for (const int n : numbers)
        keys.push_back({section, "T" + std::to_string(n)});
}

// Lines 1..lines of text table n: "T<n>-<i>".
void addTableLines(std::vector<TextKey>& keys, const char* section, int n, int lines)
{
    for (int i = 1; i <= lines; ++i)
        keys.push_back({section, "T" + std::to_string(n) + "-" + std::to_string(i)});
}

std::vector<TextKey> collectKeys()
{
    std::vector<TextKey> keys;
    addKeys(keys, "GLOBAL", {"TitelM", "TitelW", "TitelE", "TitelI", "TitelB"});
    // Messages of the window, the device sequences, the link file and kalmoria-cli.
    addNumbers(keys, "ERROR", {1,  2,  5,  10, 11, 13, 14, 15, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 31, 32,
                               40, 41, 42, 43, 46, 47, 48, 49, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69,
                               70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89});
    addNumbers(keys, "ERROR", {90, 91, 92, 93, 94}); // names of undoable link steps
    addNumbers(keys, "ERROR", {95, 96, 97}); // the link plan
    addNumbers(keys, "ERROR", {99}); // another station, no module missing
    // Network ports: not reached, connection lost, an address that cannot be used, the doctor's check.
    addNumbers(keys, "ERROR", {100, 101, 102, 103});
    addNumbers(keys, "ERROR", {110, 111, 112, 113, 114, 115, 116, 117, 118, 119}); // kalmoria-cli backup
    addNumbers(keys, "ERROR", {120, 121, 122, 123}); // results of transfers in captures, a capture not written
    // The checked write: another station after a reopen, nothing sent, the outcome unknown.
    addNumbers(keys, "ERROR", {124, 125, 126});
    addNumbers(keys, "ERROR", {127, 128, 129, 130, 131, 132}); // the service report
    addNumbers(keys, "ERROR", {136}); // the doctor: a COM number without a device file
    addNumbers(keys, "ERROR", {139}); // a station's capture that keeps its temporary name
    addNumbers(keys, "ERROR", {140}); // a comparison whose read of the device's links failed
    addNumbers(keys, "ERROR", {133}); // a report name that got its suffix
    addNumbers(keys, "ERROR", {141}); // a capture that lost frames
    addNumbers(keys, "ERROR", {150, 151}); // a station list never given, a line that never answers
    addNumbers(keys, "ERROR", {152}); // the report's findings of a link left unlisted
    addNumbers(keys, "ERROR", {170, 171}); // backup: a file dated after now, stations sharing a serial number
    // kalmoria-cli: a read that failed with its cause; a COM number of --port without a device file.
    addNumbers(keys, "ERROR", {196, 197, 198, 199});
    // Menus, tool buttons, pages, the link editor's and the link table's captions.
    addNumbers(keys, kMainWindow, {10, 11, 12, 13, 14, 15, 16, 18, 19, 20, 21, 22, 23, 25, 26, 27, 28,
                                   30, 31, 37, 38, 39, 40, 41, 42, 50, 51, 52});
    addNumbers(keys, kMainWindow, {53, 54}); // undo and redo
    addNumbers(keys, kMainWindow, {60, 61, 62, 63, 64, 65, 66, 67, 68, 69}); // the link plan
    addNumbers(keys, kMainWindow, {70}); // the traffic view's menu entry
    addNumbers(keys, kMainWindow, {127, 128, 129}); // the report's menu entries and its file filter
    // What a screen reader is told about the link editor's cells, panes and boxes.
    addNumbers(keys, kMainWindow, {150, 151, 152, 153, 154, 155, 156, 157, 158, 159, 160, 161, 162});
    // The words put together with values: a module box item, the status bar's
    // address and serial number, the link files' filters, the proposed file name.
    addNumbers(keys, kMainWindow, {163, 164, 165, 166, 167, 168});
    addTableLines(keys, kMainWindow, 91, 20); // column headings (MemTab)
    addTableLines(keys, kMainWindow, 92, 21); // signal-group labels (Memo1)
    addTableLines(keys, kMainWindow, 93, 4);  // hint over inactive links (Memo2)
    addNumbers(keys, "F_PDauswahl", {1, 2, 3, 4});
    addNumbers(keys, "F_PDauswahl", {5}); // its keys, told to a screen reader
    addNumbers(keys, "F_PDauswahl", {6, 7, 8, 9, 10}); // a link's choices and the dialog's caption
    addNumbers(keys, "F_rs232", {1, 2, 3, 4, 5});
    addNumbers(keys, "F_rs232", {6, 7, 8, 9}); // how the port dialog names network ports
    addNumbers(keys, "F_Datenverkehr", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}); // the traffic view
    return keys;
}

} // namespace

const std::vector<TextKey>& ProgramTextKeys()
{
    static const std::vector<TextKey> keys = collectKeys();
    return keys;
}

std::vector<TextKey> MissingProgramTexts(const CSimpleIniA& file)
{
    std::vector<TextKey> missing;
    for (const TextKey& text : ProgramTextKeys()) {
        if (file.GetValue(text.section.c_str(), text.key.c_str(), nullptr) == nullptr)
            missing.push_back(text);
    }
    return missing;
}
