// The device shown at any size: the scale and place chosen for a window, taps and stylus points
// at every scale, accessible positions in screen pixels, touch and the system's input method.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QInputMethodEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QTimer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/shell/device_fit.h"
#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "platform/ui/device_geometry.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

// ---- Where the device lies in a window ----

struct FitCase {
    const char* name;
    QSize window;
    double fixedScale;
    double scale;
    QRect device;
};

const FitCase kFits[] = {
    {"DeviceSized", {240, 320}, 0, 1.0, {0, 0, 240, 320}},
    {"TwiceTheDevice", {480, 640}, 0, 2.0, {0, 0, 480, 640}},
    {"LaptopScreenCentresAcross", {1366, 768}, 0, 2.4, {395, 0, 576, 768}},
    {"PhoneCentresDown", {720, 1440}, 0, 3.0, {0, 240, 720, 960}},
    {"PhoneInLogicalPixels", {360, 720}, 0, 1.5, {0, 120, 360, 480}},
    {"TabletFillsExactly", {1080, 1440}, 0, 4.5, {0, 0, 1080, 1440}},
    {"FractionalFitsTheWidth", {300, 500}, 0, 1.25, {0, 50, 300, 400}},
    {"FractionalFitsTheHeight", {500, 500}, 0, 1.5625, {62, 0, 375, 500}},
    {"OddFraction", {1000, 700}, 0, 2.1875, {237, 0, 525, 700}},
    {"FixedScaleIgnoresTheWindow", {1000, 1000}, 2, 2.0, {260, 180, 480, 640}},
    {"FixedFraction", {360, 480}, 1.5, 1.5, {0, 0, 360, 480}},
};

class FitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitTest, DeviceIsAsLargeAsFitsAtThreeToFourAndCentred) {
    const FitCase& c = GetParam();
    const platform::DeviceFit fit = platform::fitDevice(c.window, c.fixedScale);
    EXPECT_DOUBLE_EQ(fit.scale, c.scale);
    EXPECT_EQ(fit.device, c.device);
}

INSTANTIATE_TEST_SUITE_P(Windows, FitTest, ::testing::ValuesIn(kFits),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(PhoneScreenTest, ShorterSideUnderSixHundredIsAPhone) {
    EXPECT_TRUE(platform::isPhoneSized(QSize(360, 720)));
    EXPECT_TRUE(platform::isPhoneSized(QSize(720, 360)));
    EXPECT_FALSE(platform::isPhoneSized(QSize(1366, 768)));
    EXPECT_FALSE(platform::isPhoneSized(QSize(800, 600)));
    EXPECT_FALSE(platform::isPhoneSized(QSize()));
}

// ---- The device on screen at a scale ----

class ScaledDeviceTest : public ::testing::TestWithParam<double> {
  protected:
    void SetUp() override {
        setHandler([](HWND shown, UINT msg, WPARAM, LPARAM) -> INT_PTR {
            if (msg == WM_INITDIALOG) {
                SHINITDLGINFO info{SHIDIM_FLAGS, shown, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
                SHInitDialog(&info);
            }
            return 0;
        });
        // Opened at the scale: the full-screen dialog takes the area's device size.
        platform::setDeviceScale(GetParam());
        dialog = driver.open(module(), kAllControls, TestProc);
        QApplication::processEvents();
    }
    void TearDown() override {
        driver.close(dialog);
        platform::setDeviceScale(1);
        setHandler({});
    }
    // A control's rectangle in the dialog's client coordinates (device pixels).
    QRect placeOf(int id) const {
        RECT control{}, area{};
        GetWindowRect(GetDlgItem(dialog, id), &control);
        GetWindowRect(dialog, &area);
        return QRect(QPoint(control.left - area.left, control.top - area.top),
                     QPoint(control.right - area.left - 1, control.bottom - area.top - 1));
    }
    // Where a rectangle of device pixels is drawn on the screen.
    static QRect drawnOnScreen(const QRect& deviceRect) {
        QWidget* device = platform::deviceWindow();
        const QRect shown = platform::ui::toWindow(deviceRect);
        return QRect(device->mapToGlobal(shown.topLeft()), shown.size());
    }
    QRect deviceRectOf(int id) const {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, id), &r);
        return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    Driver driver;
    HWND dialog = nullptr;
};

TEST_P(ScaledDeviceTest, DeviceIsShownAtTheScaleAndControlsKeepTheirDevicePlaces) {
    EXPECT_DOUBLE_EQ(platform::deviceScale(), GetParam());
    EXPECT_EQ(platform::deviceWindow()->size(), platform::windowSizeAt(GetParam()));
    RECT r{};
    GetWindowRect(dialog, &r);
    EXPECT_EQ(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)), QRect(0, 26, 240, 268));
    // Each control is drawn where its device rectangle lies, at the scale.
    QWidget* device = platform::deviceWindow();
    for (const int id : {kPush, kEdit, kList, kTree, kTabs}) {
        QWidget* widget = driver.widget(dialog, id);
        EXPECT_EQ(QRect(widget->mapTo(device, QPoint()), widget->size()), platform::ui::toWindow(deviceRectOf(id)))
            << "control " << id;
    }
}

