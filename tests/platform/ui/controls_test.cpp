// The standard controls: what they answer and what they tell their dialog, as sequences.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        seen().clear();
        dialog = driver.open(module(), kAllControls, TestProc);
        ASSERT_TRUE(dialog);
    }
    void TearDown() override { setHandler({}); }
    LRESULT send(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageW(dialog, id, msg, wParam, lParam);
    }
    LRESULT add(int id, UINT msg, const char16_t* text) {
        return send(id, msg, 0, reinterpret_cast<LPARAM>(text));
    }
    Driver driver;
    HWND dialog = nullptr;
};

} // namespace

// ---- Buttons and statics ----

TEST_F(ControlsTest, PushButtonTapSendsClicked) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kPush);
    recorder.mark();
    EXPECT_TRUE(recorder.matches({command(kPush, BN_CLICKED), marker()}));
}

TEST_F(ControlsTest, CommandCarriesTheControlHandle) {
    HWND from = nullptr;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_COMMAND) from = reinterpret_cast<HWND>(lParam);
        return 0;
    });
    driver.tap(dialog, kPush);
    EXPECT_EQ(from, GetDlgItem(dialog, kPush));
}

TEST_F(ControlsTest, AutoCheckBoxTogglesItselfBeforeNotifying) {
    std::vector<UINT> statesSeen;
    setHandler([&](HWND d, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_COMMAND && LOWORD(wParam) == kCheck)
            statesSeen.push_back(IsDlgButtonChecked(d, kCheck));
        return 0;
    });
    MessageRecorder recorder(dialog);
    EXPECT_FALSE(driver.checked(dialog, kCheck));
    driver.tap(dialog, kCheck);
    recorder.mark();
    driver.tap(dialog, kCheck);
    EXPECT_TRUE(recorder.matches({command(kCheck, BN_CLICKED), marker(), command(kCheck, BN_CLICKED)}));
    EXPECT_EQ(statesSeen, (std::vector<UINT>{BST_CHECKED, BST_UNCHECKED}));
}

TEST_F(ControlsTest, CheckStateSetByTheProgramNotifiesNothing) {
    MessageRecorder recorder(dialog);
    CheckDlgButton(dialog, kCheck, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kCheck), BST_CHECKED);
    EXPECT_EQ(send(kCheck, BM_GETCHECK), static_cast<LRESULT>(BST_CHECKED));
    send(kCheck, BM_SETCHECK, BST_UNCHECKED);
    EXPECT_FALSE(driver.checked(dialog, kCheck));
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(ControlsTest, NotifyingStaticTellsThePointThenClicked) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kNotifyText);
    driver.tap(dialog, kNotifyText);
    const QPoint centre = r.center();
    EXPECT_TRUE(
        recorder.matches({stylus(WM_MOUSEMOVE, centre.x(), centre.y()), command(kNotifyText, STN_CLICKED)}));
}

TEST_F(ControlsTest, BitmapStaticTapTellsThePointInDialogCoordinates) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kSmallBitmap);
    driver.tapAt(dialog, r.left() + 3, r.top() + 5);
    EXPECT_TRUE(recorder.matches(
        {stylus(WM_MOUSEMOVE, r.left() + 3, r.top() + 5), command(kSmallBitmap, STN_CLICKED)}));
}

TEST_F(ControlsTest, StaticWithoutNotifyLetsTheTapThroughToTheDialog) {
    MessageRecorder recorder(dialog);
    const QRect r = driver.rect(dialog, kLeftText);
    driver.tapAt(dialog, r.left() + 2, r.top() + 2);
    EXPECT_TRUE(recorder.matches({stylus(WM_LBUTTONDOWN, r.left() + 2, r.top() + 2),
                                  stylus(WM_LBUTTONUP, r.left() + 2, r.top() + 2)}));
}

TEST_F(ControlsTest, StylusOnTheDialogArrivesInClientCoordinates) {
    MessageRecorder recorder(dialog);
    driver.stylusDown(dialog, 230, 5);
    driver.stylusMove(dialog, 231, 7);
    driver.stylusUp(dialog, 231, 7);
    EXPECT_TRUE(recorder.matches(
        {stylus(WM_LBUTTONDOWN, 230, 5), stylus(WM_MOUSEMOVE, 231, 7), stylus(WM_LBUTTONUP, 231, 7)}));
}

