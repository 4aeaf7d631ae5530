// The trading window's own controls offscreen: the colour list's row
// colours, column sorting and fixed last column; the hover button's
// tracking and faces; the quote strip's click on a price.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>
#include <QTest>
#include <memory>

#include "platform/desktop.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "sharecode/color_hsl.h"
#include "trade/ui/windows/button_xp.h"
#include "trade/ui/windows/color_list_ctrl.h"
#include "trade/ui/windows/panel_controls.h"
#include "trade/ui/windows/show_market.h"

namespace {

QRgb Rgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

class WindowControlsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    ASSERT_TRUE(host_.Create(nullptr, CRect(0, 0, 500, 300), 0, WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(platform::testing::ShowAndActivate(host_.GetWidget()));
  }
  void TearDown() override { host_.DestroyWindow(); }
  CWndImpl<QWidget> host_;
};

TEST_F(WindowControlsTest, ColourListColoursRowsByCodeSortsByClicksAndKeepsTheCodeColumnShut) {
  CMyColorListCtrl list;
  ASSERT_TRUE(list.Create(&host_, CRect(0, 0, 480, 280), 7014, WS_CHILD | WS_VISIBLE | LVS_REPORT));
  list.SetColumns({{"价格", 80}, {"日期", 90}, {"数量", 80}, {"", 0}});
  list.SetRows({{"9.50", "02/01/2026", "100000000000000000000", "1"},
                {"10.00", "31/12/2025", "9", "4"},
                {"12.30", "01/01/2026", "99999999999999999999", "x"}});
  ASSERT_EQ(list.GetItemCount(), 3);
  // Colours from the last column: red on white, blue on grey, black on white.
  COLORREF text = 0, back = 0;
  struct Want {
    COLORREF text, back;
  } want[] = {
      {RGB(255, 0, 0), RGB(255, 255, 255)}, {RGB(0, 0, 255), 0xE7E7E7}, {0, RGB(255, 255, 255)}};
  for (int row = 0; row < 3; ++row) {
    ASSERT_TRUE(list.OnItemColors(row, &text, &back));
    EXPECT_EQ(text, want[row].text) << row;
    EXPECT_EQ(back, want[row].back) << row;
  }
  // What the list paints: the grey row's background.
  const QImage shot = list.GetWidget()->grab().toImage();
  CRect row1;
  ASSERT_TRUE(list.GetItemRect(1, &row1, LVIR_BOUNDS));
  EXPECT_EQ(shot.pixel(row1.left + 60, row1.CenterPoint().y + list.horizontalHeader()->height()) &
                0xFFFFFF,
            Rgb(0xE7E7E7) & 0xFFFFFF);

  // Clicks on a heading: ascending, then descending; another column ascending.
  auto column = [&](int c) {
    std::vector<std::string> out;
    for (int r = 0; r < list.GetItemCount(); ++r) out.push_back(list.GetItemText(r, c));
    return out;
  };
  auto click = [&](int c) {
    QHeaderView* header = list.horizontalHeader();
    const int x = header->sectionViewportPosition(c) + header->sectionSize(c) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
  };
  click(0);  // prices sort as text
  EXPECT_EQ(column(0), (std::vector<std::string>{"10.00", "12.30", "9.50"}));
  EXPECT_TRUE(list.SortAscending());
  EXPECT_EQ(list.GetSortHeader()->SortColumn(), 0);
  click(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"9.50", "12.30", "10.00"}));
  EXPECT_FALSE(list.SortAscending());
  click(1);  // dates by year, month, day
  EXPECT_EQ(column(1), (std::vector<std::string>{"31/12/2025", "01/01/2026", "02/01/2026"}));
  click(2);  // long digit strings by value
  EXPECT_EQ(column(2),
            (std::vector<std::string>{"9", "99999999999999999999", "100000000000000000000"}));
  // A row added by hand (not through SetRows) sorts and colours from its
  // own texts too.
  const int added = list.InsertItem(list.GetItemCount(), "1.00");
  list.SetItemText(added, 2, "50");
  list.SetItemText(added, 3, "3");
  list.SortByColumn(2, true);
  EXPECT_EQ(column(2),
            (std::vector<std::string>{"9", "50", "99999999999999999999", "100000000000000000000"}));
  ASSERT_TRUE(list.OnItemColors(1, &text, &back));
  EXPECT_EQ(text, RGB(0, 0, 255));
  // The colour column keeps its width; the others can be widened.
  EXPECT_FALSE(list.OnBeginTrack(3));
  EXPECT_TRUE(list.OnBeginTrack(0));
  list.DestroyWindow();
}

