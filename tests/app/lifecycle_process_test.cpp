// The program's end and its command line on real processes: the real program for signals and
// command-line errors, and a child that works the real program into a place first (the results of
// a search, an open question) and closes its window itself as the window manager would.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/lifecycle_expectations.h"
#include "tests/support/test_catalogue.h"

extern char** environ;

namespace {

// A child with its standard output and error read through pipes.
class Child {
  public:
    explicit Child(std::vector<std::string> arguments, std::vector<std::string> environment = {}) {
        int out[2], err[2];
        if (pipe(out) != 0 || pipe(err) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, err[0]);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        std::vector<std::string> variables;
        for (char** variable = environ; *variable; ++variable) {
            bool replaced = false;
            for (const std::string& extra : environment)
                if (std::string(*variable).substr(0, extra.find('=') + 1) ==
                    extra.substr(0, extra.find('=') + 1))
                    replaced = true;
            if (!replaced) variables.emplace_back(*variable);
        }
        variables.insert(variables.end(), environment.begin(), environment.end());
        std::vector<char*> envp;
        for (std::string& variable : variables)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Child() {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // Reads standard output until a line equals `line`; false after `timeoutMs`.
    bool waitForLine(const std::string& line, int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            if (hasLine(line)) return true;
            if (!readSome(out_, output_, 50) && outputEnded(out_)) break;
        }
        return hasLine(line);
    }

    // Waits for the end, reading everything; the exit status, or -1 when it did not end in time.
    int wait(int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (status_ < 0 && std::chrono::steady_clock::now() < deadline) {
            readSome(out_, output_, 20);
            readSome(err_, errors_, 0);
            int raw = 0;
            if (waitpid(pid_, &raw, WNOHANG) == pid_)
                status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        }
        while (readSome(out_, output_, 0)) {
        }
        while (readSome(err_, errors_, 0)) {
        }
        return status_;
    }

    const std::string& output() const { return output_; }
    const std::string& errors() const { return errors_; }

    // The lines that start with `prefix`, without it.
    std::vector<std::string> linesAfter(const std::string& prefix) const {
        std::vector<std::string> lines;
        std::istringstream in(output_);
        for (std::string line; std::getline(in, line);)
            if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
        return lines;
    }

  private:
    bool hasLine(const std::string& line) const {
        return ("\n" + output_).find("\n" + line + "\n") != std::string::npos;
    }
    // True once the writer has gone and everything was read.
    static bool outputEnded(int fd) {
        pollfd polled{fd, POLLIN, 0};
        return poll(&polled, 1, 0) > 0 && (polled.revents & POLLHUP) && !(polled.revents & POLLIN);
    }
    static bool readSome(int fd, std::string& into, int timeoutMs) {
        pollfd polled{fd, POLLIN, 0};
        if (poll(&polled, 1, timeoutMs) <= 0) return false;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) return false;
        into.append(buffer, static_cast<std::size_t>(got));
        return true;
    }

    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
    int status_ = -1;
    std::string output_, errors_;
};

// Whether process `pid` has `path` open.
bool hasOpen(pid_t pid, const std::string& path) {
    std::error_code error;
    const std::filesystem::path folder = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code linkError;
        if (std::filesystem::read_symlink(entry.path(), linkError) == path) return true;
    }
    return false;
}

// Whether process `pid` has its own handler for `signal` (the SigCgt mask of /proc/PID/status),
// waited for up to a few seconds.
bool waitUntilCaught(pid_t pid, int signal) {
    for (int i = 0; i < 5000; ++i) {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigCgt:", 0) == 0 &&
                (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1u))
                return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

// Long enough for a loaded machine; the program itself ends in a fraction of it.
constexpr int kEndTimeoutMs = 5000;
constexpr int kStartTimeoutMs = 30000;

class ProgramProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent().addBookmark(TestCatalogue::kRioja, u"Für Sonntag", u"mit Lamm");
        path = catalogue.build();
    }
    void expectClosedCatalogue() {
        EXPECT_FALSE(std::filesystem::exists(path + "-journal")) << "no journal left behind";
        EXPECT_EQ(catalogue.rows("SELECT id_talvino FROM Lesezeichen"),
                  (std::vector<std::vector<std::string>>{{std::to_string(TestCatalogue::kRioja)}}))
            << "nothing was saved or deleted that the user did not";
    }

    TestCatalogue catalogue;
    std::string path;
};

TEST_F(ProgramProcess, TheProgramEndsWithStatusZeroOnSigtermAndSigint) {
    for (int signal : {SIGTERM, SIGINT}) {
        Child program({TALVINO_PROGRAM, "--catalogue", path});
        ASSERT_TRUE(program.started());
        // The main menu opens the catalogue while it starts.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
        while (!hasOpen(program.pid(), path) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(hasOpen(program.pid(), path)) << "signal " << signal;
        kill(program.pid(), signal);
        EXPECT_EQ(program.wait(kEndTimeoutMs), 0) << "signal " << signal << ": " << program.errors();
        expectClosedCatalogue();
    }
}

// A signal at any moment of the start, one that follows another, and a closed terminal (SIGHUP):
// the program ends as the main menu's "ok" ends it, with status 0.
TEST_F(ProgramProcess, SignalsAtAnyMomentOfTheStartEndItWithStatusZero) {
    struct Case {
        int afterMs;
        int signal;
        int againAfterMs; // a second signal this long after the first; -1: none
    };
    const Case cases[] = {
        {0, SIGTERM, -1}, {5, SIGTERM, -1},  {20, SIGTERM, -1}, {50, SIGTERM, -1}, {100, SIGTERM, -1},
        {0, SIGHUP, -1},  {20, SIGHUP, -1},  {100, SIGHUP, -1}, {20, SIGINT, -1},  {0, SIGTERM, 0},
        {20, SIGTERM, 5}, {50, SIGTERM, 10}, {100, SIGHUP, 0},
    };
    for (const Case& c : cases) {
        const std::string name =
            std::string(strsignal(c.signal)) + " after " + std::to_string(c.afterMs) + " ms" +
            (c.againAfterMs >= 0 ? ", again " + std::to_string(c.againAfterMs) + " ms later" : "");
        Child program({TALVINO_PROGRAM, "--catalogue", path});
        ASSERT_TRUE(program.started()) << name;
        // Counted from the program's first own instruction: before it, while the dynamic loader
        // maps the libraries, no program can catch a signal.
        ASSERT_TRUE(waitUntilCaught(program.pid(), c.signal)) << name;
        std::this_thread::sleep_for(std::chrono::milliseconds(c.afterMs));
        kill(program.pid(), c.signal);
        if (c.againAfterMs >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(c.againAfterMs));
            kill(program.pid(), c.signal);
        }
        EXPECT_EQ(program.wait(kStartTimeoutMs), 0) << name << ": " << program.errors();
        expectClosedCatalogue();
    }
}

