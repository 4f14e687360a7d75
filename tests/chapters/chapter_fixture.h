// What every chapter test on screen starts from: the program's objects, its module and a driver.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/testing/driver.h"
#include "platform/win32.h"
#include "resources/resources.h"

class ChapterScreenTest : public ::testing::Test {
  protected:
    void SetUp() override;

    platform::testing::Driver driver;
};

// The rows of a text list as the program holds them.
std::vector<std::u16string> rowsOf(const TextRows& rows);
// 1-based positions of the rows that are blank (empty or a single space).
std::vector<int> blankPositions(const std::vector<std::u16string>& rows);
// The description of the font a control uses (WM_GETFONT); all zero when it has none of its own.
LOGFONTW fontOf(HWND control);
// The font's face name.
std::u16string faceOf(const LOGFONTW& font);
// A bitmap of the program's resources as an image, for comparing drawn pixels.
QImage resourceBitmap(int id);
// A string of the program's string table.
std::u16string resourceString(int id);
