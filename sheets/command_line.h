// The command line: the text after the program name, the file name at its front, and the
// "/" options that set up batch processing. The option reader itself is not built yet: it
// answers "normal start" and sets nothing.
#pragma once

#include <string>

// Set by the option reader when "/StartDEVE" was given: start-up then starts the quick view.
extern bool StartDeveOption;

// Reads the options of the argument text: 0 = normal start, 1 = a batch run was started,
// 2 = a slide show over the batch files was started.
int ReadCommandLineOptions(const std::string& argumentText);

// The text after the program name of a full command line: leading spaces, then a quoted
// name up to its closing quote or an unquoted one up to the first space, then spaces are
// skipped. Empty when nothing follows the name (also when its closing quote or the space
// after it is missing).
std::string CommandLineText(const std::string& commandLine);

// The file name at the front of the argument text, before the options; trailing blanks
// removed, quotes kept. A quoted name ends at its closing quote; an unquoted one at the
// first "/". A Unix path ("/home/a.bmp", as a Unix shell hands names to the program) is a
// name, not an option, when its first folder exists: it ends where " /" starts an option,
// and it comes back in its full form with a drive (GetFullPathNameW).
std::string StartupNamePart(const std::string& argumentText);

// The options of the argument text: from the first "/" after the file name at its front
// (see StartupNamePart) to the end; empty when there are none. A command line with
// options is a batch run and runs in its own instance, never handed to a running one.
std::string CommandLineOptions(const std::string& argumentText);
