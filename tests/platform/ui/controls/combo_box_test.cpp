// Combo boxes: adding, sorting, choices and what they notify.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

// ---- Combo boxes ----

TEST_F(ControlsTest, AddingToAComboBoxSelectsNothing) {
    add(kCombo, CB_ADDSTRING, u" ");
    add(kCombo, CB_ADDSTRING, u"Frankreich");
    EXPECT_EQ(send(kCombo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(driver.text(dialog, kCombo), u"");
    EXPECT_EQ(send(kCombo, CB_GETCOUNT), 2);
}

TEST_F(ControlsTest, SortedComboBoxKeepsItemsSorted) {
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, u"Spanien"), 0);
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, u"Deutschland"), 0);
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, u"Italien"), 1);
    EXPECT_EQ(driver.items(dialog, kSortedCombo),
              (std::vector<std::u16string>{u"Deutschland", u"Italien", u"Spanien"}));
}

TEST_F(ControlsTest, SortedComboBoxSortsAsAGermanDictionary) {
    for (const char16_t* item : {u"USA", u"Österreich", u"Ungarn", u"Portugal", u"Uruguay", u"Neuseeland"})
        add(kSortedCombo, CB_ADDSTRING, item);
    EXPECT_EQ(driver.items(dialog, kSortedCombo),
              (std::vector<std::u16string>{u"Neuseeland", u"Österreich", u"Portugal", u"Ungarn", u"Uruguay",
                                           u"USA"}));
    // Equal texts keep the order they came in: a new one goes after its equals.
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, u"Portugal"), 3);
}

TEST_F(ControlsTest, ComboBoxChoiceIsSetBeforeItsSelectionChangeArrives) {
    add(kCombo, CB_ADDSTRING, u" ");
    add(kCombo, CB_ADDSTRING, u"Frankreich");
    add(kCombo, CB_ADDSTRING, u"Italien");
    LRESULT selectionSeen = -2;
    std::u16string textSeen;
    setHandler([&](HWND d, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_COMMAND && wParam == MAKEWPARAM(kCombo, CBN_SELCHANGE)) {
            selectionSeen = SendDlgItemMessageW(d, kCombo, CB_GETCURSEL, 0, 0);
            char16_t buffer[32] = {};
            SendDlgItemMessageW(d, kCombo, CB_GETLBTEXT, static_cast<WPARAM>(selectionSeen),
                                reinterpret_cast<LPARAM>(buffer));
            textSeen = buffer;
        }
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.chooseItem(dialog, kCombo, u"Italien");
    EXPECT_EQ(selectionSeen, 2);
    EXPECT_EQ(textSeen, u"Italien");
    EXPECT_EQ(driver.text(dialog, kCombo), u"Italien");
    EXPECT_TRUE(
        recorder.matches({optional(command(kCombo, CBN_DROPDOWN)), command(kCombo, CBN_SELCHANGE),
                          optional(command(kCombo, CBN_CLOSEUP)), optional(stylusAnywhere(WM_MOUSEMOVE))}));
}

TEST_F(ControlsTest, AChoiceFromTheDroppedListEndsWithAStylusMoveWhereTheStylusLeftIt) {
    for (const char16_t* item : {u" ", u"Frankreich", u"Italien", u"Spanien"})
        add(kCombo, CB_ADDSTRING, item);
    auto* combo = qobject_cast<QComboBox*>(driver.widget(dialog, kCombo));
    ASSERT_NE(combo, nullptr);
    MessageRecorder recorder(dialog);
    driver.chooseItem(dialog, kCombo, u"Spanien");
    EXPECT_TRUE(recorder.matches({command(kCombo, CBN_DROPDOWN), command(kCombo, CBN_SELCHANGE),
                                  command(kCombo, CBN_CLOSEUP), stylusAnywhere(WM_MOUSEMOVE)}));
    // At the chosen row of the list as it hung below the box, in the dialog's coordinates.
    LPARAM where = 0;
    for (const RecordedMessage& entry : recorder.entries())
        if (entry.msg == WM_MOUSEMOVE) where = entry.detail;
    const QPoint point(static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where)));
    const QRect box = driver.rect(dialog, kCombo);
    EXPECT_GE(point.x(), box.left());
    EXPECT_LE(point.x(), box.right());
    EXPECT_GT(point.y(), box.top()) << "the chosen row is the last of four below or over the box";
}

