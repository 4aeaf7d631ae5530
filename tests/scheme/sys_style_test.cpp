#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "enforced_permissions.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "support/temp_dir.h"
#include "zeb/scheme/sys_style.h"

namespace {

class SysStyleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_ui_sys_style";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  }
  void SetUp() override {
    std::filesystem::create_directories(dir_.File("INTERFACE"));
    platform::SetProgramDirOverride(dir_.Path() + "/");
    CSysStyle::ReleaseInstance();
  }
  void TearDown() override {
    CSysStyle::ReleaseInstance();
    CSysStyle::SetSystemTextHeightProvider(nullptr);
    platform::SetProgramDirOverride("");
  }
  std::string Interface(const std::string& name) { return dir_.File("INTERFACE/" + name); }
  // A scheme list naming the given schemes, the current one by index.
  void WriteSchemeList(const std::vector<std::string>& names, const std::string& current) {
    std::string text = std::string("[") + GBK("配色方案") + "]\r\n";
    for (size_t i = 0; i < names.size(); ++i) text += std::to_string(i) + "=" + names[i] + "\r\n";
    text += std::string("\r\n[") + GBK("当前方案") + "]\r\n001=" + current + "\r\n";
    WriteBytes(Interface("COLORSCHEME.ini"), text);
  }
  void WriteBitmap(const std::string& scheme) {
    QImage image(4, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ASSERT_TRUE(image.save(QString::fromStdString(Interface(scheme + ".BMP")), "BMP"));
  }
  static std::string Face(CFont* font) {
    LOGFONT lf;
    font->GetLogFont(&lf);
    return lf.lfFaceName;
  }

  TempDir dir_;
  platform::ScopedRecordingBoxes boxes_;
};

TEST_F(SysStyleTest, WithoutSchemeListEverythingIsMissing) {
  CSysStyle* style = CSysStyle::GetInstance();
  EXPECT_EQ(style->LoadScheme(), 0);
  EXPECT_EQ(style->GetColor(19), CLR_INVALID);
  EXPECT_EQ(style->GetFont(1), nullptr);
  EXPECT_EQ(style->GetSliderBitmap(), nullptr);
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(SysStyleTest, DefaultsAndOverridesFromTheColourFile) {
  WriteSchemeList({"dark", "light"}, "1");
  WriteBitmap("light");
  // A later header that contains the label inside a longer one is not the
  // one read: the first header holding the label wins.
  WriteBytes(Interface("light.CLR"),
             std::string("[") + GBK("背景色") + "]\r\nID=19\r\nCOLOR=255\r\n[" + GBK("资讯背景色") +
                 "]\r\nCOLOR=65280\r\n[" + GBK("成交量色") + "]\r\nCOLOR=-1\r\n[" +
                 GBK("坐标轴色") + "]\r\nCOLOR=99999999999\r\n");
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  EXPECT_EQ(style->GetCurrentScheme(), 1);
  EXPECT_EQ(style->GetColorList()->size(), 40u);
  EXPECT_EQ(style->GetColor(19), RGB(255, 0, 0));
  EXPECT_EQ(style->GetColor(43), RGB(0, 255, 0));
  EXPECT_EQ(style->GetColor(1), RGB(192, 192, 0));  // -1 is refused
  EXPECT_EQ(style->GetColor(6), RGB(0, 88, 108));   // so is an overflow
  EXPECT_EQ(style->GetColor(2), RGB(230, 65, 0));
  EXPECT_EQ(style->GetColor(55), RGB(255, 255, 84));
  EXPECT_EQ(style->GetColor(14), CLR_INVALID);
  EXPECT_EQ(style->GetUpDownColor(10.5f, 10.5f), RGB(192, 192, 192));
  EXPECT_EQ(style->GetUpDownColor(11.0f, 10.5f), RGB(230, 65, 0));
  EXPECT_EQ(style->GetUpDownColor(10.0f, 10.5f), RGB(0, 174, 0));
  EXPECT_NE(style->GetSliderBitmap(), nullptr);
  EXPECT_TRUE(boxes_.Boxes().empty());
  std::string name;
  EXPECT_EQ(style->GetSchemeName(0, name), 1);
  EXPECT_EQ(name, "dark");
  EXPECT_EQ(style->GetSchemeName(2, name), 0);
}

TEST_F(SysStyleTest, EmptyCurrentSchemeKeepsIndexZeroAndMissingBitmapIsReported) {
  WriteSchemeList({"dark"}, "");
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  EXPECT_EQ(style->GetCurrentScheme(), 0);
  EXPECT_EQ(style->GetColor(19), RGB(0, 0, 0));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text,
            std::string(GBK("系统执行目录下缺少当前系统风格使用的滚动滑块图片文件:")) +
                Interface("dark.BMP"));
  EXPECT_EQ(style->GetSliderBitmap(), nullptr);
}

TEST_F(SysStyleTest, HandEditedFilesWithOverlongNamesAndBadSizes) {
  // Six Chinese characters (12 bytes) do not fit the 11-byte name field:
  // the name is cut after five.
  std::string longScheme = GBK("一二三四五六");
  WriteSchemeList({longScheme}, "0");
  std::string cutScheme = GBK("一二三四五");
  WriteBitmap(cutScheme);
  std::string longFace;
  for (int i = 0; i < 20; ++i) longFace += GBK("宋");  // 40 bytes
  WriteBytes(Interface(cutScheme + ".FNT"),
             std::string("[") + GBK("列表字体") + "]\r\nFONTSIZE=-14\r\nFONTSTYLE=2\r\nFONTNAME=" +
                 longFace + "\r\n[" + GBK("图形字体") + "]\r\nFONTSIZE=100000\r\n[" +
                 GBK("资讯字体") + "]\r\nFONTSIZE=18\r\nFONTNAME=x" + longFace + "\r\n");
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  std::string name;
  style->GetSchemeName(0, name);
  EXPECT_EQ(name, cutScheme);
  const auto& fonts = *style->GetFontList();
  ASSERT_EQ(fonts.size(), 7u);
  EXPECT_EQ(fonts[0].size, 14);  // negative size refused
  EXPECT_EQ(fonts[0].style, 2);
  EXPECT_EQ(std::string(fonts[0].face), longFace.substr(0, 30));  // 15 characters
  EXPECT_EQ(fonts[1].size, 14);                                   // huge size refused
  EXPECT_EQ(fonts[2].size, 18);
  EXPECT_EQ(std::string(fonts[2].face), "x" + longFace.substr(0, 30));  // 31 bytes
  ASSERT_NE(style->GetFont(3), nullptr);
  LOGFONT lf;
  style->GetFont(3)->GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -18);
  EXPECT_EQ(std::string(lf.lfFaceName), "x" + longFace.substr(0, 30));
}

