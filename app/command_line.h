// The program's command line: --help, --version, --scale N and --catalogue FILE. Read before any
// window opens, so that a wrong call ends with a message and status 2 and shows nothing.
#pragma once

#include <string>

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    double scale = 0;      // 1 to 4 (fractions allowed); 0 lets the device fill its window
    std::string catalogue; // an absolute path; empty: the catalogue the program finds by itself
    std::string error;     // one line, German then English, for Action::Error
};

// Reads the arguments after the program's name. The catalogue named must exist as a file.
CommandLine parseCommandLine(int argc, const char* const* argv);

std::string helpText();
std::string versionText();

// The exit status of a command line that could not be read.
constexpr int kCommandLineErrorStatus = 2;
