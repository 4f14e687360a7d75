// What the results tests start from: the program's objects over a catalogue of the test's own,
// a driver, and helpers to put a search into the query buffer and read the tree.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "tests/support/test_catalogue.h"

class ResultsTest : public ::testing::Test {
  protected:
    // Builds `catalogue` (sample content unless the test filled it first) and opens it.
    void SetUp() override;
    void TearDown() override;
    void install();

  public:
    // Writes `sql` into the query buffer, as the search form or the detail does.
    static void setQuery(const std::u16string& sql);
    // The search statement for entries matching a WHERE condition, sorted as every search is.
    static std::u16string search(const std::u16string& condition);

  protected:
    // Opens the results screen modelessly over `parent` with the query buffer as it stands.
    HWND openResults(HWND parent = nullptr);

    TestCatalogue catalogue;
    platform::testing::Driver driver;
    bool installed = false;
};

using Tree = std::vector<platform::testing::TreeItemInfo>;

// Labels of the top-level items.
std::vector<std::u16string> topLabels(const Tree& tree);
// Labels of the children of the top-level item `label` (empty when it does not exist).
std::vector<std::u16string> childLabels(const Tree& tree, const std::u16string& label);
// Number of entry items under all categories.
std::size_t entryCount(const Tree& tree);
