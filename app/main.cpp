// The program: the device layer starts, then runs the entry point with the program's module.
#include "app/main_menu.h"
#include "platform/shell/device.h"
#include "resources/resources.h"

int main(int argc, char** argv) { return platform::runDevice(argc, argv, talvinoModule(), WinMain); }