TEST_F(ControlsTest, StaticTextLineBreaksOfEveryKindShowAsOneBreak) {
    SetDlgItemTextW(dialog, kLeftText, u"a\nb\r\nc\n\rd");
    auto* label = qobject_cast<QLabel*>(driver.widget(dialog, kLeftText));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(driver.text(dialog, kLeftText), u"a\nb\r\nc\n\rd"); // the text itself is kept
    EXPECT_EQ(label->accessibleName(), QStringLiteral("a\nb\nc\nd"));
}

TEST_F(ControlsTest, StaticAlignmentFollowsItsStyle) {
    auto* left = qobject_cast<QLabel*>(driver.widget(dialog, kLeftText));
    auto* centre = qobject_cast<QLabel*>(driver.widget(dialog, kCentreText));
    auto* right = qobject_cast<QLabel*>(driver.widget(dialog, kRightText));
    EXPECT_TRUE(left->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(centre->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(right->alignment() & Qt::AlignRight);
}

TEST_F(ControlsTest, AccessibleNamesFollowTheText) {
    EXPECT_EQ(driver.widget(dialog, kPush)->accessibleName(), QStringLiteral("Drücken"));
    SetDlgItemTextW(dialog, kCheck, u"Neu");
    EXPECT_EQ(driver.widget(dialog, kCheck)->accessibleName(), QStringLiteral("Neu"));
}

TEST_F(ControlsTest, OwnerDrawnButtonTapSendsClicked) {
    MessageRecorder recorder(dialog);
    driver.tap(dialog, kOwnerDraw);
    EXPECT_TRUE(recorder.matches({command(kOwnerDraw, BN_CLICKED)}));
}

TEST_F(ControlsTest, OwnerDrawnButtonAsksItsDialogToDrawIt) {
    std::vector<DRAWITEMSTRUCT> requests;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_DRAWITEM) requests.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return 0;
    });
    InvalidateRect(GetDlgItem(dialog, kOwnerDraw), nullptr, TRUE);
    UpdateWindow(GetDlgItem(dialog, kOwnerDraw));
    ASSERT_FALSE(requests.empty());
    const DRAWITEMSTRUCT& item = requests.back();
    EXPECT_EQ(item.CtlType, ODT_BUTTON);
    EXPECT_EQ(item.CtlID, static_cast<UINT>(kOwnerDraw));
    EXPECT_EQ(item.hwndItem, GetDlgItem(dialog, kOwnerDraw));
    EXPECT_NE(item.hDC, nullptr);
    const QRect r = driver.rect(dialog, kOwnerDraw);
    EXPECT_EQ(item.rcItem.right, r.width());
    EXPECT_EQ(item.rcItem.bottom, r.height());
}

// ---- Edits ----

TEST_F(ControlsTest, TypingIntoAnEditSendsFocusAndChanges) {
    MessageRecorder recorder(dialog);
    driver.type(dialog, kEdit, u"Weiß");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Weiß");
    EXPECT_TRUE(
        recorder.matches({command(kEdit, EN_SETFOCUS), command(kEdit, EN_CHANGE), command(kEdit, EN_CHANGE),
                          command(kEdit, EN_CHANGE), command(kEdit, EN_CHANGE)}));
    recorder.clear();
    driver.tap(dialog, kPush);
    EXPECT_TRUE(recorder.matches({command(kEdit, EN_KILLFOCUS), command(kPush, BN_CLICKED)}));
}

TEST_F(ControlsTest, EditLimitStopsTyping) {
    send(kEdit, EM_LIMITTEXT, 3);
    driver.type(dialog, kEdit, u"Rotwein");
    EXPECT_EQ(driver.text(dialog, kEdit), u"Rot");
}

TEST_F(ControlsTest, MultiLineEditKeepsThePlatformsLineBreaks) {
    SetDlgItemTextW(dialog, kMultiEdit, u"Erste Zeile\r\nZweite Zeile");
    auto* edit = qobject_cast<QPlainTextEdit*>(driver.widget(dialog, kMultiEdit));
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->toPlainText(), QStringLiteral("Erste Zeile\nZweite Zeile"));
    EXPECT_EQ(driver.text(dialog, kMultiEdit), u"Erste Zeile\r\nZweite Zeile");
    EXPECT_EQ(GetWindowTextLengthW(GetDlgItem(dialog, kMultiEdit)), 25);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(ControlsTest, TextSetByTheProgramReportsAChange) {
    MessageRecorder recorder(dialog);
    SetDlgItemTextW(dialog, kEdit, u"Neu");
    EXPECT_TRUE(recorder.matches({command(kEdit, EN_CHANGE)}));
}