TEST_F(SysStyleTest, FontsAreMadeFromTheEntries) {
  WriteSchemeList({"s"}, "0");
  WriteBitmap("s");
  CSysStyle::SetSystemTextHeightProvider([] { return 16; });
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  struct Case {
    int id;
    int height;
    int weight;
    const char* face;
  };
  for (const Case& c :
       {Case{1, -14, FW_BOLD, "System"}, Case{2, -14, FW_BOLD, "Tohoma"},
        Case{3, -15, FW_NORMAL, GBK("宋体")}, Case{4, -22, FW_BOLD, GBK("楷体_GB2312")},
        Case{7, -12, FW_NORMAL, GBK("宋体")}}) {
    CFont* font = style->GetFont(c.id);
    ASSERT_NE(font, nullptr) << c.id;
    LOGFONT lf;
    font->GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, c.height) << c.id;
    EXPECT_EQ(lf.lfWeight, c.weight) << c.id;
    EXPECT_STREQ(lf.lfFaceName, c.face) << c.id;
    EXPECT_FALSE(font->GetDrawnFamily().empty()) << c.id;  // a face Linux lacks still draws
  }
  EXPECT_EQ(style->GetFont(8), nullptr);
}

TEST_F(SysStyleTest, SystemFaceOnALargeFontDisplay) {
  CSysStyle::SetSystemTextHeightProvider([] { return 20; });
  CFont* font = CSysStyle::CreateFont("System", 14, 1);
  ASSERT_NE(font, nullptr);
  LOGFONT lf;
  font->GetLogFont(&lf);
  EXPECT_STREQ(lf.lfFaceName, "GB321");
  EXPECT_EQ(lf.lfHeight, -15);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  delete font;
  CFont* plain = CSysStyle::NewFont(nullptr, 30, 7, 0);
  plain->GetLogFont(&lf);
  EXPECT_STREQ(lf.lfFaceName, GBK("宋体"));
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(lf.lfItalic, 0);
  delete plain;
  CFont* styled = CSysStyle::NewFont("Arial", 12, 6, 0);
  styled->GetLogFont(&lf);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 1);
  delete styled;
}

