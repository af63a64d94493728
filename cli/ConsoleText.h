#pragma once

// The terminal speaks UTF-8; the program's texts are Windows-1252 bytes.

#include <string>

// A Windows-1252 text as UTF-8 bytes, its control characters (a line break
// too) written as visible escapes ("\x1B"): the one way program texts go to
// the console.
std::string toTerminal(const std::string& ansi);
// A message box text on one line: its line breaks become single blanks.
std::string oneLine(const std::string& ansi);
// A file path as the program's texts hold it, for a message argument.
std::string pathText(const std::string& path);
// A file path, bytes of the file system, as UTF-8 for the console: bytes
// that are no UTF-8 and control characters written as escapes ("\xff").
std::string pathOnTerminal(const std::string& path);
// True when the file descriptor is a terminal (0 stdin, 1 stdout, 2 stderr).
bool isTerminal(int fd);

// Data go to standard output, messages and progress to standard error.
void printOut(const std::string& utf8);
void printErr(const std::string& utf8);
