#pragma once

// The words of kalmoria-cli's own command line: its help text, what it says
// of a command line it cannot take, and the prefix of its error lines. They
// are kept here, in English and German side by side, not in the language
// files: help and mistakes on the command line are told before the language
// files are read, and without them.

#include <QString>

#include <string>

enum class CliText {
    // The start of every error and warning line: "kalmoria-cli: error: ".
    ErrorPrefix,
    WarningPrefix,
    // After a mistake on the command line.
    SeeHelp,
    DidYouMean, // %1 what was meant
    // The help text around QCommandLineParser's lists.
    HelpUsage,
    HelpOptions,
    HelpArguments,
    HelpOptionsWord, // "[options]" in the line of usage
    ValueCommand,    // the name of the command argument
    ValueFile,       // the name of a file value: "FILE"
    ValueDir,
    Description,
    ExitCodes,
    // The options and arguments.
    OptionHelp,
    OptionVersion,
    OptionPort,
    OptionOutput,
    OptionJson,
    OptionYes,
    OptionNoVerify,
    OptionForce,
    OptionLast,
    OptionList,
    OptionFast,
    OptionQuiet,
    OptionRetries,
    OptionDir,
    OptionStations,
    OptionJobs, // %1 the highest number
    OptionMetrics,
    OptionOnlyChanged,
    OptionCapture,
    OptionLang,
    ArgumentCommand,
    ArgumentFile,
    // Mistakes on the command line.
    UnknownOption,          // %1 the option as typed
    MissingValue,           // %1 option
    UnexpectedValue,        // %1 option
    CommandMissing,
    UnknownCommand,         // %1 the word typed
    RestoreNeedsFile,
    NeedsLinkFile,          // %1 command
    UnexpectedArgument,     // %1 the argument
    LastAndList,
    OptionNotWithCommand,   // %1 option, %2 command
    JsonNotWithOutput,
    PortMoreThanOnce,
    PortNotValid,           // %1 the highest COM number, %2 the text given
    BackupNeedsDir,
    BackupNeedsStations,
    StationsNeedsFile,
    MetricsNeedsFile,
    JobsOutOfRange,         // %1 the highest number, %2 the text given
    ReportNeedsOutput,
    CaptureNeedsFile,
    OutputNeedsFile,
    RetriesOutOfRange,      // %1 the highest number, %2 the text given
    LangUnknown,            // %1 the languages there are, %2 the text given
    OutputReplacesInput,    // %1 output, %2 its file, %3 input, %4 its file
    OutputsNameOneFile,     // %1 and %2 the outputs, %3 the file
    TheLinkFile,
    TheStationList,
    Count // not a text
};

// The language of the texts, from a language file's code (KursSprache):
// German for "de", English for every other (the international default).
void SetCommandLineLanguage(const std::string& code);

// Text `id` in the language set last (German before any is set).
QString CommandLineText(CliText id);
// The same text in English and in German, for the tests that compare them.
QString CommandLineText(CliText id, bool german);

// "kalmoria-cli: error: " in the language set last: the start of every
// error line the program writes.
std::string ErrorLinePrefix();
std::string WarningLinePrefix();
