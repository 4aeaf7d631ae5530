// The window layer installs the Qt box as the default sink as it loads: a
// box nobody replaced is a real modal QMessageBox with the program's texts.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"

namespace {

TEST(QtMessageBox, IsTheDefaultSinkAndShowsAModalBox) {
  platform::testing::EnsureApplication();
  platform::MessageBoxSink* qtBox = platform::SetDefaultMessageBoxSink(nullptr);
  platform::SetDefaultMessageBoxSink(qtBox);
  ASSERT_NE(qtBox, nullptr);
  EXPECT_EQ(dynamic_cast<platform::ConsoleMessageBoxSink*>(qtBox), nullptr);

  QString title, text;
  bool clicked = false;
  // Answers the box from inside its own loop with its "No" button.
  std::function<void()> answer = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      QTimer::singleShot(10, answer);
      return;
    }
    title = box->windowTitle();
    text = box->text();
    if (QAbstractButton* no = box->button(QMessageBox::No)) {
      clicked = true;
      no->click();
    }
  };
  QTimer::singleShot(0, answer);
  EXPECT_EQ(MessageBox(nullptr, GBK("删除吗?"), GBK("提示"), MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_TRUE(clicked);
  EXPECT_EQ(title, QString::fromUtf8("提示"));
  EXPECT_EQ(text, QString::fromUtf8("删除吗?"));
}

}  // namespace