TEST_F(SysStyleTest, SavingWritesTheSchemeFiles) {
  WriteSchemeList({"s"}, "0");
  WriteBitmap("s");
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  std::vector<SColorEntry> colors = *style->GetColorList();
  colors[0].color = RGB(1, 2, 3);
  EXPECT_EQ(style->SaveColors(5, colors), 0);
  EXPECT_EQ(style->SaveColors(0, {colors[0]}), 1);
  EXPECT_EQ(style->GetColor(19), RGB(1, 2, 3));
  std::string clr = ReadBytes(Interface("s.CLR"));
  EXPECT_EQ(clr.rfind(std::string("[") + GBK("背景色") + "]\r\nID=19\r\nCOLOR=197121\r\n[" +
                          GBK("阳线及上涨色") + "]\r\nID=2\r\nCOLOR=16870\r\n",
                      0),
            0u);

  CFont* unchanged = style->GetFont(2);
  CFont* changed = style->GetFont(1);
  std::vector<SFontEntry> fonts = *style->GetFontList();
  std::strcpy(fonts[0].face, "Arial");
  fonts[0].size = 20;
  EXPECT_EQ(style->SaveFonts(0, fonts), 1);
  EXPECT_EQ(style->GetFont(2), unchanged);
  // A changed font keeps its object: tables hold its address.
  EXPECT_EQ(style->GetFont(1), changed);
  LOGFONT lf;
  changed->GetLogFont(&lf);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -20);
  std::string fnt = ReadBytes(Interface("s.FNT"));
  EXPECT_EQ(fnt.rfind(std::string("[") + GBK("列表字体") +
                          "]\r\nID=1\r\nFONTSIZE=20\r\nFONTSTYLE=1\r\nFONTNAME=Arial\r\n[",
                      0),
            0u);
  // Reloading reads back what was saved.
  ASSERT_EQ(style->LoadScheme(), 1);
  EXPECT_EQ(style->GetColor(19), RGB(1, 2, 3));
  EXPECT_EQ(style->GetFontList()->at(0).size, 20);
}

