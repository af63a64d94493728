#pragma once

// The device behind the command: the port it is reached on and the protocol
// client that talks to it, with the messages and progress of each sequence
// on the console.

#include "cli/ExitCode.h"
#include "transports/ComPortMap.h"
#include "sequences/CheckedLinkWrite.h"
#include "sequences/DeviceRead.h"
#include "sequences/PortSearch.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class ConsoleMessages;
class ConsoleView;
struct CliOptions;
class FrameTap;
class StationClient;
struct Station;
class Tvep;
class WriteQuestions;

class DeviceSession {
public:
    DeviceSession(const CliOptions& options, ConsoleMessages& messages, ConsoleView& view);
    ~DeviceSession();

    // The port search over COM1..COM16 (only the port of --port when given).
    PortSearchResult Search();
    // Chooses the port: the one of --port, else the one the search finds.
    // Device when the search finds none (said as a message).
    ExitCode Connect();
    // The device read into the model. Device, with one error line, when it
    // did not complete.
    ExitCode Read();
    // The same read, telling nothing: for a front end that reports it
    // elsewhere (a station of backup).
    DeviceReadResult ReadSilently();
    // The one message (Windows-1252) that says why a read failed, as Read()
    // shows it: for a transfer that failed, its cause and what --retries
    // did about it.
    std::string ReadFailureText(const DeviceReadResult& result) const;
    // Both, as every command that works on the device's data begins.
    ExitCode ConnectAndRead();

    // The links of the table written to the device with the checks asked
    // for and the write's questions; the caller tells what happened.
    CheckedLinkWriteResult WriteLinks(const LinkWriteChecks& checks, const OverviewRows& overview,
                                      WriteQuestions& questions);

    Tvep& Client();
    // The station's client: its station, the device's links as last seen.
    StationClient& Device() { return *m_station; }
    FrameTap& Frames();
    // The station the command works on.
    Station& State();
    // "COM3 (/dev/ttyUSB0)" for the chosen port; the device file alone when
    // --port named one that no COM number maps to.
    std::string PortName() const;
    // The COM number to show for `port` as the sequences number it: 0 for a
    // device file of --port that Kalmoria.ini gives no number.
    int32_t PortLabel(int32_t port) const;
    // Why the chosen port would not open, on the console.
    void ReportPortNotOpen();

private:
    std::string PortNotOpenText() const;

    const CliOptions& m_options;
    ConsoleMessages& m_messages;
    ConsoleView& m_view;
    std::unique_ptr<StationClient> m_station;
    // --port: the COM number the sequences open, and the one shown (0: none).
    int32_t m_port = 0;
    int32_t m_label = 0;
    // --port: a COM number the port table leads nowhere, and where the
    // table came from.
    std::optional<ComPortSource> m_unmapped;
};
