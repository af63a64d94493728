#pragma once

// Every numbered message of the language files ([ERROR] Tn) the program
// shows, by name, in one place: a new message takes the next free number
// here, and two parts can never give one number two meanings. The texts
// are in the language files beside the program (data/).

// The one argument of the numbered messages that take none of their own.
inline constexpr char kDefaultMessageArgument[] = " - ";

// --- Link files in the window
constexpr int kMessageReplaceOtherFile = 56; // %s1 the file that would be replaced

// --- The traffic view
constexpr int kMessageCaptureNotWritten = 123; // %s1 file, %s2 reason

// --- The service report
// Its words, each list split by "|": the headings; the title block's labels;
// what it says of the comparison, the link check and the last write. The
// footer of every page; a report that cannot be saved; one saved; the
// question before a report replaces a file under the name it was given ".pdf".
constexpr int kMessageReportHeadings = 127;
constexpr int kMessageReportLabels = 128;
constexpr int kMessageReportPage = 129;       // %s1 page, %s2 pages
constexpr int kMessageReportStatements = 130; // see report/ReportTexts.h
constexpr int kMessageReportNotSaved = 131;   // %s1 file, %s2 reason
constexpr int kMessageReportSaved = 132;      // %s1 file, %s2 pages
constexpr int kMessageReplaceOtherReport = 133; // %s1 the file that would be replaced
constexpr int kMessageReportMoreFindings = 152; // %s1 findings of a link left unlisted

// --- Unsaved links
constexpr int kMessageUnsavedLinks = 55; // %s1 links

// --- Captures
constexpr int kMessageTransferResult = 120; // %s1 transfer, %s2 code, %s3 name
constexpr int kMessageRepeatResult = 121;   // %s1 transfer, %s2 attempt, %s3 code, %s4 name
constexpr int kMessageResultNames = 122;    // the names of kResultCodes, in order, split by "|"

// --- The command-line program
constexpr int kMessageNoDeviceFound = 40;
constexpr int kMessageConfirmWrite = 41;    // %s1 links, %s2 file, %s3 port, %s4 links on the device
constexpr int kMessageNoTerminalToAsk = 42;
constexpr int kMessageWriteCancelled = 43;
constexpr int kMessageLinksSaved = 46;      // %s1 links, %s2 file
constexpr int kMessageNoDifferences = 47;   // %s1 links
constexpr int kMessageDifferences = 48;     // %s1 links
constexpr int kMessagePortNotOpen = 49;     // %s1 COM number, %s2 device path
constexpr int kMessageOtherFileExists = 57; // %s1 the file -o would replace under another name
constexpr int kMessageGapRefused = 58;      // %s1 file, %s2 links before the gap, %s3 first link left out
constexpr int kMessageInterrupted = 59;     // %s1 what the verify found
constexpr int kMessageNoSnapshot = 66;      // %s1 serial number, %s2 folder
constexpr int kMessageStationRefused = 67;
constexpr int kMessageAnswerLetters = 68;   // "j/n": the letters of yes and no
constexpr int kMessageAddressTooHigh = 89;  // %s1 port, %s2 the device's address
constexpr int kMessageLinkNoun = 69;        // "Verknüpfung|Verknüpfungen": one link, several
// backup
constexpr int kMessageStationListUnreadable = 110; // %s1 file, %s2 reason
constexpr int kMessageStationListNoPort = 111;     // %s1 file, %s2 line number, %s3 the line
constexpr int kMessageStationListEmpty = 112;      // %s1 file
constexpr int kMessageStationListInterrupted = 150; // %s1 file
constexpr int kMessageBackupFolderNotWritable = 113; // %s1 folder, %s2 reason
constexpr int kMessageStationProcessFailed = 114;  // %s1 what became of the process
constexpr int kMessageStationInterrupted = 115;
constexpr int kMessageBackupDone = 116;            // %s1 stations saved, %s2 stations, %s3 folder
constexpr int kMessageBackupInterrupted = 117;     // %s1 stations saved, %s2 stations, %s3 folder
constexpr int kMessageMetricsNotWritten = 118;     // %s1 file, %s2 reason
constexpr int kMessageStationUnchanged = 119;      // %s1 links, %s2 the previous backup
constexpr int kMessageCaptureKeptAs = 139;         // %s1 the capture's temporary file, %s2 why it keeps that name
// A capture that lost frames on the way: a command's, a station's of backup.
constexpr int kMessageCaptureIncomplete = 141;     // %s1 file, %s2 reason, %s3 frames it holds
constexpr int kMessageBackupDatedLater = 170;      // %s1 the backup dated after now
constexpr int kMessageSerialShared = 171;          // %s1 serial number, %s2 the ports, %s3 the serial number's folder
// The ends of a backup with --only-changed that found stations unchanged:
// those keep their previous backup and are counted apart from the saved.
constexpr int kMessageBackupDoneUnchanged = 178;        // as kMessageBackupDone, %s4 stations unchanged
constexpr int kMessageBackupInterruptedUnchanged = 179; // as kMessageBackupInterrupted, %s4 stations unchanged
// A read that stopped at a failed transfer: with its cause, not repeated
// (--retries 0) or repeated in vain. (Numbers from the top down: the
// window's new messages count up.)
constexpr int kMessageReadFailedNotRepeated = 199; // %s1 cause
constexpr int kMessageReadFailedRepeated = 198;    // %s1 cause, %s2 and %s3 the repeats
// --port named a COM number that leads to no device file: Kalmoria.ini maps
// ports and not this one; or it maps none, and the system lists fewer.
constexpr int kMessageComPortNotInSettings = 197;     // %s1, %s2, %s3 the COM number
constexpr int kMessageComPortBeyondSystemPorts = 196; // %s1 COM number, %s2 serial ports listed, %s3 COM number

