#pragma once

#include <cstdint>

// How the user wants the program to talk to the device. The window keeps
// them in the settings file Kalmoria.ini, section "Kalmoria"; the
// command-line program takes them from its options and stores nothing.
struct Preferences {
    // "SchnellesAntwortende" ("1" on, "0" off; off until chosen): replies end
    // as soon as they are whole (Tvep::FastReplyEnd).
    bool fastReplyEnd = false;
    // "Wiederholungen" (0..5; Tvep::DefaultRetries until chosen, and when the
    // file holds anything else): how often a failed transfer is repeated.
    int32_t retries = 0;
    // "SchreibenPruefen" ("1" on, "0" off; on until chosen otherwise): a
    // write checks the station, keeps a snapshot and reads the links back.
    bool writeCheck = true;
    // Whatever writeCheck says, a write checks the station and keeps a
    // snapshot: kalmoria-cli writes unattended, and its --no-verify only
    // leaves out the read-back. Not kept in the settings file.
    bool alwaysCheckStation = false;
    // How long a flow may go without a good reply of the device before it
    // gives up (Tvep::AnswerPatienceMs). kalmoria-cli runs unattended and
    // bounds its commands so; the window shows the wait and bounds each
    // transfer only, as ever (0). Not kept in the settings file.
    int32_t answerPatienceMs = 0;

    // The choices kept in the settings file.
    static Preferences Stored();
    // Each keeps one choice in the settings file; false when the file could
    // not be written (the choice then holds only until the program ends) or
    // the value is out of range.
    static bool StoreFastReplyEnd(bool on);
    static bool StoreRetries(int32_t retries);
    static bool StoreWriteCheck(bool on);
};
