// The whole program behind main: reads the command line, chooses the catalogue, starts the device
// and runs the main menu until it ends. Returns the process's exit status.
#pragma once

int runTalvino(int argc, char** argv);

// The program's end hook: when the program is asked to end, possibly inside a signal handler, a
// search that is running stops now instead of at its last row.
void interruptQueriesWhileEnding(bool ending);