// --- The link plan
constexpr int kMessageTitleOfStation = 95; // %s1 serial number, %s2 address, %s3 modules, %s4 links, %s5 inactive
constexpr int kMessageTitle = 96;          // %s1 modules, %s2 links, %s3 inactive
constexpr int kMessageNotSaved = 97;       // %s1 file, %s2 reason

// --- The link check
constexpr int kMessageWriteDespiteProblems = 80; // %s1 the problems, one a line
constexpr int kMessageTargetOverlap = 81;        // %s1 link, %s2 the earlier link
constexpr int kMessageRangeNotAllowed = 82;      // %s1 link, %s2 bits, %s3 source bit, %s4 target bit
constexpr int kMessageOutsideGroups = 83;        // %s1 link, %s2 module
constexpr int kMessageModuleMissing = 84;        // %s1 link, %s2 module
constexpr int kMessageDuplicateLink = 85;        // %s1 link, %s2 the earlier link
constexpr int kMessageInactiveProblem = 86;      // %s1 a problem of an inactive link
constexpr int kMessageLinkCheckRefused = 87;

// --- Names of undoable link steps
constexpr int kMessageTakeOverStep = 90;   // %s1 link
constexpr int kMessageDeleteStep = 91;     // %s1 link
constexpr int kMessageActivateStep = 92;   // %s1 link
constexpr int kMessageDeactivateStep = 93; // %s1 link
constexpr int kMessageLoadStep = 94;       // %s1 file name

// --- The link table page
constexpr int kMessageComparison = 88; // %s1 same, %s2 changed, %s3 only here, %s4 only on the device

// --- The link editor
// Numbered messages of the editor.
constexpr int kMessageTargetBitTaken = 1;
constexpr int kMessageSourceRangeNotAllowed = 2;
constexpr int kMessageLinkTableFull = 26;

// --- Link files
// Messages about link files that the language files add to the classic ones,
// for every front end.
constexpr int kMessageLinksLeftOut = 27;       // %s1 links taken from a longer file
constexpr int kMessageLinkFileUnreadable = 28; // %s1 file, %s2 reason
constexpr int kMessageLinkFileNotSaved = 29;   // %s1 file, %s2 reason
constexpr int kMessageLinkFileNotText = 51;    // %s1 file
constexpr int kMessageLinkFileWithoutLinks = 52; // %s1 file
constexpr int kMessageLinkValueUnreadable = 53; // %s1 file, %s2 link, %s3 key, %s4 value
constexpr int kMessageLinksBehindGap = 54;     // %s1 file, %s2 links loaded, %s3 first link left out

