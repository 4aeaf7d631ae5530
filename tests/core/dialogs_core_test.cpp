// The dialogs' rules without their windows: the information window's date,
// request, reply reading and HTML; the settings' threshold range and
// parameter saving; the colour arithmetic and the font style; the working
// scheme and the sample picture painted from it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "shell/dialogs_support.h"
#include "enforced_permissions.h"
#include "platform/profile.h"
#include "zeb/core/dialogs/colour_edit.h"
#include "zeb/core/dialogs/info_text.h"
#include "zeb/core/dialogs/notice_choice.h"
#include "zeb/core/dialogs/scheme_preview.h"
#include "zeb/core/dialogs/sys_params.h"
#include "zeb/tables/packets/info_packets.h"

using namespace dialogs_test;

namespace {

std::string Reply(uint16_t type, const std::string& after) {
  std::string body(12, '\0');
  std::memcpy(&body[0], &type, 2);
  return body + after;
}

}  // namespace

TEST(InfoText, DateCaptionAndRequest) {
  EXPECT_EQ(FormatInfoDate(20150302), "2015/03/02");
  SStockInfo item;
  std::memset(item.name, 'N', sizeof item.name);  // a name of all 60 bytes has no NUL
  EXPECT_EQ(InfoCaption(item), std::string(60, 'N') + GBK("--资讯信息"));

  const std::vector<uint8_t> r =
      BuildInfoRequest(SCodeInfo{4352, 602001}, kInfoPageKLine, 20150302, 0);
  const std::string bytes(r.begin(), r.end());
  ASSERT_EQ(bytes.size(), 30u);
  EXPECT_EQ(U16(bytes, 0), 0x1100);
  EXPECT_EQ(U16(bytes, 2), 4352);
  EXPECT_EQ(U16(bytes, 4), 32);
  EXPECT_EQ(U16(bytes, 6), 3);
  EXPECT_EQ(U32(bytes, 8), 0u);
  EXPECT_EQ(U16(bytes, 12), 4352);
  EXPECT_EQ(U32(bytes, 14), 602001u);
  EXPECT_EQ(U16(bytes, 18), 0);
  EXPECT_EQ(U32(bytes, 20), 20150302u);
  EXPECT_EQ(U16(bytes, 24), 0);
  EXPECT_EQ(U32(bytes, 26), 0u);
}