TEST_F(ProgramProcess, ACatalogueThatCannotBeOpenedIsNamedOnStandardError) {
    catalogue.writeRawFile("Notizen, kein Katalog");
    Child program({TALVINO_PROGRAM, "--catalogue", path});
    ASSERT_TRUE(program.started());
    // The FEHLER box waits for its OK; the line is written before it.
    const std::string line = "talvino: cannot open the catalogue " + path + ": ";
    for (int waited = 0; waited < kStartTimeoutMs && program.errors().find(line) == std::string::npos;
         waited += 50)
        program.wait(50);
    EXPECT_NE(program.errors().find(line), std::string::npos) << program.errors();
    kill(program.pid(), SIGTERM);
    EXPECT_EQ(program.wait(kEndTimeoutMs), 0) << program.errors();
}

TEST_F(ProgramProcess, EveryEndTakesTheDoneButtonsRoadFromEveryPlace) {
    struct Case {
        const char* place;
        const char* how;
        int signal;
    };
    const Case cases[] = {
        {"menu", "window", 0},         {"menu", "signal", SIGTERM},     {"menu", "signal", SIGINT},
        {"results", "window", 0},      {"results", "signal", SIGTERM},  {"results", "signal", SIGINT},
        {"question", "window", 0},     {"question", "signal", SIGTERM}, {"question", "signal", SIGINT},
        {"results", "signal", SIGHUP}, {"question", "signal", SIGHUP},
    };
    for (const Case& c : cases) {
        const std::string name = std::string(c.place) + " by " + c.how + " " + std::to_string(c.signal);
        Child child({LIFECYCLE_CHILD, path, c.place, c.how});
        ASSERT_TRUE(child.started()) << name;
        if (!child.waitForLine("READY", kStartTimeoutMs)) {
            const int status = child.wait(kEndTimeoutMs);
            FAIL() << name << ": never ready, status " << status << "\n" << child.output() << child.errors();
        }
        if (c.signal) kill(child.pid(), c.signal);
        EXPECT_EQ(child.wait(kEndTimeoutMs), 0) << name << ": " << child.errors();
        EXPECT_EQ(child.linesAfter("LOG "), kTeardown) << name;
        for (const std::string& thread : child.linesAfter("THREAD "))
            EXPECT_EQ(thread, "Thread (pooled)") << name << ": only Qt's idle pool workers are left";
        expectClosedCatalogue();
    }
}

TEST(ProgramCommandLine, HelpAndVersionAnswerOnStandardOutput) {
    Child help({TALVINO_PROGRAM, "--help"});
    EXPECT_EQ(help.wait(kEndTimeoutMs), 0);
    EXPECT_NE(help.output().find("--catalogue DATEI"), std::string::npos);
    EXPECT_NE(help.output().find("--catalogue FILE"), std::string::npos);
    EXPECT_TRUE(help.errors().empty()) << help.errors();

    Child version({TALVINO_PROGRAM, "--version"});
    EXPECT_EQ(version.wait(kEndTimeoutMs), 0);
    EXPECT_EQ(version.output(), std::string("talvino ") + TALVINO_VERSION + "\n");
}

// With a window system that cannot exist, opening any window would abort the program; status 2
// and the one line show that it ended before.
TEST(ProgramCommandLine, WrongCallsEndWithOneLineAndStatusTwoBeforeAnyWindow) {
    const std::vector<std::vector<std::string>> calls = {
        {"--bogus"},
        {"--catalogue"},
        {"--catalogue", "/nonexistent/talvino2006_db.cdb"},
        {"--catalogue", "/"},
        {"--scale", "9"},
        {"--scale"},
        {"stray"},
    };
    for (const auto& call : calls) {
        std::vector<std::string> arguments = {TALVINO_PROGRAM};
        arguments.insert(arguments.end(), call.begin(), call.end());
        Child program(arguments, {"QT_QPA_PLATFORM=no-such-window-system"});
        EXPECT_EQ(program.wait(kEndTimeoutMs), 2) << call[0] << ": " << program.errors();
        const std::string& line = program.errors();
        ASSERT_FALSE(line.empty()) << call[0];
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line: " << line;
        EXPECT_EQ(line.rfind("talvino: ", 0), 0u) << line;
        EXPECT_NE(line.find(" / "), std::string::npos) << "German, then English: " << line;
        EXPECT_TRUE(program.output().empty()) << program.output();
    }
}

} // namespace
