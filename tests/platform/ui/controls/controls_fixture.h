// The fixture of the controls' message-sequence tests: a dialog holding one control of each kind.
#pragma once

#include <gtest/gtest.h>

#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "tests/platform/ui/test_module.h"

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        uitest::setHandler({});
        uitest::seen().clear();
        dialog = driver.open(uitest::module(), uitest::kAllControls, uitest::TestProc);
        ASSERT_TRUE(dialog);
    }
    void TearDown() override { uitest::setHandler({}); }
    LRESULT send(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendDlgItemMessageW(dialog, id, msg, wParam, lParam);
    }
    LRESULT add(int id, UINT msg, const char16_t* text) {
        return send(id, msg, 0, reinterpret_cast<LPARAM>(text));
    }
    platform::testing::Driver driver;
    HWND dialog = nullptr;
};