// ---- List boxes ----

TEST_F(ControlsTest, ListBoxKeepsItemsInTheOrderAdded) {
    EXPECT_EQ(add(kList, LB_ADDSTRING, u"Riesling"), 0);
    EXPECT_EQ(add(kList, LB_ADDSTRING, u"Chardonnay"), 1);
    EXPECT_EQ(send(kList, LB_GETCOUNT), 2);
    char16_t buffer[32];
    EXPECT_EQ(send(kList, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 10);
    EXPECT_EQ(std::u16string(buffer), u"Chardonnay");
    EXPECT_EQ(send(kList, LB_GETTEXTLEN, 0), 8);
    EXPECT_EQ(send(kList, LB_GETTEXTLEN, 5), LB_ERR);
    send(kList, LB_RESETCONTENT);
    EXPECT_EQ(send(kList, LB_GETCOUNT), 0);
}

TEST_F(ControlsTest, SortedListBoxSortsWithoutRegardToCase) {
    add(kSortedList, LB_ADDSTRING, u"riesling");
    EXPECT_EQ(add(kSortedList, LB_ADDSTRING, u"Chardonnay"), 0);
    EXPECT_EQ(add(kSortedList, LB_ADDSTRING, u"Merlot"), 1);
    EXPECT_EQ(driver.items(dialog, kSortedList),
              (std::vector<std::u16string>{u"Chardonnay", u"Merlot", u"riesling"}));
}

TEST_F(ControlsTest, ListBoxTapSelectsAndNotifies) {
    add(kList, LB_ADDSTRING, u"Eins");
    add(kList, LB_ADDSTRING, u"Zwei");
    EXPECT_EQ(send(kList, LB_GETCURSEL), LB_ERR);
    MessageRecorder recorder(dialog);
    driver.chooseItem(dialog, kList, 1);
    EXPECT_EQ(send(kList, LB_GETCURSEL), 1);
    EXPECT_TRUE(recorder.matches({command(kList, LBN_SELCHANGE)}));
}

TEST_F(ControlsTest, ListBoxSelectionByTheProgram) {
    add(kList, LB_ADDSTRING, u"Eins");
    add(kList, LB_ADDSTRING, u"Zwei");
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kList, LB_SETCURSEL, 1), 1);
    EXPECT_EQ(send(kList, LB_GETCURSEL), 1);
    EXPECT_EQ(send(kList, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);
    EXPECT_EQ(send(kList, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(driver.selectedIndex(dialog, kList), -1);
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(ControlsTest, NoSelectionListBoxNeverHighlights) {
    add(kNoSelList, LB_ADDSTRING, u"Zeile");
    driver.chooseItem(dialog, kNoSelList, 0);
    EXPECT_EQ(send(kNoSelList, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(send(kNoSelList, LB_SETCURSEL, 0), LB_ERR);
    EXPECT_EQ(driver.selectedIndex(dialog, kNoSelList), -1);
}

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
    EXPECT_TRUE(recorder.matches({optional(command(kCombo, CBN_DROPDOWN)), command(kCombo, CBN_SELCHANGE),
                                  optional(command(kCombo, CBN_CLOSEUP))}));
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

// ---- Scroll bar ----

class ScrollBarTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        SetScrollRange(GetDlgItem(dialog, kScroll), SB_CTL, 0, 4, TRUE);
        SetScrollPos(GetDlgItem(dialog, kScroll), SB_CTL, 2, TRUE);
    }
};

TEST_F(ScrollBarTest, ArrowsSendLineStepsAndEndScrollWithoutMovingTheThumb) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::LineRight);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::LineLeft);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_LINERIGHT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_LINELEFT), hscroll(kScroll, SB_ENDSCROLL)}));
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 2);
}

TEST_F(ScrollBarTest, TroughTapsSendPageSteps) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::PageRight);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::PageLeft);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_PAGERIGHT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_PAGELEFT), hscroll(kScroll, SB_ENDSCROLL)}));
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 2);
}

