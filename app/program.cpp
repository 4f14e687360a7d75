#include "app/program.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/catalogue_location.h"
#include "app/command_line.h"
#include "app/main_menu.h"
#include "db/database.h"
#include "platform/data/ado.h"
#include "platform/data/utf.h"
#include "platform/shell/device.h"
#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "platform/win32.h"
#include "resources/resources.h"
#include "screen/globals.h"

void interruptQueriesWhileEnding(bool ending) {
    if (ending)
        ado::interruptQueries();
    else
        ado::resumeQueries();
}

namespace {

// The catalogue the main menu opens. The one named on the command line wins; without it, the
// writable one beside the program or the user's own copy (see catalogue_location.h). `location`
// holds the lock on the user's folder while the program runs.
void chooseCatalogue(const CommandLine& options, CatalogueChoice& location) {
    if (!options.catalogue.empty()) {
        g_database->useCatalogueFile(ado::toUtf16(options.catalogue));
        return;
    }
    char16_t program[Database::kCataloguePathChars * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, Database::kCataloguePathChars * 4);
    location = locateCatalogue(ado::toUtf8(std::u16string(program, length)), userDataFolder());
    for (const std::string& note : location.notes)
        std::fprintf(stderr, "talvino: %s\n", note.c_str());
    SetStartNotice(ado::toUtf16(location.notice));
    g_database->useCatalogueFile(ado::toUtf16(location.path));
}

} // namespace

int runTalvino(int argc, char** argv) {
    // A request to end that comes while the program starts ends it as cleanly as a later one.
    platform::setProgramEndHook(interruptQueriesWhileEnding);
    platform::catchEndSignals();
    const CommandLine options = parseCommandLine(argc, argv);
    switch (options.action) {
    case CommandLine::Action::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return kCommandLineErrorStatus;
    case CommandLine::Action::Run:
        break;
    }

    CatalogueChoice catalogue;
    chooseCatalogue(options, catalogue);

    // The wait animation draws from its own thread while a search blocks the interface thread;
    // the query shows its frames as it runs.
    ado::setBusyHook(platform::showPendingDrawing);

    // The device sees only what is its own; the rest of the command line was read here.
    char scale[16] = {};
    std::snprintf(scale, sizeof scale, "%.2f", options.scale);
    std::vector<char*> deviceArguments = {argv[0]};
    if (options.scale > 0) {
        deviceArguments.push_back(const_cast<char*>("--scale"));
        deviceArguments.push_back(scale);
    }
    deviceArguments.push_back(nullptr);
    return platform::runDevice(static_cast<int>(deviceArguments.size()) - 1, deviceArguments.data(),
                               talvinoModule(), WinMain);
}