TEST_F(WindowControlsTest, SetListCellInsertsARowAtColumnZeroAndSetsTheOthers) {
  CMyColorListCtrl list;
  ASSERT_TRUE(list.Create(&host_, CRect(0, 0, 300, 200), 7015, WS_CHILD | LVS_REPORT));
  list.InsertColumn(0, "a", LVCFMT_LEFT, 50);
  list.InsertColumn(1, "b", LVCFMT_LEFT, 50);
  SetListCell(list, 0, 0, "r1");
  SetListCell(list, 0, 1, ToStdString(QString::fromUtf8("藏品")));
  SetListCell(list, 0, 0, "r0");  // a new row above
  ASSERT_EQ(list.GetItemCount(), 2);
  EXPECT_EQ(list.GetItemText(0, 0), "r0");
  EXPECT_EQ(list.GetItemText(1, 0), "r1");
  EXPECT_EQ(list.GetItemText(1, 1), GBK("藏品"));  // Qt's text as GBK bytes
  list.DestroyWindow();
}

TEST_F(WindowControlsTest, HoverButtonTracksTheMouseAndPaintsItsFaces) {
  CButtonXP button;
  ASSERT_TRUE(button.Create(&host_, CRect(10, 10, 110, 40), 7000, WS_CHILD | WS_VISIBLE));
  button.SetWindowText(GBK("锁定"));
  EXPECT_EQ(button.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_OWNERDRAW));
  auto face = [&] { return button.GetWidget()->grab().toImage().pixel(50, 4) & 0xFFFFFF; };
  const QRgb normal = Rgb(AdjustColorHsl(GetSysColor(COLOR_BTNFACE), 15, 0)) & 0xFFFFFF;
  const QRgb hover = Rgb(AdjustColorHsl(GetSysColor(COLOR_HIGHLIGHT), 80, -66)) & 0xFFFFFF;
  EXPECT_EQ(face(), normal);
  QTest::mouseMove(button.GetWidget(), QPoint(50, 15));
  ASSERT_TRUE(platform::PumpUntil([&] { return button.IsHovering(); }, 5000));
  EXPECT_EQ(face(), hover);
  // Leaving restores the normal look.
  button.SendMessage(WM_MOUSELEAVE);
  EXPECT_FALSE(button.IsHovering());
  EXPECT_EQ(face(), normal);
  // A disabled button under the mouse keeps the normal face.
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(50, 15));
  button.EnableWindow(FALSE);
  EXPECT_EQ(face(), normal);
  button.DestroyWindow();
}

TEST_F(WindowControlsTest, QuoteStripHandsAClickedPriceToItsOwnerOnly) {
  CShowMarket strip;
  ASSERT_TRUE(strip.Create(&host_, CRect(0, 0, 200, 180), 7013, WS_CHILD | WS_VISIBLE));
  strip.SetText("");
  EXPECT_EQ(strip.GetText(), QuoteStripText("", kStripFiveLevels));
  const std::string text = GBK("卖⑤  @12.39    100~卖④  @12.38    200\n买①  @12.33    600\n");
  strip.SetText(text);
  const SStripLayout layout = LayoutQuoteStrip(text, kStripFiveLevels, 200, 0, true);
  ASSERT_FALSE(layout.hits.empty());
  const RECT hit = layout.hits[1].rect;
  const LPARAM at = MAKELPARAM((hit.left + hit.right) / 2, (hit.top + hit.bottom) / 2);
  strip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);  // no action set: nothing
  std::vector<double> picked;
  strip.m_onPriceClick = [&](double price) { picked.push_back(price); };
  strip.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(picked, std::vector<double>{12.38});
  strip.DestroyWindow();
}

}  // namespace
