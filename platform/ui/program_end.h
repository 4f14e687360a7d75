// The end of the program from outside its screens: the desktop window closed, a signal, the end of
// the desktop session. Free of Qt, so the program and tests may include it.
#pragma once

namespace platform {

// Ends the program the way its user would with the done buttons: the open screens end from the
// top down, each as if its done button had been tapped (so its own clean-up runs), and a message
// box that is open, or that opens meanwhile, is answered with its cancel choice (OK, or "Nein" of
// a Yes/No box) without being shown. Works from the event loop of the interface thread; call it
// there. The end goes on until the last screen has ended, however many steps that takes.
void endProgram();

// The first half of endProgram for a signal handler or another thread: notes the request and calls
// the end hook, nothing else (async-signal-safe). endProgram must follow on the interface thread.
void noteProgramEndRequested();

// True from the request to resetProgramEnd.
bool programEnding();

// Called with true at the request (possibly inside a signal handler, so it must be
// async-signal-safe) and with false at resetProgramEnd. The program interrupts its queries here.
void setProgramEndHook(void (*hook)(bool ending));

// Forgets an end that has run its course, for a process that starts the program again (tests).
void resetProgramEnd();

} // namespace platform
