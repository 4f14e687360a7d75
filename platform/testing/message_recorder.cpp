// The message recorder of the driver.
#include "platform/testing/message_recorder.h"

#include <functional>
#include <sstream>

#include "platform/ui/hooks.h"

namespace platform::testing {

Expected command(int id, WORD code) {
    return Expected{RecordedMessage{WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code), id, false}};
}
Expected notifyCode(int id, int code) {
    return Expected{RecordedMessage{WM_NOTIFY, static_cast<WPARAM>(id), code, false}};
}
Expected hscroll(int id, WORD code, WORD position) {
    return Expected{RecordedMessage{WM_HSCROLL, MAKEWPARAM(code, position), id, false}};
}
Expected stylus(UINT msg, int x, int y) {
    return Expected{RecordedMessage{msg, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)), false},
                    false, true};
}
Expected stylusAnywhere(UINT msg) {
    Expected expected = stylus(msg, 0, 0);
    expected.message.detail = -1; // any point
    return expected;
}
Expected message(UINT msg, WPARAM wParam, LPARAM detail) {
    return Expected{RecordedMessage{msg, wParam, detail, false}};
}
Expected marker() {
    return Expected{RecordedMessage{0, 0, 0, true}};
}
Expected optional(Expected expected) {
    expected.optional = true;
    return expected;
}

namespace {

bool isPainting(UINT msg, LPARAM lParam) {
    if (msg == WM_PAINT || msg == WM_CTLCOLORSTATIC || msg == WM_DRAWITEM) return true;
    return msg == WM_NOTIFY && lParam && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW;
}

LPARAM detailOf(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
        return lParam ? GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) : 0;
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
    case WM_DRAWITEM:
        return lParam ? static_cast<LPARAM>(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlID)
                      : static_cast<LPARAM>(wParam);
    default:
        return lParam;
    }
}

bool same(const RecordedMessage& actual, const Expected& expected) {
    const RecordedMessage& want = expected.message;
    if (actual.marker || want.marker) return actual.marker == want.marker;
    if (actual.msg != want.msg) return false;
    const bool isStylus = want.msg == WM_MOUSEMOVE || want.msg == WM_LBUTTONDOWN || want.msg == WM_LBUTTONUP;
    if (!expected.anyWParam && actual.wParam != want.wParam) return false;
    if (isStylus && want.detail == -1) return true;
    return actual.detail == want.detail;
}

std::string name(UINT msg) {
    switch (msg) {
    case WM_COMMAND:
        return "WM_COMMAND";
    case WM_NOTIFY:
        return "WM_NOTIFY";
    case WM_HSCROLL:
        return "WM_HSCROLL";
    case WM_DRAWITEM:
        return "WM_DRAWITEM";
    case WM_CTLCOLORSTATIC:
        return "WM_CTLCOLORSTATIC";
    case WM_MOUSEMOVE:
        return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
        return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
        return "WM_LBUTTONUP";
    case WM_PAINT:
        return "WM_PAINT";
    default: {
        std::ostringstream out;
        out << "0x" << std::hex << msg;
        return out.str();
    }
    }
}

} // namespace

MessageRecorder::MessageRecorder(HWND dialog, bool withPainting)
    : dialog_(dialog), withPainting_(withPainting) {
    platform::setMessageObserver(dialog, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (!withPainting_ && isPainting(msg, lParam)) return;
        entries_.push_back(RecordedMessage{msg, wParam, detailOf(msg, wParam, lParam), false});
    });
}

MessageRecorder::~MessageRecorder() {
    if (IsWindow(dialog_)) platform::setMessageObserver(dialog_, {});
}

void MessageRecorder::mark() {
    entries_.push_back(RecordedMessage{0, 0, 0, true});
}

std::size_t MessageRecorder::count(UINT msg) const {
    std::size_t n = 0;
    for (const RecordedMessage& entry : entries_)
        if (!entry.marker && entry.msg == msg) ++n;
    return n;
}

std::string MessageRecorder::describe(const RecordedMessage& entry) {
    if (entry.marker) return "----";
    std::ostringstream out;
    out << name(entry.msg);
    switch (entry.msg) {
    case WM_COMMAND:
        out << "(id " << LOWORD(entry.wParam) << ", code " << HIWORD(entry.wParam) << ", from "
            << entry.detail << ")";
        break;
    case WM_HSCROLL:
        out << "(code " << LOWORD(entry.wParam) << ", pos " << HIWORD(entry.wParam) << ", from "
            << entry.detail << ")";
        break;
    case WM_NOTIFY:
        out << "(id " << entry.wParam << ", code " << entry.detail << ")";
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (entry.detail == -1)
            out << "(anywhere)";
        else
            out << "(" << static_cast<short>(LOWORD(entry.detail)) << ", "
                << static_cast<short>(HIWORD(entry.detail)) << ")";
        break;
    default:
        out << "(" << entry.wParam << ", " << entry.detail << ")";
    }
    return out.str();
}

::testing::AssertionResult MessageRecorder::matches(const std::vector<Expected>& expected) const {
    const std::size_t n = entries_.size(), m = expected.size();
    // fits[i][j]: entries from i on match expectations from j on.
    std::vector<std::vector<char>> fits(n + 1, std::vector<char>(m + 1, 0));
    fits[n][m] = 1;
    for (std::size_t j = m; j-- > 0;)
        fits[n][j] = expected[j].optional && fits[n][j + 1];
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            bool ok = same(entries_[i], expected[j]) && fits[i + 1][j + 1];
            if (!ok && expected[j].optional) ok = fits[i][j + 1];
            fits[i][j] = ok;
        }
    }
    if (fits[0][0]) return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "recorded messages differ\n  expected:\n";
    for (const Expected& e : expected)
        out << "    " << describe(e.message) << (e.optional ? "  (optional)" : "") << "\n";
    out << "  recorded:\n";
    for (const RecordedMessage& r : entries_)
        out << "    " << describe(r) << "\n";
    return ::testing::AssertionFailure() << out.str();
}

} // namespace platform::testing