// Every device pixel of a button, its corners included, is the button; the one beside it is not.
TEST_P(ScaledDeviceTest, TapsAtScaledPositionsReachTheControlDrawnThere) {
    for (const int id : {kPush, kOwnerDraw}) {
        const QRect place = placeOf(id);
        for (const QPoint at : {place.topLeft(), place.bottomRight(), place.center()}) {
            MessageRecorder recorder(dialog);
            driver.tapAt(dialog, at.x(), at.y());
            EXPECT_TRUE(recorder.matches({command(id, BN_CLICKED)})) << "control " << id << " at " << at.x() << ","
                                                                       << at.y();
        }
        MessageRecorder outside(dialog);
        driver.tapAt(dialog, place.left() - 1, place.top());
        for (const RecordedMessage& m : outside.entries())
            EXPECT_FALSE(m.msg == WM_COMMAND && LOWORD(m.wParam) == id) << "control " << id << " left of it";
    }
}

// The dialog and a notifying static hear the stylus at the device pixel that was tapped.
TEST_P(ScaledDeviceTest, StylusPointsArriveInDevicePixels) {
    // Below the controls, where only the dialog lies.
    for (const QPoint at : {QPoint(200, 250), QPoint(201, 253), QPoint(237, 266)}) {
        MessageRecorder recorder(dialog);
        driver.tapAt(dialog, at.x(), at.y());
        EXPECT_TRUE(recorder.matches({stylus(WM_LBUTTONDOWN, at.x(), at.y()), stylus(WM_LBUTTONUP, at.x(), at.y())}));
    }
    const QRect link = placeOf(kNotifyText);
    MessageRecorder recorder(dialog);
    driver.tapAt(dialog, link.left() + 5, link.top() + 3);
    EXPECT_TRUE(recorder.matches({stylus(WM_MOUSEMOVE, link.left() + 5, link.top() + 3), command(kNotifyText, STN_CLICKED)}));
}

TEST_P(ScaledDeviceTest, RescalingKeepsWhatTheScreenShows) {
    driver.type(dialog, kEdit, u"Grüner Veltliner");
    const QRect before = placeOf(kEdit);
    for (const double scale : {2.25, 1.5, 3.1}) {
        platform::setDeviceScale(scale);
        EXPECT_EQ(driver.text(dialog, kEdit), u"Grüner Veltliner");
        EXPECT_EQ(platform::activeDialog(), dialog);
        EXPECT_EQ(placeOf(kEdit), before) << "at " << scale;
    }
}

