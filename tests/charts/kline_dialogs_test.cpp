// The formula library's dialogs opened from the K-line chart: a double-click
// on a pane's indicator name opens the indicator choice, on its parameters
// the parameter settings of that indicator; a confirmed dialog rebuilds the
// pane, a cancelled one leaves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "kline_test_support.h"
#include "platform/testing/app.h"
#include "platform/testing/modal_script.h"
#include "support/recording_painter.h"
#include "zeb/charts/kline/his_tech_obj.h"

namespace charts_test {
namespace {

using platform::testing::ScopedModalScript;
using test_support::RecordingPainter;
using test_support::SDrawn;

class KLineDialogs : public ChartsTest {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    obj = std::make_unique<CHisTechObj>(&store);
    obj->SetRect(0, 0, 800, 600);
    obj->SetStock(item);
    obj->RequestKLine();
    const std::string body = HistoryBody(0x053D, DailyBars(126));
    obj->OnData(body.data(), static_cast<int>(body.size()));
    RecordingPainter p;
    obj->Draw(p);  // the titles' rectangles are laid out as they are drawn
  }
  // A point on the title of pane i: on its name, or past it on the parameters.
  POINT Title(int i, bool params) const {
    const RECT& r = obj->Pane(i).GetPic()->GetPictureRect();
    const int nameWidth = 6 * static_cast<int>(obj->Pane(i).GetPic()->GetTitle().size());
    return POINT{r.left + (params ? nameWidth + 10 : 4), r.top + 5};
  }
  std::unique_ptr<CHisTechObj> obj;
};

TEST_F(KLineDialogs, ConfirmedParametersRebuildThePaneAndCancelledOnesLeaveIt) {
  ASSERT_EQ(obj->Pane(2).GetName(), "MACD");
  // a picked line marks the picture: a rebuilt one has none
  const int x = obj->XPositions()[40];
  ASSERT_EQ(obj->Pane(2).HitTestLine(x, obj->Pane(2).GetPic()->OutputRows(0)[40]), 1);
  ASSERT_EQ(obj->Pane(2).GetPic()->GetSelectedLine(), 0);
  const POINT params = Title(2, true);
  ASSERT_EQ(obj->Pane(2).HitTestTitle(params.x, params.y), 2);
  {
    ScopedModalScript script{[](CDialog& d) { d.EndDialog(IDCANCEL); }};
    EXPECT_EQ(obj->OnLButtonDblClk(params.x, params.y), 1);
    EXPECT_EQ(script.Shown(), 1);
  }
  EXPECT_EQ(obj->Pane(2).GetPic()->GetSelectedLine(), 0);
  {
    ScopedModalScript script{[](CDialog& d) { d.EndDialog(IDOK); }};
    obj->OnLButtonDblClk(params.x, params.y);
  }
  EXPECT_EQ(obj->Pane(2).GetPic()->GetSelectedLine(), -1);
  EXPECT_EQ(obj->Pane(2).GetName(), "MACD");
}

TEST_F(KLineDialogs, TheCandlePaneMadeAnewKeepsItsMarksAndCaption) {
  WritePaneFile("2", "KLINEMA,VOL,");
  SetUp();
  SExRightsRecord r{static_cast<int32_t>(DayOf(60)), 1500, 0, 0, 1};
  std::string ex(26, '\0');
  ex[0] = 0x00, ex[1] = 0x13, ex[2] = 1, ex[4] = 1;
  std::memcpy(&ex[10], &r.date, 4);
  ex[14] = char(r.dividend & 0xFF), ex[15] = char(r.dividend >> 8), ex[22] = 1;
  ASSERT_EQ(obj->OnData(ex.data(), int(ex.size())), 1);
  RecordingPainter before;
  obj->Draw(before);
  const RECT& title = obj->Pane(0).GetPic()->GetPictureRect();
  // the moving average's parameters follow the caption on the title line
  const int x = title.left + 6 * int(std::string("602001 test item(").size() + 6) + 20;
  ASSERT_EQ(obj->Pane(0).HitTestTitle(x, title.top + 5), 2);
  {
    ScopedModalScript script{[](CDialog& d) { d.EndDialog(IDOK); }};
    obj->OnLButtonDblClk(x, title.top + 5);
    EXPECT_EQ(script.Shown(), 1);
  }
  RecordingPainter after;
  obj->Draw(after);
  auto marks = [](const RecordingPainter& p) {
    int n = 0;
    for (const SDrawn& d : p.Of(SDrawn::Kind::kRect)) n += d.fill == RGB(255, 160, 0);
    return n;
  };
  EXPECT_EQ(marks(before), 1);
  EXPECT_EQ(marks(after), 1);
  const std::vector<std::string> texts = after.Texts();
  EXPECT_NE(
      std::find(texts.begin(), texts.end(), std::string("602001 test item(") + GBK("日线") + ")"),
      texts.end());
}

TEST_F(KLineDialogs, TheIndicatorNameOpensTheChoiceOfIndicators) {
  const POINT name = Title(3, false);
  ASSERT_EQ(obj->Pane(3).HitTestTitle(name.x, name.y), 1);
  ScopedModalScript script{[](CDialog& d) { d.EndDialog(IDCANCEL); }};
  obj->OnLButtonDblClk(name.x, name.y);
  EXPECT_EQ(script.Shown(), 1);
  EXPECT_EQ(obj->Pane(3).GetName(), "KDJ");
}

}  // namespace
}  // namespace charts_test
