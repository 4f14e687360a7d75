// The writer that the crash test kills: saves and deletes bookmarks through the database object
// in an endless loop and reports each step on standard output, unbuffered, so that whatever the
// parent reads after the kill is exactly what had happened.
//
//   bookmark_crash_writer <catalogue folder> <first version> <seed>
//
// Lines: "ready", then per step "begin <entry> save <version>" or "begin <entry> delete", and
// "done" after the step took effect ("failed" if it did not).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "platform/win32.h"
#include "tests/bookmarks/crash_protocol.h"

namespace {

void say(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (n <= 0) std::_Exit(3);
        written += static_cast<std::size_t>(n);
    }
}

std::u16string utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const std::u16string program = utf16(std::string(argv[1]) + "/talvino");
    platform::overrideModuleFileName(program.c_str());
    long long version = std::atoll(argv[2]);
    std::mt19937 random(static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));

    Database database;
    database.allocateQueryBuffer();
    if (!database.openCatalogue()) return 1;
    say("ready");
    for (;;) {
        const crash_protocol::Step step = crash_protocol::nextStep(random, ++version);
        const std::u16string id = utf16(std::to_string(step.entryId));
        bool ok = false;
        if (step.save) {
            say("begin " + std::to_string(step.entryId) + " save " + std::to_string(version));
            ok = bookmark_store::save(database, id, crash_protocol::description(version),
                                      crash_protocol::note(version));
        } else {
            say("begin " + std::to_string(step.entryId) + " delete");
            ok = bookmark_store::remove(database, id);
        }
        say(ok ? "done" : "failed");
    }
}