TEST_P(ScaledDeviceTest, AnOpenMessageBoxStaysOpenAndFollowsANewScale) {
    platform::setMessageBoxResponder({}); // the box is shown and waits for its answer
    const double next = GetParam() == 2.0 ? 1.25 : 2.0;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* device = platform::deviceWindow();
        QWidget* box = device->findChild<QWidget*>(QStringLiteral("MessageBox"));
        ASSERT_TRUE(box);
        platform::setDeviceScale(next);
        QApplication::processEvents();
        EXPECT_EQ(device->findChild<QWidget*>(QStringLiteral("MessageBox")), box);
        EXPECT_TRUE(box->isVisible());
        // 228 device pixels wide, 6 from the left edge of the device, at the new scale.
        const QRect shown(box->mapTo(device, QPoint()), box->size());
        EXPECT_EQ(shown.left(), platform::ui::toWindow(6));
        EXPECT_EQ(shown.width(), platform::ui::toWindow(234) - platform::ui::toWindow(6));
        seen = true;
        if (auto* ok = box->findChild<QPushButton*>()) ok->click();
    });
    EXPECT_EQ(MessageBoxW(dialog, u"Der Text bleibt, wo er ist.", u"HINWEIS", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(seen);
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledDeviceTest, ::testing::Values(1.0, 1.5, 2.0, 3.0),
                         [](const auto& test) { return "Scale" + std::to_string(int(test.param * 10)); });

// ---- Accessibility in screen pixels ----

class AccessibleExtentsTest : public ScaledDeviceTest {};

TEST_P(AccessibleExtentsTest, ExtentsAreTheDrawnRectanglesAndHitTestingFindsTheControl) {
    // (A check box's extents are the part that answers a tap, its box and label, as Qt's are.)
    for (const int id : {kPush, kOwnerDraw, kEdit, kCombo, kMultiEdit, kList, kScroll, kTree, kNotifyText}) {
        QWidget* widget = driver.widget(GetDlgItem(dialog, id));
        ASSERT_TRUE(widget);
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
        ASSERT_TRUE(control);
        const QRect drawn = drawnOnScreen(deviceRectOf(id));
        EXPECT_EQ(control->rect(), drawn) << "control " << id;

        // A screen reader's hit test from the window down, at the control's middle.
        QAccessibleInterface* found = QAccessible::queryAccessibleInterface(platform::deviceHostWindow());
        bool reached = false;
        const QPoint middle = drawn.center();
        while (found) {
            reached = reached || found->object() == widget;
            found = found->childAt(middle.x(), middle.y());
        }
        EXPECT_TRUE(reached) << "control " << id << " not found at " << middle.x() << "," << middle.y();
    }
}

TEST_P(AccessibleExtentsTest, PartsOfAPictureHaveTheirDrawnRectangles) {
    HWND picture = GetDlgItem(dialog, kSmallBitmap);
    platform::setAccessibleParts(picture, {{u"Oben", RECT{0, 0, 20, 14}}, {u"Unten", RECT{3, 14, 17, 28}}});
    QAccessibleInterface* owner = QAccessible::queryAccessibleInterface(driver.widget(picture));
    ASSERT_TRUE(owner);
    const QRect place = deviceRectOf(kSmallBitmap);
    const QRect areas[] = {QRect(0, 0, 20, 14), QRect(3, 14, 14, 14)};
    const int own = owner->childCount() - 2;
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* part = owner->child(own + i);
        ASSERT_TRUE(part);
        EXPECT_EQ(part->rect(), drawnOnScreen(areas[i].translated(place.topLeft()))) << "part " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, AccessibleExtentsTest, ::testing::Values(1.5, 2.0),
                         [](const auto& test) { return "Scale" + std::to_string(int(test.param * 10)); });

// ---- Touch and the system's input method ----

class TouchTest : public ScaledDeviceTest {
  protected:
    QPoint inWindow(const QRect& deviceRect) const {
        QWidget* host = platform::deviceHostWindow();
        return host->mapFromGlobal(drawnOnScreen(deviceRect).center());
    }
    QWindow* window() const { return platform::deviceHostWindow()->windowHandle(); }
    QPointingDevice* screen = QTest::createTouchDevice();
};

TEST_P(TouchTest, OneFingerTapIsExactlyOneStylusTap) {
    const QPoint button = inWindow(deviceRectOf(kPush));
    MessageRecorder onButton(dialog);
    QTest::touchEvent(window(), screen).press(0, button);
    QTest::touchEvent(window(), screen).release(0, button);
    QApplication::processEvents();
    EXPECT_TRUE(onButton.matches({command(kPush, BN_CLICKED)}));

    const QPoint ground = inWindow(QRect(200, 276, 1, 1)); // the dialog's (200, 250)
    MessageRecorder onDialog(dialog);
    QTest::touchEvent(window(), screen).press(0, ground);
    QTest::touchEvent(window(), screen).release(0, ground);
    QApplication::processEvents();
    EXPECT_EQ(onDialog.count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(onDialog.count(WM_LBUTTONUP), 1u);
    EXPECT_TRUE(onDialog.matches({stylus(WM_LBUTTONDOWN, 200, 250), stylus(WM_LBUTTONUP, 200, 250)}));
}

TEST_P(TouchTest, DragOnTheScrollBarFollowsTheFinger) {
    HWND bar = GetDlgItem(dialog, kScroll);
    SetScrollRange(bar, SB_CTL, 0, 100, TRUE);
    SetScrollPos(bar, SB_CTL, 0, TRUE);
    auto* scrollBar = qobject_cast<QScrollBar*>(driver.widget(bar));
    ASSERT_TRUE(scrollBar);
    QStyleOptionSlider option;
    option.initFrom(scrollBar);
    option.orientation = Qt::Horizontal;
    option.minimum = scrollBar->minimum();
    option.maximum = scrollBar->maximum();
    option.sliderPosition = option.sliderValue = scrollBar->value();
    option.pageStep = scrollBar->pageStep();
    const QRect thumb =
        scrollBar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, scrollBar);
    const QPoint start = scrollBar->mapTo(platform::deviceHostWindow(), thumb.center());
    MessageRecorder recorder(dialog);
    QTest::touchEvent(window(), screen).press(0, start);
    for (int step = 1; step <= 4; ++step)
        QTest::touchEvent(window(), screen).move(0, start + QPoint(step * scrollBar->width() / 8, 0));
    QTest::touchEvent(window(), screen).release(0, start + QPoint(scrollBar->width() / 2, 0));
    QApplication::processEvents();
    int tracked = 0;
    for (const RecordedMessage& m : recorder.entries())
        if (m.msg == WM_HSCROLL && LOWORD(m.wParam) == SB_THUMBTRACK && HIWORD(m.wParam) > 0) ++tracked;
    EXPECT_GE(tracked, 2) << "the thumb follows the finger";
}

TEST_P(TouchTest, TapOnAListOrTreeRowSelectsIt) {
    HWND list = GetDlgItem(dialog, kList);
    for (const char16_t* row : {u"Rot", u"Weiß", u"Rosé"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    auto* listView = qobject_cast<QAbstractItemView*>(driver.widget(list));
    ASSERT_TRUE(listView);
    const QRect second = listView->visualRect(listView->model()->index(1, 0));
    const QPoint onList = listView->viewport()->mapTo(platform::deviceHostWindow(), second.center());
    MessageRecorder recorder(dialog);
    QTest::touchEvent(window(), screen).press(0, onList);
    QTest::touchEvent(window(), screen).release(0, onList);
    QApplication::processEvents();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(recorder.matches({command(kList, LBN_SELCHANGE)}));

    HWND tree = GetDlgItem(dialog, kTree);
    TVINSERTSTRUCTW item{};
    item.hParent = TVI_ROOT;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    for (const char16_t* label : {u"Deutschland", u"Frankreich"}) {
        item.item.pszText = const_cast<LPWSTR>(label);
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    auto* treeView = qobject_cast<QAbstractItemView*>(driver.widget(tree));
    ASSERT_TRUE(treeView);
    const QRect row = treeView->visualRect(treeView->model()->index(1, 0));
    const QPoint onTree = treeView->viewport()->mapTo(platform::deviceHostWindow(), row.center());
    QTest::touchEvent(window(), screen).press(0, onTree);
    QTest::touchEvent(window(), screen).release(0, onTree);
    QApplication::processEvents();
    EXPECT_EQ(driver.selectedTreeLabel(dialog, kTree), u"Frankreich");
}

// The system's on-screen keyboard composes (preedit) and then commits, umlauts and ß included.
TEST_P(TouchTest, InputMethodTypesIntoEdits) {
    for (const int id : {kEdit, kMultiEdit}) {
        SetFocus(GetDlgItem(dialog, id));
        QApplication::processEvents();
        QObject* target = QGuiApplication::focusObject();
        ASSERT_EQ(target, driver.widget(GetDlgItem(dialog, id))) << "control " << id;
        EXPECT_TRUE(static_cast<QWidget*>(target)->inputMethodQuery(Qt::ImEnabled).toBool());
        QInputMethodEvent composing(QStringLiteral("Grü"), {});
        QCoreApplication::sendEvent(target, &composing);
        EXPECT_EQ(driver.text(dialog, id), u"") << "a preedit is not yet typed";
        QInputMethodEvent committed;
        committed.setCommitString(QStringLiteral("Grüße aus Österreich"));
        QCoreApplication::sendEvent(target, &committed);
        EXPECT_EQ(driver.text(dialog, id), u"Grüße aus Österreich");
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, TouchTest, ::testing::Values(1.0, 2.0),
                         [](const auto& test) { return "Scale" + std::to_string(int(test.param * 10)); });

} // namespace
