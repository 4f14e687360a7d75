// A writer process is killed with SIGKILL at random moments while it saves and deletes
// bookmarks; after every kill the catalogue must pass SQLite's integrity check and hold every
// bookmark in its old or its new version, never missing and never twice.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "platform/data/utf.h"
#include "tests/bookmarks/crash_protocol.h"
#include "tests/support/test_catalogue.h"

extern char** environ;

namespace {

using Version = std::optional<long long>; // nothing: no bookmark
using namespace std::chrono_literals;

constexpr int kRounds = 200;
// The whole test stays short even on a busy machine; fewer rounds are still many kills.
constexpr auto kBudget = 15s;

struct Writer {
    pid_t pid = -1;
    int output = -1;
};

Writer startWriter(const std::string& folder, long long firstVersion, unsigned seed) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    const std::string path = CRASH_WRITER_PATH;
    const std::string first = std::to_string(firstVersion);
    const std::string seedText = std::to_string(seed);
    std::vector<char*> arguments = {const_cast<char*>(path.c_str()), const_cast<char*>(folder.c_str()),
                                    const_cast<char*>(first.c_str()), const_cast<char*>(seedText.c_str()),
                                    nullptr};
    Writer writer;
    const int rc = posix_spawn(&writer.pid, path.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    if (rc != 0) {
        ::close(pipeEnds[0]);
        return {};
    }
    writer.output = pipeEnds[0];
    return writer;
}

// Reads what is there until the pipe ends or, with `stopAt`, until a line equal to it arrived.
std::string readOutput(int fd, const std::string& stopAt = {}, int timeoutMs = 10000) {
    std::string text;
    char buffer[4096];
    for (;;) {
        if (!stopAt.empty() && text.find(stopAt + "\n") != std::string::npos) return text;
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0) return text;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

struct Interrupted {
    long entryId;
    Version version;
};

// Applies the writer's finished steps to `state`; the step in flight when the kill came, if any,
// is returned.
std::optional<Interrupted> replay(const std::string& output, std::map<long, Version>& state) {
    std::istringstream lines(output);
    std::string word;
    std::optional<Interrupted> pending;
    while (lines >> word) {
        if (word == "begin") {
            long id = 0;
            std::string kind;
            lines >> id >> kind;
            Version version;
            if (kind == "save") {
                long long number = 0;
                lines >> number;
                version = number;
            }
            pending = Interrupted{id, version};
        } else if (word == "done" && pending) {
            state[pending->entryId] = pending->version;
            pending.reset();
        } else if (word == "failed") {
            ADD_FAILURE() << "the writer reported a failed step";
            pending.reset();
        }
    }
    return pending;
}

class BookmarkCrashSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        for (long id : crash_protocol::kKeptEntries) {
            catalogue.addBookmark(id, crash_protocol::description(0), crash_protocol::note(0));
            state[id] = 0;
        }
        for (long id : crash_protocol::kToggledEntries)
            state[id] = std::nullopt;
        catalogue.installAsProgramCatalogue();
    }

    // What the catalogue holds for each bookmark; a text that matches no version the writer
    // wrote fails the test.
    std::map<long, std::vector<Version>> stored() const {
        std::map<long, std::vector<Version>> found;
        for (const auto& row : catalogue.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen")) {
            const long id = std::stol(row[0]);
            const std::string prefix = "Fassung ";
            long long version = -1;
            if (row[1].rfind(prefix, 0) == 0) version = std::stoll(row[1].substr(prefix.size()));
            EXPECT_EQ(row[1], ado::toUtf8(crash_protocol::description(version))) << "entry " << id;
            EXPECT_EQ(row[2], ado::toUtf8(crash_protocol::note(version))) << "entry " << id;
            found[id].push_back(version);
        }
        return found;
    }

    TestCatalogue catalogue;
    std::map<long, Version> state;
};

TEST_F(BookmarkCrashSafety, EveryBookmarkSurvivesAKilledWriterInItsOldOrNewVersion) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> killAfterUs(0, 30000);
    const auto start = std::chrono::steady_clock::now();
    int rounds = 0;
    int interruptedSteps = 0;

    for (; rounds < kRounds && std::chrono::steady_clock::now() - start < kBudget; ++rounds) {
        const Writer writer = startWriter(catalogue.folder(), (rounds + 1) * 1000000LL, random());
        ASSERT_GT(writer.pid, 0) << "cannot start " << CRASH_WRITER_PATH;
        std::string output = readOutput(writer.output, "ready");
        ASSERT_NE(output.find("ready\n"), std::string::npos) << "the writer did not start: " << output;
        std::this_thread::sleep_for(std::chrono::microseconds(killAfterUs(random)));
        ::kill(writer.pid, SIGKILL);
        int status = 0;
        ::waitpid(writer.pid, &status, 0);
        output += readOutput(writer.output);
        ::close(writer.output);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";

        const std::optional<Interrupted> interrupted = replay(output, state);
        if (interrupted) ++interruptedSteps;

        // The first reader after the kill rolls back what the writer left half done.
        ASSERT_EQ(catalogue.rows("PRAGMA integrity_check"), (std::vector<std::vector<std::string>>{{"ok"}}))
            << "round " << rounds;
        const std::map<long, std::vector<Version>> found = stored();
        for (auto& [id, version] : state) {
            std::set<Version> allowed = {version};
            if (interrupted && interrupted->entryId == id) allowed.insert(interrupted->version);
            const auto it = found.find(id);
            const Version actual = it == found.end() ? Version() : Version(it->second.front());
            if (it != found.end()) {
                ASSERT_EQ(it->second.size(), 1u) << "entry " << id << " twice, round " << rounds;
            }
            ASSERT_EQ(allowed.count(actual), 1u)
                << "entry " << id << " holds " << (actual ? std::to_string(*actual) : "nothing") << ", round "
                << rounds;
            version = actual;
        }
        for (long id : crash_protocol::kKeptEntries)
            ASSERT_TRUE(state[id].has_value()) << "entry " << id << " lost its bookmark, round " << rounds;
    }

    EXPECT_GE(rounds, 10) << "too few kills to say anything";
    EXPECT_GT(interruptedSteps, 0) << "no kill landed inside a step";
    // The program itself reads every kept bookmark after the last kill.
    Database database;
    database.allocateQueryBuffer();
    ASSERT_TRUE(database.openCatalogue());
    for (long id : crash_protocol::kKeptEntries) {
        const std::string digits = std::to_string(id);
        const bookmark_store::StoredBookmark bookmark =
            bookmark_store::load(database, std::u16string(digits.begin(), digits.end()));
        EXPECT_TRUE(bookmark.rowExists) << "entry " << id;
        EXPECT_EQ(bookmark.description, crash_protocol::description(*state[id]));
        EXPECT_EQ(bookmark.note, crash_protocol::note(*state[id]));
    }
    std::cout << rounds << " kills, " << interruptedSteps << " inside a step\n";
}

} // namespace
