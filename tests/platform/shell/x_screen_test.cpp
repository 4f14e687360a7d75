// The X screen's height, asked before Qt starts: only when Qt will go to X, and 0 (so that the
// device asks Qt instead) whenever there is no answer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/shell/x_screen.h"

namespace {

// Sets or clears an environment variable for the test's lifetime.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(XScreenHeight, IsZeroUnlessQtGoesToAnXServerThatAnswers) {
    {
        const ScopedEnvironment display("DISPLAY", nullptr);
        const ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
        EXPECT_EQ(platform::xScreenHeight(), 0) << "no display";
    }
    const ScopedEnvironment display("DISPLAY", ":4711"); // no server there
    {
        const ScopedEnvironment platform("QT_QPA_PLATFORM", "offscreen");
        EXPECT_EQ(platform::xScreenHeight(), 0) << "another window system";
    }
    {
        const ScopedEnvironment platform("QT_QPA_PLATFORM", nullptr);
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_EQ(platform::xScreenHeight(), 0) << "Qt's choice would be Wayland";
    }
    // Last: the one connection attempt of the process, to a server that is not there.
    const ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    EXPECT_EQ(platform::xScreenHeight(), 0) << "no server";
}

} // namespace
