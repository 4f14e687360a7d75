// The program: the device layer starts, then runs the entry point with the program's module.
#include "app/main_menu.h"
#include "platform/data/ado.h"
#include "platform/shell/device.h"
#include "platform/ui/hooks.h"
#include "resources/resources.h"

int main(int argc, char** argv) {
    // The wait animation draws from its own thread while a search blocks the interface thread;
    // the query shows its frames as it runs.
    ado::setBusyHook(platform::showPendingDrawing);
    return platform::runDevice(argc, argv, talvinoModule(), WinMain);
}