TEST(InfoText, RepliesAreReadWithinTheirBody) {
  const struct {
    const char* what;
    std::string body;
    bool read;
    std::string text;
  } cases[] = {
      {"text and NUL", Reply(0x1100, std::string("ab\0zz", 5)), true, "ab"},
      {"no NUL: cut at the body's end", Reply(0x1100, "abc"), true, "abc"},
      {"the type's group", Reply(0x1107, std::string("x\0", 2)), true, "x"},
      {"empty text", Reply(0x1100, ""), true, ""},
      {"another type", Reply(0x1200, std::string("x\0", 2)), false, ""},
      {"shorter than its head", std::string("\x00\x11\x00\x00\x00", 5), false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string text = "old";
    EXPECT_EQ(ReadInfoText(c.body.data(), c.body.size(), &text), c.read);
    EXPECT_EQ(text, c.text);
  }
}

TEST(InfoText, LinesBecomeParagraphsOfEscapedText) {
  EXPECT_EQ(InfoTextToHtml("a\r\nb"), "<HTML><BODY><p>a</p><p>b</p></BODY></HTML>");
  EXPECT_EQ(InfoTextToHtml("one line\n"), "<HTML><BODY><p>one line\n</p></BODY></HTML>");
  EXPECT_EQ(InfoTextToHtml("<img src=x>&\"\r\n"),
            "<HTML><BODY><p>&lt;img src=x&gt;&amp;&quot;</p><p></p></BODY></HTML>");
  // GBK trail bytes never look like the escaped characters.
  const std::string chinese = GBK("成交量<1万手");
  EXPECT_EQ(InfoTextToHtml(chinese),
            std::string("<HTML><BODY><p>") + GBK("成交量&lt;1万手") + "</p></BODY></HTML>");
}

TEST(SysParams, ThresholdRangeAndSavingAsTyped) {
  DialogsFixture fixture;
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {{"399", false},  {"400", true}, {"100000", true}, {"100001", false},
               {"abc", false},  {"", false},   {" 500", true},   {"4294967696", false},
               {"-400", false}, {"450x", true}};
  for (const auto& c : cases) EXPECT_EQ(IsBigOrderAccepted(c.text), c.accepted) << c.text;

  ASSERT_TRUE(SaveSysParams({"800", " 15"}, fixture.folders.ProgramDir()));
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  EXPECT_EQ(router->GetSysParam(GBK("主力大单")), 800);
  EXPECT_EQ(router->GetSysParam(GBK("自动翻页间隔")), 15);
  const std::string file = fixture.folders.Read("sysset.ini");
  EXPECT_NE(file.find(std::string("[") + GBK("主力大单") + "]\r\nVALUE=800\r\n"),
            std::string::npos);
  EXPECT_NE(file.find(std::string("[") + GBK("自动翻页间隔") + "]\r\nVALUE= 15\r\n"),
            std::string::npos);
}

TEST(ColourEdit, PartsComponentsAndFontStyle) {
  const SRgbParts white = SplitColor(CLR_INVALID);
  EXPECT_EQ((std::vector<int>{white.red, white.green, white.blue}),
            (std::vector<int>{255, 255, 255}));
  const SRgbParts parts = SplitColor(RGB(1, 2, 3));
  EXPECT_EQ((std::vector<int>{parts.red, parts.green, parts.blue}), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(JoinColor(parts), RGB(1, 2, 3));

  const struct {
    const char* text;
    bool read;
    int value;
  } components[] = {{"0", true, 0}, {"255", true, 255}, {" 7 ", true, 7}, {"256", false, 0},
                    {"", false, 0}, {"-1", false, 0},   {"1a", false, 0}, {"0255", false, 0}};
  for (const auto& c : components) {
    int value = -5;
    EXPECT_EQ(ReadColorComponent(c.text, &value), c.read) << c.text;
    if (c.read) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }

  const struct {
    LONG weight;
    BYTE italic, underline;
    int style;
  } fonts[] = {{700, 1, 1, 1}, {400, 1, 1, 2}, {400, 0, 1, 4}, {600, 0, 0, 0}, {800, 0, 0, 0}};
  for (const auto& f : fonts) {
    LOGFONT lf;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfHeight = -17;
    EXPECT_EQ(FontStyleOf(lf), f.style) << f.weight;
    EXPECT_EQ(FontEntryFromChoice(3, lf).size, 17);
  }
}

TEST(SchemePreview, WorkingCopiesLeaveTheSchemeAlone) {
  DialogsFixture fixture;
  CSysStyle* scheme = CSysStyle::GetInstance();
  CSchemePreview preview;
  ASSERT_FALSE(preview.Colors().empty());
  ASSERT_NE(preview.FindFont(99), nullptr);
  EXPECT_EQ(preview.FindFont(99), &preview.Fonts().front());
  EXPECT_EQ(preview.GetColor(9999), CLR_INVALID);

  preview.SetColor(19, RGB(9, 8, 7));
  EXPECT_EQ(preview.GetColor(19), RGB(9, 8, 7));
  EXPECT_EQ(scheme->GetColor(19), RGB(0, 0, 0));
  preview.ReloadColors();
  EXPECT_EQ(preview.GetColor(19), RGB(0, 0, 0));

  CFont* before = preview.FindFont(1)->font;
  SFontEntry bold = *preview.FindFont(1);
  bold.style = 1;
  preview.SetFont(bold);
  EXPECT_EQ(preview.FindFont(1)->style, 1);
  EXPECT_EQ(scheme->GetFontList()->front().style, 0);
  preview.ReloadFonts();
  EXPECT_EQ(preview.FindFont(1)->style, 0);
  EXPECT_NE(preview.FindFont(1)->font, nullptr);
  (void)before;
}

// The sample's regions are painted at their places, each in its colour.
TEST(SchemePreview, SampleRegionsInTheirColours) {
  DialogsFixture fixture;
  CSchemePreview preview;
  preview.SetColor(19, RGB(0, 0, 0));
  preview.SetColor(6, RGB(200, 0, 0));
  preview.SetColor(24, RGB(0, 200, 0));
  preview.SetColor(2, RGB(0, 0, 200));
  preview.SetColor(23, RGB(50, 60, 70));
  preview.SetColor(35, RGB(90, 80, 70));
  preview.SetColor(22, RGB(1, 2, 3));
  QImage image(228, 275, QImage::Format_ARGB32);
  image.fill(Qt::white);
  CDC dc;
  dc.Attach(&image);
  const RECT client{0, 0, 228, 275};
  preview.Paint(&dc, client);
  const SPreviewLayout l = preview.Layout(&dc, client);
  dc.Detach();
  auto at = [&](int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  };
  EXPECT_EQ(l.axisLeft, 2);
  EXPECT_EQ(l.axisRight, 2 + 228 / 2 + 10);
  EXPECT_EQ(l.chartBottom, l.chartTop + 275 / 2 - 24);
  EXPECT_EQ(at(l.axisLeft, (l.chartTop + l.chartBottom) / 2), RGB(200, 0, 0));   // the y axis
  EXPECT_EQ(at((l.axisLeft + l.axisRight) / 2, l.chartBottom), RGB(200, 0, 0));  // the x axis
  const int falling = l.candleLeft[0] + l.candleWidth / 2,
            rising = l.candleLeft[1] + l.candleWidth / 2;
  EXPECT_EQ(at(falling + 5, (l.bodyTop + l.bodyBottom) / 2), RGB(0, 200, 0));  // body of 阴线
  EXPECT_EQ(at(falling, l.chartTop + 80), RGB(0, 200, 0));                     // its lower wick
  EXPECT_EQ(at(rising - 6, (l.bodyTop + l.bodyBottom) / 2), RGB(0, 0, 200));   // body of 阳线
  int highlighted = 0;  // the box behind its white text
  for (int x = l.highlight.left; x < l.highlight.right; ++x)
    for (int y = l.highlight.top; y < l.highlight.bottom; ++y)
      highlighted += at(x, y) == RGB(50, 60, 70);
  EXPECT_GT(highlighted * 3,
            (l.highlight.right - l.highlight.left) * (l.highlight.bottom - l.highlight.top));
  const RECT& second = l.cells[1][0];
  EXPECT_EQ(at(second.left + 2, second.top + 2), RGB(90, 80, 70));  // second row
  EXPECT_EQ(at(second.left, second.top + 2), RGB(1, 2, 3));         // its outline
  EXPECT_EQ(at(l.cells[0][0].left + 2, l.cells[0][0].top + 2),
            RGB(0, 0, 0));  // header row: unfilled
  EXPECT_EQ(second.top, 275 / 2 + 8 + (second.bottom - second.top));
  EXPECT_EQ(l.cells[0][1].left, 30);
}

// Writes that fail (a folder that cannot be written) leave every old file
// whole: the notice choice, the parameters and the scheme's colours.
TEST(DialogFiles, FailedWritesLeaveTheOldFilesWhole) {
  DialogsFixture fixture;
  const std::string kept = "[A]\r\nx=1\r\n";
  fixture.folders.Write("sysset.ini", kept);
  const std::string colours = fixture.folders.Read("INTERFACE/test.CLR");
  CSchemePreview preview;
  preview.SetColor(19, RGB(3, 3, 3));
  for (const std::string& dir : {fixture.folders.ProgramDir(), fixture.folders.Path("INTERFACE")})
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
  {
    EnforcedPermissions enforced;
    EXPECT_FALSE(WriteNoticeChoice(fixture.folders.Path("sysset.ini"), true, std::time(nullptr)));
    EXPECT_FALSE(SaveSysParams({"800", "5"}, fixture.folders.ProgramDir()));
    preview.SaveColors();
  }
  for (const std::string& dir : {fixture.folders.ProgramDir(), fixture.folders.Path("INTERFACE")})
    chmod(dir.c_str(), 0755);
  EXPECT_EQ(fixture.folders.Read("sysset.ini"), kept);
  EXPECT_EQ(fixture.folders.Read("INTERFACE/test.CLR"), colours);
}
