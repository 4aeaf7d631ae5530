// The description dialog's text as it goes to the store: cut to the
// buffer, blanks stripped, closing and opening quotes added where missing.
#include <gtest/gtest.h>

#include <cstring>

#include "formula/dialogs/ParamsDlg.h"
#include "platform/testing/app.h"

namespace formula {
namespace {

TEST(ParamsDlg, GetQuotedTextFillsTheCallersBufferReadyToStore) {
  platform::testing::EnsureApplication();
  CParamsDlg dialog;
  char buf[16];
  std::memset(buf, 'x', sizeof buf);
  dialog.SetText("  M1 Param#1  ");
  ASSERT_EQ(dialog.GetQuotedText(buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "\"M1 Param#1\"");
  dialog.SetText("\"already\"");
  ASSERT_EQ(dialog.GetQuotedText(buf, sizeof buf), 1);
  EXPECT_STREQ(buf, "\"already\"");  // quotes the user typed are not doubled
  // Too long for the buffer: cut, and quoted only where room is left.
  dialog.SetText("abcdefghijklmnopqrstuvwxyz");
  ASSERT_EQ(dialog.GetQuotedText(buf, 8), 1);
  EXPECT_STREQ(buf, "abcdefg");
  EXPECT_EQ(dialog.GetQuotedText(nullptr, 8), 0);
  EXPECT_EQ(dialog.GetQuotedText(buf, 0), 0);
}

}  // namespace
}  // namespace formula