TEST_F(ControlsTest, ADroppedListClosedWithoutAChoiceMakesNoStylusMove) {
    add(kCombo, CB_ADDSTRING, u"A");
    add(kCombo, CB_ADDSTRING, u"B");
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kCombo, CB_SHOWDROPDOWN, TRUE), TRUE);
    driver.pump();
    EXPECT_EQ(send(kCombo, CB_SHOWDROPDOWN, FALSE), TRUE);
    driver.pump();
    EXPECT_EQ(recorder.count(WM_MOUSEMOVE), 0u);
    EXPECT_EQ(recorder.count(WM_COMMAND), 2u); // dropped down, closed up
}

// Tab in a dropped list takes the highlighted row as a choice, and only when it is another row.
TEST_F(ControlsTest, TabInADroppedListChoosesTheHighlightedRowOnlyWhenItChanged) {
    add(kCombo, CB_ADDSTRING, u"A");
    add(kCombo, CB_ADDSTRING, u"B");
    send(kCombo, CB_SETCURSEL, 0);
    for (const int downs : {0, 1}) {
        SCOPED_TRACE(downs);
        driver.widget(dialog, kCombo)->setFocus();
        send(kCombo, CB_SETCURSEL, 0);
        MessageRecorder recorder(dialog);
        driver.pressKey(Qt::Key_F4);
        ASSERT_TRUE(driver.waitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000));
        for (int i = 0; i < downs; ++i)
            driver.pressKey(Qt::Key_Down);
        driver.pressKey(Qt::Key_Tab);
        driver.pump(20);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(send(kCombo, CB_GETCURSEL), downs);
        int choices = 0;
        for (const RecordedMessage& entry : recorder.entries())
            if (entry.msg == WM_COMMAND && entry.wParam == MAKEWPARAM(kCombo, CBN_SELCHANGE)) ++choices;
        EXPECT_EQ(choices, downs);
    }
}

TEST_F(ControlsTest, ComboBoxSelectionByTheProgramNotifiesNothing) {
    add(kCombo, CB_ADDSTRING, u"A");
    add(kCombo, CB_ADDSTRING, u"B");
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kCombo, CB_SETCURSEL, 1), 1);
    EXPECT_EQ(send(kCombo, CB_GETCURSEL), 1);
    EXPECT_EQ(send(kCombo, CB_SETCURSEL, 7), CB_ERR);
    EXPECT_EQ(send(kCombo, CB_GETCURSEL), CB_ERR);
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(ControlsTest, EmptyTextOnADropDownListClearsTheShownChoice) {
    add(kCombo, CB_ADDSTRING, u"A");
    send(kCombo, CB_SETCURSEL, 0);
    EXPECT_EQ(driver.text(dialog, kCombo), u"A");
    SetDlgItemTextW(dialog, kCombo, u"");
    EXPECT_EQ(send(kCombo, CB_GETCURSEL), CB_ERR);
    EXPECT_EQ(driver.text(dialog, kCombo), u"");
    EXPECT_EQ(send(kCombo, CB_GETCOUNT), 1);
}

TEST_F(ControlsTest, ComboBoxItemTextsAndReset) {
    add(kCombo, CB_ADDSTRING, u"Österreich");
    EXPECT_EQ(send(kCombo, CB_GETLBTEXTLEN, 0), 10);
    EXPECT_EQ(send(kCombo, CB_GETLBTEXTLEN, 3), CB_ERR);
    send(kCombo, CB_RESETCONTENT);
    EXPECT_EQ(send(kCombo, CB_GETCOUNT), 0);
}

// ---- Huge rows: only what can be seen is laid out, the program keeps the whole text ----