TEST_F(ScrollBarTest, HomeAndEndKeysJumpToTheEnds) {
    MessageRecorder recorder(dialog);
    driver.scroll(dialog, kScroll, ScrollAction::Home);
    recorder.mark();
    driver.scroll(dialog, kScroll, ScrollAction::End);
    EXPECT_TRUE(recorder.matches({hscroll(kScroll, SB_LEFT), hscroll(kScroll, SB_ENDSCROLL), marker(),
                                  hscroll(kScroll, SB_RIGHT), hscroll(kScroll, SB_ENDSCROLL)}));
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenReportsThePosition) {
    // The dialog follows the thumb, as a screen does.
    setHandler([](HWND d, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (msg == WM_HSCROLL && LOWORD(wParam) == SB_THUMBTRACK)
            SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, HIWORD(wParam), TRUE);
        (void)d;
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.dragThumb(dialog, kScroll, 4);
    std::vector<WORD> codes;
    for (const RecordedMessage& m : recorder.entries())
        codes.push_back(LOWORD(m.wParam));
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), SB_THUMBTRACK);
    EXPECT_EQ(codes[codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(HIWORD(recorder.entries()[codes.size() - 2].wParam), 4);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    EXPECT_EQ(driver.scrollPosition(dialog, kScroll), 4);
}

TEST_F(ScrollBarTest, PositionIsKeptWithinTheRange) {
    HWND bar = GetDlgItem(dialog, kScroll);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 9, TRUE), 2);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 4);
    SetScrollPos(bar, SB_CTL, -3, TRUE);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

// ---- Tree view ----

class TreeTest : public ControlsTest {
  protected:
    HTREEITEM insert(HTREEITEM parent, const char16_t* label, LPARAM data, HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<LPWSTR>(label);
        insert.item.lParam = data;
        return reinterpret_cast<HTREEITEM>(
            send(kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    HTREEITEM next(UINT how, HTREEITEM item = nullptr) {
        return reinterpret_cast<HTREEITEM>(send(kTree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }
};

TEST_F(TreeTest, ItemsInsertInOrderUnderTheirParents) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    HTREEITEM white = insert(TVI_ROOT, u"Weiß", 0);
    insert(red, u"Barolo", 17);
    insert(red, u"Amarone", 18, TVI_FIRST);
    insert(white, u"Chablis", 19);
    ASSERT_TRUE(red && white);
    EXPECT_EQ(send(kTree, TVM_GETCOUNT), 5);
    const auto items = driver.treeItems(dialog, kTree);
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(items[0].children.size(), 2u);
    EXPECT_EQ(items[0].children[0].label, u"Amarone");
    EXPECT_EQ(items[0].children[1].label, u"Barolo");
    EXPECT_EQ(items[0].children[1].data, 17);
    EXPECT_EQ(items[1].label, u"Weiß");
}

TEST_F(TreeTest, NavigationFindsRootChildrenSiblingsAndParents) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    HTREEITEM white = insert(TVI_ROOT, u"Weiß", 0);
    HTREEITEM barolo = insert(red, u"Barolo", 17);
    EXPECT_EQ(next(TVGN_ROOT), red);
    EXPECT_EQ(next(TVGN_NEXT, red), white);
    EXPECT_EQ(next(TVGN_NEXT, white), nullptr);
    EXPECT_EQ(next(TVGN_CHILD, red), barolo);
    EXPECT_EQ(next(TVGN_CHILD, white), nullptr);
    EXPECT_EQ(next(TVGN_PARENT, barolo), red);
    EXPECT_EQ(next(TVGN_CARET), nullptr);
}

TEST_F(TreeTest, ItemQueriesGiveTextDataChildrenAndExpansion) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    HTREEITEM barolo = insert(red, u"Barolo", 17);
    char16_t buffer[32] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
    item.hItem = red;
    item.pszText = buffer;
    item.cchTextMax = 32;
    ASSERT_TRUE(send(kTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::u16string(buffer), u"Rot");
    EXPECT_EQ(item.cChildren, 1);
    EXPECT_EQ(item.state & TVIS_EXPANDED, 0u);
    send(kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(red));
    ASSERT_TRUE(send(kTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.state & TVIS_EXPANDED, TVIS_EXPANDED);
    item.hItem = barolo;
    ASSERT_TRUE(send(kTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 17);
    EXPECT_EQ(item.cChildren, 0);
}

TEST_F(TreeTest, DeletingAnItemTakesItsChildrenAndRootDeletesAll) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    insert(red, u"Barolo", 17);
    insert(TVI_ROOT, u"Weiß", 0);
    send(kTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(red));
    EXPECT_EQ(send(kTree, TVM_GETCOUNT), 1);
    send(kTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_EQ(send(kTree, TVM_GETCOUNT), 0);
    EXPECT_EQ(next(TVGN_ROOT), nullptr);
}

TEST_F(TreeTest, TappingAnItemNotifiesItsDataAndHandle) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    HTREEITEM barolo = insert(red, u"Barolo", 17);
    LPARAM dataSeen = -1;
    HTREEITEM handleSeen = nullptr;
    UINT actionSeen = 99;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TVN_SELCHANGEDW) {
            auto* info = reinterpret_cast<NMTREEVIEWW*>(lParam);
            dataSeen = info->itemNew.lParam;
            handleSeen = info->itemNew.hItem;
            actionSeen = info->action;
        }
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.selectTreeItem(dialog, kTree, {u"Rot", u"Barolo"});
    EXPECT_TRUE(recorder.matches({notifyCode(kTree, TVN_SELCHANGEDW)}));
    EXPECT_EQ(dataSeen, 17);
    EXPECT_EQ(handleSeen, barolo);
    EXPECT_EQ(actionSeen, TVC_BYMOUSE);
    EXPECT_EQ(next(TVGN_CARET), barolo);
    EXPECT_EQ(driver.selectedTreeLabel(dialog, kTree), u"Barolo");
}

TEST_F(TreeTest, FillingAndClearingByTheProgramNotifiesNothing) {
    MessageRecorder recorder(dialog);
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    insert(red, u"Barolo", 17);
    send(kTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(TreeTest, CustomDrawAsksBeforePaintingAndPerItemWhenRequested) {
    insert(TVI_ROOT, u"Rot", 0);
    insert(TVI_ROOT, u"Weiß", 0);
    std::vector<DWORD> stages;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW) {
            auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(lParam);
            stages.push_back(draw->nmcd.dwDrawStage);
            if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        }
        return 0;
    });
    InvalidateRect(GetDlgItem(dialog, kTree), nullptr, TRUE);
    UpdateWindow(GetDlgItem(dialog, kTree));
    ASSERT_GE(stages.size(), 3u);
    EXPECT_EQ(stages[0], CDDS_PREPAINT);
    EXPECT_EQ(stages[1], CDDS_ITEMPREPAINT);
    EXPECT_EQ(stages[2], CDDS_ITEMPREPAINT);
}

TEST_F(TreeTest, WithoutItemDrawRequestNoItemIsAsked) {
    insert(TVI_ROOT, u"Rot", 0);
    int itemStages = 0;
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == NM_CUSTOMDRAW &&
            reinterpret_cast<NMTVCUSTOMDRAW*>(lParam)->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            ++itemStages;
        return CDRF_DODEFAULT;
    });
    InvalidateRect(GetDlgItem(dialog, kTree), nullptr, TRUE);
    UpdateWindow(GetDlgItem(dialog, kTree));
    EXPECT_EQ(itemStages, 0);
}

