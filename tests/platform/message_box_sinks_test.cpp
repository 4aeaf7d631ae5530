// Which sink answers a box when the program has no window layer: this
// program links the core part only, as the quote link and the simulators
// do, so boxes reach the default sink or, without one, standard error.
#include <gtest/gtest.h>

#include "platform/msgbox.h"

namespace {

class AnsweringSink : public platform::MessageBoxSink {
 public:
  explicit AnsweringSink(int answer) : answer_(answer) {}
  int Show(HWND, const std::string& text, const std::string&, UINT) override {
    last_text = text;
    return answer_;
  }
  std::string last_text;

 private:
  int answer_;
};

TEST(MessageBoxSinks, WithoutAnySinkTheBoxGoesToStandardErrorAndTheFirstButtonAnswers) {
  ASSERT_EQ(platform::SetDefaultMessageBoxSink(nullptr), nullptr);
  struct Case {
    UINT type;
    int answer;
  };
  for (const Case& c : {Case{MB_OK, IDOK}, Case{MB_OKCANCEL, IDOK}, Case{MB_YESNO, IDYES},
                        Case{MB_YESNOCANCEL | MB_ICONQUESTION, IDYES}}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox(nullptr, "text", "caption", c.type), c.answer);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[caption] text\n");
  }
}

TEST(MessageBoxSinks, TheDefaultAnswersUntilASinkIsInstalled) {
  AnsweringSink fallback(IDNO), installed(IDCANCEL);
  ASSERT_EQ(platform::SetDefaultMessageBoxSink(&fallback), nullptr);
  EXPECT_EQ(MessageBox(nullptr, "one", "c", MB_YESNO), IDNO);
  EXPECT_EQ(fallback.last_text, "one");
  EXPECT_EQ(platform::SetMessageBoxSink(&installed), nullptr);
  EXPECT_EQ(AfxMessageBox("two", MB_YESNOCANCEL), IDCANCEL);
  EXPECT_EQ(installed.last_text, "two");
  EXPECT_EQ(fallback.last_text, "one");
  // Removing the installed sink hands boxes back to the default.
  EXPECT_EQ(platform::SetMessageBoxSink(nullptr), &installed);
  EXPECT_EQ(MessageBox(nullptr, "three", "c", MB_YESNO), IDNO);
  EXPECT_EQ(fallback.last_text, "three");
  EXPECT_EQ(platform::SetDefaultMessageBoxSink(nullptr), &fallback);
}

}  // namespace