TEST_F(ControlsTest, AHugeComboRowKeepsItsWholeTextForTheProgram) {
    const std::u16string huge = u"B" + std::u16string(200000, u'x');
    add(kSortedCombo, CB_ADDSTRING, u"C");
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, huge.c_str()), 0);
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, u"A"), 0);
    // Sorted by the whole text: a row between "B" and the huge one goes before it.
    EXPECT_EQ(add(kSortedCombo, CB_ADDSTRING, (u"B" + std::u16string(199999, u'x')).c_str()), 1);
    ASSERT_EQ(send(kSortedCombo, CB_GETLBTEXTLEN, 2), static_cast<LRESULT>(huge.size()));
    std::u16string text(huge.size() + 1, u'\0');
    EXPECT_EQ(send(kSortedCombo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text.data())),
              static_cast<LRESULT>(huge.size()));
    EXPECT_EQ(text.c_str(), huge);
    // The whole text chooses its row, and the window text is the whole text again.
    SetDlgItemTextW(dialog, kSortedCombo, huge.c_str());
    EXPECT_EQ(send(kSortedCombo, CB_GETCURSEL), 2);
    EXPECT_EQ(driver.text(dialog, kSortedCombo), huge);
}

TEST_F(ControlsTest, AHugeChosenComboRowLooksLikeItsShownPart) {
    const std::u16string shown(1024, u'W');
    add(kCombo, CB_ADDSTRING, shown.c_str());
    add(kCombo, CB_ADDSTRING, (shown + std::u16string(300000, u'W')).c_str());
    send(kCombo, CB_SETCURSEL, 0);
    const QImage cut = driver.grab(GetDlgItem(dialog, kCombo));
    send(kCombo, CB_SETCURSEL, 1);
    EXPECT_EQ(driver.grab(GetDlgItem(dialog, kCombo)), cut);
}

// A name too long for the dropped list is cut at the list's right edge, as the device cut it: its
// row shows the same pixels as a row holding only its beginning, up to where that beginning ends;
// an ellipsis in the middle would replace the name's middle sooner. Only whole rows show.
TEST_F(ControlsTest, ADroppedListCutsALongNameAtTheRightAndShowsWholeRows) {
    std::u16string name = u"Burgund Côte de Beaune";
    while (name.size() < 400)
        name += u", Hautes-Côtes und Villages";
    auto* combo = qobject_cast<QComboBox*>(driver.widget(dialog, kCombo));
    ASSERT_NE(combo, nullptr);
    const QFontMetrics metrics(combo->view()->font());
    add(kCombo, CB_ADDSTRING, name.c_str());
    combo->showPopup();
    driver.pump();
    const int width = combo->view()->viewport()->width();
    const QWidget* screen = driver.widget(dialog);
    const QRect list(combo->view()->window()->mapToGlobal(QPoint(0, 0)), combo->view()->window()->size());
    EXPECT_TRUE(QRect(screen->mapToGlobal(QPoint(0, 0)), screen->size()).contains(list));
    combo->hidePopup();
    driver.pump();
    // The longest beginning of the name that takes about four fifths of the list's width.
    std::u16string beginning = name;
    while (!beginning.empty() &&
           metrics.horizontalAdvance(QString::fromStdU16String(beginning)) > width * 4 / 5)
        beginning.pop_back();
    ASSERT_GT(beginning.size(), 5u);
    add(kCombo, CB_ADDSTRING, beginning.c_str());
    for (int i = 0; i < 8; ++i)
        add(kCombo, CB_ADDSTRING, u"Beaujolais");
    combo->showPopup();
    driver.pump();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(QModelIndex()); // no highlight or focus frame on a row
    const QImage shown = view->viewport()->grab().toImage();
    const QRect whole = view->visualRect(combo->model()->index(0, 0));
    const QRect part = view->visualRect(combo->model()->index(1, 0));
    const int compared = metrics.horizontalAdvance(QString::fromStdU16String(beginning)) - 2;
    int differing = 0;
    for (int y = 0; y < whole.height(); ++y)
        for (int x = whole.left(); x < whole.left() + compared; ++x)
            if (shown.pixel(x, whole.top() + y) != shown.pixel(x, part.top() + y)) ++differing;
    EXPECT_EQ(differing, 0) << "the long name is not shown from its beginning up to the right edge";
    EXPECT_EQ(view->viewport()->height() % whole.height(), 0) << "a row is cut in half";
    combo->hidePopup();
    driver.pump();
}
