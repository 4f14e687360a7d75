// Tree views: items, navigation, queries, notifications and custom draw.
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/controls/controls_fixture.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

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

// ---- Huge labels: only what can be seen is laid out, the program keeps the whole text ----

TEST_F(TreeTest, AHugeLabelKeepsItsWholeTextAndLooksLikeItsShownPart) {
    const std::u16string shown(1024, u'W');
    const std::u16string huge = shown + std::u16string(300000, u'W');
    HTREEITEM item = insert(TVI_ROOT, shown.c_str(), 7);
    const QImage cut = driver.grab(GetDlgItem(dialog, kTree));
    send(kTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    item = insert(TVI_ROOT, huge.c_str(), 7);
    EXPECT_EQ(driver.grab(GetDlgItem(dialog, kTree)), cut);
    std::u16string text(huge.size() + 1, u'\0');
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text.data();
    data.cchTextMax = static_cast<int>(text.size());
    ASSERT_TRUE(send(kTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data)));
    EXPECT_EQ(text.c_str(), huge);
}
