// The program: everything happens in runTalvino, which tests can run the same way.
#include "app/program.h"
#include "platform/shell/device.h"

namespace {

// Runs before any library initialises itself: from the program's first own instruction on, an end
// signal is a request to end cleanly, not a kill. Only the dynamic loader's moment before it stays.
void catchEndSignalsFirst(int, char**, char**) {
    platform::catchEndSignals();
}
[[gnu::section(".preinit_array"),
  gnu::used]] void (*const catchEndSignalsAtLoad)(int, char**, char**) = catchEndSignalsFirst;

} // namespace

int main(int argc, char** argv) {
    return runTalvino(argc, argv);
}