// ---- Tab control ----

class TabTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        for (const char16_t* label : {u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<LPWSTR>(label);
            send(kTabs, TCM_INSERTITEMW, static_cast<WPARAM>(send(kTabs, TCM_GETITEMCOUNT)),
                 reinterpret_cast<LPARAM>(&item));
        }
    }
};

TEST_F(TabTest, TabsInsertInOrderWithTheFirstSelected) {
    EXPECT_EQ(driver.tabs(dialog, kTabs),
              (std::vector<std::u16string>{u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}));
    EXPECT_EQ(send(kTabs, TCM_GETCURSEL), 0);
}

TEST_F(TabTest, UserChoiceNotifiesWithTheNewSelectionSet) {
    LRESULT selectionSeen = -1;
    setHandler([&](HWND d, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
            selectionSeen = SendDlgItemMessageW(d, kTabs, TCM_GETCURSEL, 0, 0);
        return 0;
    });
    MessageRecorder recorder(dialog);
    driver.selectTab(dialog, kTabs, 2);
    EXPECT_TRUE(recorder.matches({notifyCode(kTabs, TCN_SELCHANGE)}));
    EXPECT_EQ(selectionSeen, 2);
}

TEST_F(TabTest, SelectionByTheProgramNotifiesNothing) {
    MessageRecorder recorder(dialog);
    EXPECT_EQ(send(kTabs, TCM_SETCURSEL, 1), 0);
    EXPECT_EQ(send(kTabs, TCM_GETCURSEL), 1);
    EXPECT_TRUE(recorder.entries().empty());
}