// The scheme's files are the user's: a save that could not be written, or
// one into a file that is there but cannot be read, is named in a box and
// changes neither the file nor the colours and fonts in use; a damaged file
// is read as far as it goes and written whole at the next save.
TEST_F(SysStyleTest, SchemeSavesThatFailSaySoAndKeepTheFile) {
  WriteSchemeList({"s"}, "0");
  WriteBitmap("s");
  const std::string folder = Interface("");
  const struct {
    const char* name;
    const char* file;  // "CLR" or "FNT"
    std::function<void(const std::string&)> spoil;
    const char* box;  // what the box says, or null: saved
  } cases[] = {
      {"colours, a folder that cannot be written", "CLR",
       [&](const std::string&) { chmod(folder.c_str(), 0555); }, "未能保存"},
      {"fonts, a folder that cannot be written", "FNT",
       [&](const std::string&) { chmod(folder.c_str(), 0555); }, "未能保存"},
      {"colours, an unreadable file", "CLR", [](const std::string& p) { chmod(p.c_str(), 0); },
       "无法读取"},
      {"fonts, a folder in the file's place", "FNT",
       [](const std::string& p) {
         std::filesystem::remove(p);
         std::filesystem::create_directory(p);
       },
       "无法读取"},
      {"colours, a damaged file", "CLR",
       [](const std::string& p) { WriteBytes(p, std::string("\x01\xff[\x00garbage\n", 13)); },
       nullptr},
      {"fonts, a damaged file", "FNT",
       [](const std::string& p) { WriteBytes(p, std::string("\x01\xff[\x00garbage\n", 13)); },
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Interface(std::string("s.") + c.file);
    std::filesystem::remove_all(path);
    CSysStyle::ReleaseInstance();
    CSysStyle* style = CSysStyle::GetInstance();
    ASSERT_EQ(style->LoadScheme(), 1);
    const bool colours = c.file == std::string("CLR");
    // The file as a first save wrote it, then spoiled.
    ASSERT_EQ(colours ? style->SaveColors(0, {}) : style->SaveFonts(0, {}), 1);
    const std::string sound = ReadBytes(path);
    const COLORREF oldColor = style->GetColor(19);  // the first entry's
    const int oldSize = style->GetFontList()->at(0).size;
    c.spoil(path);
    const std::string spoiled = std::filesystem::is_regular_file(path) ? ReadBytes(path) : "";
    std::vector<SColorEntry> newColors = *style->GetColorList();
    newColors[0].color = RGB(9, 8, 7);
    std::vector<SFontEntry> newFonts = *style->GetFontList();
    newFonts[0].size = 21;
    const size_t before = boxes_.Boxes().size();
    int saved = 0;
    {
      EnforcedPermissions enforced;
      saved = colours ? style->SaveColors(0, newColors) : style->SaveFonts(0, newFonts);
    }
    chmod(folder.c_str(), 0755);
    chmod(path.c_str(), 0644);
    const auto all = boxes_.Boxes();
    if (c.box) {
      EXPECT_EQ(saved, 0);
      ASSERT_EQ(all.size(), before + 1);
      EXPECT_NE(all[before].text.find(GBK(c.box)), std::string::npos) << all[before].text;
      EXPECT_NE(all[before].text.find(path), std::string::npos) << all[before].text;
      EXPECT_EQ(style->GetColor(19), oldColor);
      EXPECT_EQ(style->GetFontList()->at(0).size, oldSize);
      if (std::filesystem::is_regular_file(path)) {
        EXPECT_EQ(ReadBytes(path), spoiled);
      }
    } else {
      EXPECT_EQ(saved, 1);
      EXPECT_EQ(all.size(), before);
      // Whole again: nothing of the damage, and what a sound file would hold.
      std::string expected = sound;
      const std::string from = colours ? "COLOR=" + std::to_string(oldColor) + "\r\n"
                                       : "FONTSIZE=" + std::to_string(oldSize) + "\r\n";
      const std::string to = colours ? "COLOR=460809\r\n" : "FONTSIZE=21\r\n";
      expected.replace(expected.find(from), from.size(), to);
      EXPECT_EQ(ReadBytes(path), expected);
    }
  }
}

// Scheme files that are there but cannot be read are called unreadable
// when the scheme loads, each by its path; the defaults stand in for them.
TEST_F(SysStyleTest, UnreadableSchemeFilesAreNamedWhenLoading) {
  WriteSchemeList({"s"}, "0");
  WriteBitmap("s");
  const std::vector<std::string> files = {Interface("s.CLR"), Interface("s.FNT")};
  for (const std::string& path : files) std::filesystem::create_directory(path);
  CSysStyle* style = CSysStyle::GetInstance();
  ASSERT_EQ(style->LoadScheme(), 1);
  EXPECT_EQ(style->GetColorList()->size(), CSysStyle::DefaultColors().size());
  const auto boxes = boxes_.Boxes();
  ASSERT_EQ(boxes.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_NE(boxes[i].text.find(GBK("无法读取")), std::string::npos) << boxes[i].text;
    EXPECT_NE(boxes[i].text.find(files[i]), std::string::npos) << boxes[i].text;
  }
}

}  // namespace
