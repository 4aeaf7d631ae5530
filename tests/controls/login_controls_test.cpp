// The login dialog's controls: verification codes that are four digits and
// never repeat across quick constructions, their dotted picture, the
// hyperlink that opens only web and mail addresses when its text is
// clicked, and the empty animated-picture static.
#include <QImage>
#include <QTest>
#include <deque>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "zeb/controls/hyperlink_static.h"
#include "zeb/controls/identify_code.h"
#include "zeb/controls/link_policy.h"
#include "zeb/controls/picture_ex.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace {

// Draws the given numbers in order, then the last one for ever.
zebui::CodeRandom Script(std::deque<uint32_t> numbers) {
  return [numbers]() mutable {
    const uint32_t n = numbers.front();
    if (numbers.size() > 1) numbers.pop_front();
    return n;
  };
}

TEST(IdentifyCode, CodesAreFourDigitsAndDifferAcrossQuickConstructions) {
  platform::testing::EnsureApplication();
  std::set<std::string> codes;
  for (int i = 0; i < 20; ++i) {
    CIdentifyCode code;
    const std::string text = code.GetCode();
    ASSERT_EQ(text.size(), 4u);
    for (char c : text) EXPECT_TRUE(c >= '0' && c <= '9') << text;
    codes.insert(text);
  }
  // Seeding from the clock, all twenty would share one code.
  EXPECT_GE(codes.size(), 10u);

  // An injected source decides the digits; a click draws the next code.
  CIdentifyCode scripted(Script({13, 7, 20, 99, 4, 5, 6, 1000007}));
  EXPECT_STREQ(scripted.GetCode(), "3709");
  ASSERT_TRUE(scripted.Create(nullptr, CRect(0, 0, 90, 22), 1032, WS_POPUP));
  QTest::mouseClick(scripted.GetWidget(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_STREQ(scripted.GetCode(), "4567");
  scripted.DestroyWindow();
}

// Dots of a glyph are two pixels wide, the right half one pixel lower, with
// a light shadow one right and two down; noise falls where a glyph has no dot.
TEST(IdentifyCode, ThePictureIsAFramedBoxOfDottedGlyphsAndNoise) {
  platform::testing::EnsureApplication();
  const int zeros[4] = {0, 0, 0, 0};
  struct Case {
    uint32_t random;  // 1: never noise; 4: noise at (4, 4) every time
    QColor atNoisePoint;
  };
  for (const Case& c : {Case{1, Qt::white}, Case{4, Qt::black}}) {
    SCOPED_TRACE(c.random);
    QImage image(90, 22, QImage::Format_ARGB32);
    image.fill(Qt::gray);
    CDC dc(&image);
    zebui::DrawIdentifyCode(&dc, zeros, 90, 22, [&] { return c.random; });
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));  // frame
    EXPECT_EQ(image.pixelColor(89, 21), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(4, 4), c.atNoisePoint);
    // "0", top row "1110000111": columns 3-6 are dots.
    EXPECT_EQ(image.pixelColor(5 + 10, 6), QColor(Qt::black));  // column 5, left half
    EXPECT_EQ(image.pixelColor(5 + 11, 7),
              QColor(Qt::black));  // column 5, right half: a pixel lower
    EXPECT_EQ(image.pixelColor(5 + 11, 6), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(5 + 20 * 3 + 10, 6), QColor(Qt::black));  // the fourth digit
    // Bottom row, column 3: its shadow lies below every dot.
    EXPECT_EQ(image.pixelColor(6 + 6, 8 + 9), QColor(250, 236, 211));
  }
}

TEST(HyperlinkStatic, OnlyWebAndMailAddressesOpen) {
  struct Case {
    const char* address;
    bool opens;
  };
  const Case cases[] = {
      {"http://example.com/register", true},
      {"HTTPS://example.com/", true},
      {"mailto:service@example.com", true},
      {"http://", false},
      {"mailto:", false},
      {"file:///etc/passwd", false},
      {"javascript:alert(1)", false},
      {"ftp://example.com/", false},
      {"/usr/bin/xterm", false},
      {"C:\\Windows\\system32\\cmd.exe", false},
      {" http://example.com/", false},
      {"http://example.com/\nfile:///etc/passwd", false},
      {"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(zebui::IsOpenableLinkAddress(c.address), c.opens) << c.address;
  EXPECT_TRUE(zebui::IsOpenableLinkAddress(std::string("http://example.com/") + GBK("注册")));
}

// The hyperlink takes the dialog's static, underlines it in a copy of the
// dialog's font, and reacts to its text only.
TEST(HyperlinkStatic, TheTextOpensItsAddressAndShowsAHandFromTheSecondMove) {
  platform::testing::EnsureApplication();
  const platform::DialogItem items[] = {
      {platform::kStatic, 1028, GBK("申 请 帐 户"), 10, 10, 300, 20}};
  const platform::DialogTemplate tpl = platform::PixelTemplate(400, 100, items);
  CDialog dialog(tpl);
  ASSERT_TRUE(dialog.Create(nullptr));
  ASSERT_TRUE(platform::testing::ShowAndActivate(dialog.GetWidget()));
  CHyperlinkStatic link;
  ASSERT_TRUE(link.SubclassDlgItem(1028, &dialog));
  EXPECT_EQ(platform::testing::FindCtl<CHyperlinkStatic>(dialog, 1028), &link);
  EXPECT_EQ(link.GetText(), GBK("申 请 帐 户"));
  EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
  link.SetURL("http://example.com/register");
  link.GetWidget()->grab();  // the first paint makes the underlined font

  QWidget* w = link.GetWidget();
  const HCURSOR hand = LoadCursor(nullptr, IDC_HAND), arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(arrow);
  QTest::mouseMove(w, QPoint(4, 5));
  EXPECT_EQ(GetCursor(), arrow);  // the first move only starts tracking
  QTest::mouseMove(w, QPoint(5, 5));
  EXPECT_EQ(GetCursor(), hand);
  QTest::mouseMove(w, QPoint(295, 5));
  EXPECT_EQ(GetCursor(), arrow);

  struct Case {
    const char* name;
    const char* url;
    QPoint at;
    size_t opened;
  };
  const Case cases[] = {
      {"on the text", "http://example.com/register", QPoint(5, 5), 1},
      {"right of the text", "http://example.com/register", QPoint(295, 5), 0},
      {"on the text, an address that may not open", "file:///bin/sh", QPoint(5, 5), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ScopedRecordingUrls urls;
    link.SetURL(c.url);
    QTest::mouseClick(w, Qt::LeftButton, {}, c.at);
    ASSERT_EQ(urls.Urls().size(), c.opened);
    if (c.opened) {
      EXPECT_EQ(urls.Urls()[0], c.url);
    }
  }
  dialog.DestroyWindow();
}

TEST(PictureEx, WithoutAPictureItPaintsNothing) {
  platform::testing::EnsureApplication();
  CPictureEx picture;
  ASSERT_TRUE(picture.Create(nullptr, CRect(0, 0, 40, 30), 1040, WS_POPUP));
  QImage image(40, 30, QImage::Format_ARGB32);
  image.fill(QColor(1, 2, 3));
  picture.GetWidget()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(1, 2, 3));
  EXPECT_EQ(image.pixelColor(39, 29), QColor(1, 2, 3));
  picture.Unload();
  EXPECT_FALSE(picture.IsPlaying());
  picture.DestroyWindow();
}

}  // namespace