TEST_F(TabTest, TabsOfABottomTabControlPointDownAndTheVersionIsAccepted) {
    auto* bar = qobject_cast<QTabBar*>(driver.widget(dialog, kTabs));
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->shape(), QTabBar::RoundedSouth);
    EXPECT_EQ(send(kTabs, CCM_SETVERSION, 0x20C), 0);
    EXPECT_EQ(send(kTabs, CCM_SETVERSION, 0x20C), 0x20C);
}

// ---- Fonts ----

TEST_F(ControlsTest, SetFontChangesTheControlsFontAndIsReported) {
    LOGFONTW description{};
    description.lfHeight = 20;
    description.lfWeight = FW_BOLD;
    std::u16string face = u"Tahoma";
    face.copy(description.lfFaceName, face.size());
    HFONT font = CreateFontIndirectW(&description);
    send(kLeftText, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(send(kLeftText, WM_GETFONT)), font);
    EXPECT_TRUE(driver.widget(dialog, kLeftText)->font().bold());
    EXPECT_GT(driver.widget(dialog, kLeftText)->font().pixelSize(), 11);
    DeleteObject(font);
}

TEST(OwnerDrawnNamesTest, OwnerDrawnButtonWithoutTextIsNamedByTheLabelOnIt) {
    Driver driver;
    HWND dialog = driver.open(module(), kLargeFont, TestProc);
    EXPECT_EQ(driver.widget(dialog, 1006)->accessibleName(), QStringLiteral("Weine von A - Z"));
    EXPECT_EQ(driver.widget(dialog, kOwnerDraw), nullptr);
}

TEST_F(TreeTest, ItemsDrawInTheFontTheDialogSelectsForThem) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    auto* tree = qobject_cast<QTreeWidget*>(driver.widget(dialog, kTree));
    ASSERT_TRUE(tree);
    const int plainHeight = tree->visualItemRect(tree->topLevelItem(0)).height();
    LOGFONTW description{};
    description.lfHeight = 24;
    description.lfWeight = FW_BOLD;
    std::u16string(u"Tahoma").copy(description.lfFaceName, 6);
    HFONT font = CreateFontIndirectW(&description);
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != NM_CUSTOMDRAW) return 0;
        auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(lParam);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
            SelectObject(draw->nmcd.hdc, font);
            return CDRF_NEWFONT;
        }
        return 0;
    });
    UpdateWindow(GetDlgItem(dialog, kTree));
    driver.pump();
    UpdateWindow(GetDlgItem(dialog, kTree));
    EXPECT_GT(tree->visualItemRect(tree->topLevelItem(0)).height(), plainHeight);
    setHandler({});
    DeleteObject(font);
    (void)red;
}

TEST_F(ControlsTest, TapOnTheDialogItselfLeavesTheFocusInTheEdit) {
    driver.type(dialog, kEdit, u"a");
    MessageRecorder recorder(dialog);
    driver.tapAt(dialog, 230, 5);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kEdit));
    EXPECT_TRUE(recorder.matches({stylus(WM_LBUTTONDOWN, 230, 5), stylus(WM_LBUTTONUP, 230, 5)}));
}

TEST_F(ControlsTest, TextOfABitmapStaticLeavesItsPicture) {
    SetDlgItemTextW(dialog, kSmallBitmap, u"Bild");
    EXPECT_EQ(driver.text(dialog, kSmallBitmap), u"Bild");
    auto* label = qobject_cast<QLabel*>(driver.widget(dialog, kSmallBitmap));
    ASSERT_TRUE(label);
    EXPECT_FALSE(label->pixmap().isNull());
}

TEST_F(TreeTest, AWideItemKeepsItsWholeLabelAndTheTreeScrollsSideways) {
    HTREEITEM red = insert(TVI_ROOT, u"Rot", 0);
    insert(red, u"Château Lafite-Rothschild, Pauillac, Haut-Médoc, Bordeaux", 1);
    send(kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(red));
    auto* tree = qobject_cast<QTreeWidget*>(driver.widget(dialog, kTree));
    ASSERT_TRUE(tree);
    driver.pump();
    EXPECT_EQ(tree->textElideMode(), Qt::ElideNone);
    EXPECT_GT(tree->header()->sectionSize(0), tree->viewport()->width());
    EXPECT_TRUE(tree->horizontalScrollBar()->isVisible());
}
