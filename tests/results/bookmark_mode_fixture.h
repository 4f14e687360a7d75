// What the bookmark page tests start from: the program's objects over a catalogue of the test's
// own (the sample entries), a driver, and the results screen opened in either mode.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "tests/support/test_catalogue.h"

using Rows = std::vector<std::vector<std::string>>;
using Tree = std::vector<platform::testing::TreeItemInfo>;

class BookmarkScreenTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the catalogue as the test left it and opens it, once.
    void install();
    // The results screen with an empty query buffer: the bookmark list.
    HWND openBookmarkList();
    // The results screen with the search for `condition`, sorted as every search is.
    HWND openSearch(const std::u16string& condition);
    // Shows the bookmark labelled `label` from the list.
    bool showBookmark(HWND dialog, const std::u16string& label);

    // The bookmark rows in the table's order, read past the program.
    Rows bookmarks() const;
    // Labels and item data of the children of the list's root.
    std::vector<std::pair<std::u16string, LPARAM>> listed(HWND dialog) const;
    Tree tree(HWND dialog) const;

    TestCatalogue catalogue;
    platform::testing::Driver driver;
    bool installed = false;
};

// The texts of the sample entries as the result tree and the bookmark page know them.
inline const std::u16string kChablisLabel = u"Chablis Premier Cru, Domaine des Vaux Clairs";
inline const std::u16string kChablisKeyword = u"Chablis Premier Cru";
inline const std::u16string kRieslingKeyword = u"Ürziger Würzgarten Riesling Spätlese";