// --- The connection doctor
constexpr int kMessageNoAnswer = 72;            // %s1 port, %s2 the transfer's result code
constexpr int kMessageDeviceFileMissing = 73;   // %s1 device file, %s2 the system's reason
constexpr int kMessageNoDeviceFileForPort = 136; // %s1 COM number
constexpr int kMessageJoinGroup = 74;           // %s1 device file, %s2 and %s3 group
constexpr int kMessageGroupNotYetActive = 75;   // %s1 device file, %s2 group
constexpr int kMessageBrlttyClaims = 76;        // %s1 device file, %s2 adapter kind
constexpr int kMessageModemManagerProbes = 77;  // %s1 device file
constexpr int kMessageLatencyTimer = 78;        // %s1 device file, %s2 ms
constexpr int kMessageDeviceAnswers = 79;       // %s1 port, %s2 type (hex), %s3 serial, %s4 address, %s5 ms
constexpr int kMessageServerAccepts = 103;      // %s1 port, %s2 server, %s3 ms

// --- The device sequences
// Message numbers of the device sequences that the language files add to the
// classic ones: the device's link list had no end mark; a link that does not
// fit the device's form; more links than the device's link area holds.
constexpr int kMessageLinkListNotTerminated = 23;
constexpr int kMessageLinkNotWritable = 24;
constexpr int kMessageTooManyLinks = 25;
// A port that would not open, when the system tells why: the device file is
// locked away from this user; another program holds the line.
constexpr int kMessagePortAccessDenied = 31;
constexpr int kMessagePortInUse = 32;
// The checked write: written and read back as written; read back otherwise;
// not read back; the device is another station (lacking modules the links
// use, or having them all); it lacks modules the links use; the snapshot of
// its links could not be saved.
constexpr int kMessageWrittenAndChecked = 60; // %s1 links, %s2 active, %s3 inactive, %s4 snapshot
constexpr int kMessageWriteMismatch = 61;     // %s1 link, %s2 read back, %s3 written, %s4 snapshot
constexpr int kMessageWriteNotReadBack = 62;  // %s1 transfer result, %s2 snapshot
constexpr int kMessageOtherStation = 63;      // %s1 the links' station, %s2 the device, %s3 missing modules
constexpr int kMessageModulesMissing = 64;    // %s1 the device, %s2 missing modules
constexpr int kMessageSnapshotNotSaved = 65;  // %s1 file, %s2 reason
constexpr int kMessageOtherStationAllModules = 99; // %s1 the links' station, %s2 the device
// The checked write stopped with nothing sent: after the port was opened
// again another station answered; the device did not answer before the
// write. The write frame went out but no clean answer came back.
constexpr int kMessageOtherStationAfterReopen = 124; // %s1 the station checked, %s2 the one answering now
constexpr int kMessageNothingSent = 125;             // %s1 transfer result
constexpr int kMessageWriteOutcomeUnknown = 126;     // %s1 transfer result, %s2 snapshot
// A comparison with the device whose read of the links failed.
constexpr int kMessageDeviceLinksNotRead = 140; // %s1 transfer result
// The classic messages of the device sequences: the write stopped at a
// transfer that failed; the port would not open (with the result code); no
// central device of ours answered (with its type word); the read stopped at
// a transfer that failed; the links were written.
constexpr int kMessageLinksNotTransferred = 5;
constexpr int kMessagePortWillNotOpen = 10;
constexpr int kMessageNoDeviceOfOurs = 11;
constexpr int kMessageReadFailed = 13;
constexpr int kMessageLinksWritten = 20;
// Saving and writing refused while the data are incomplete; all links are
// about to be deleted.
constexpr int kMessageDataIncomplete = 15;
constexpr int kMessageDeleteAllLinks = 14;
// Links loaded from a file; no modules to load links for.
constexpr int kMessageLinksLoaded = 21;
constexpr int kMessageNoModulesForLinks = 22;
// A port that would not open, named as the front end names it ("COM3
// (/dev/ttyUSB0)", or the device file alone), with the system's reason; one
// that another program holds, with that program's name and process id.
constexpr int kMessagePortNotOpenBecause = 70; // %s1 port, %s2 reason
constexpr int kMessagePortHeldBy = 71;         // %s1 port, %s2 program, %s3 process id
// A network port (PortAddress.h): its serial device server was not reached
// or refused the session; the connection went away during a transfer; its
// address cannot be used.
constexpr int kMessageNetworkPortNotOpen = 100; // %s1 port, %s2 server, %s3 reason
constexpr int kMessageConnectionLost = 101;     // %s1 server, %s2 reason
constexpr int kMessageBadPortAddress = 102;     // %s1 port, %s2 what is wrong
// A command that gave up on a device that gave no good reply for too long.
constexpr int kMessageNoAnswerInTime = 151;
