// Records what a dialog's controls send to it, so a test can compare the sequence with the one
// the platform sends. Each entry is (message, wParam, detail), where detail identifies the sender:
//   WM_COMMAND, WM_HSCROLL, WM_CTLCOLORSTATIC: the sending control's id (0 for the done button)
//   WM_NOTIFY: the notification code (NMHDR::code); WM_DRAWITEM: the control id
//   anything else (stylus messages, ...): lParam as sent
// mark() puts a separator between actions. Painting messages (WM_PAINT, WM_CTLCOLORSTATIC,
// WM_DRAWITEM, NM_CUSTOMDRAW) are left out unless asked for, since their number depends on
// how often the screen repaints.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/ui/windows.h"

namespace platform::testing {

struct RecordedMessage {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM detail = 0;
    bool marker = false;
    bool operator==(const RecordedMessage& other) const {
        return marker == other.marker && msg == other.msg && wParam == other.wParam && detail == other.detail;
    }
};

struct Expected {
    RecordedMessage message;
    bool optional = false;
    bool anyWParam = false;
};

// Building expected sequences.
Expected command(int id, WORD code);                    // WM_COMMAND from control id
Expected notifyCode(int id, int code);                  // WM_NOTIFY
Expected hscroll(int id, WORD code, WORD position = 0); // WM_HSCROLL from scroll bar id
Expected stylus(UINT msg, int x, int y);                // WM_LBUTTONDOWN/UP, WM_MOUSEMOVE at a point
Expected stylusAnywhere(UINT msg);                      // the same, at any point
Expected message(UINT msg, WPARAM wParam, LPARAM detail);
Expected marker();
Expected optional(Expected expected);

class MessageRecorder {
  public:
    explicit MessageRecorder(HWND dialog, bool withPainting = false);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void mark();
    void clear() { entries_.clear(); }
    const std::vector<RecordedMessage>& entries() const { return entries_; }
    std::size_t count(UINT msg) const;

    // Success when the recorded sequence is the expected one, optional entries allowed to be
    // missing; otherwise both sequences, printed.
    ::testing::AssertionResult matches(const std::vector<Expected>& expected) const;

    static std::string describe(const RecordedMessage& entry);

  private:
    HWND dialog_;
    bool withPainting_;
    std::vector<RecordedMessage> entries_;
};

} // namespace platform::testing
