// The HTML control: it takes its placeholder's place and shows its text at
// once, "app:" links run commands and never navigate, other links stay on
// the page (web and mail addresses open outside), nothing is read from
// files or the network, and escaping works on whole GBK characters.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "zeb/controls/html_ctrl.h"
#include "zeb/controls/toolbar_resources.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace {

constexpr int kPlaceholder = 1181, kStatus = 1182;

const platform::DialogItem kItems[] = {
    {platform::kStatic, kPlaceholder, nullptr, 10, 10, 380, 200},
    {platform::kStatic, kStatus, nullptr, 10, 220, 380, 20},
};

struct NoticeScene {
  bool app = platform::testing::EnsureApplication() != nullptr;
  platform::DialogTemplate tpl = platform::PixelTemplate(400, 250, kItems);
  std::unique_ptr<CDialog> dialog;
  CHtmlCtrl html;

  NoticeScene() {
    dialog = std::make_unique<CDialog>(tpl);
    EXPECT_TRUE(dialog->Create(nullptr));
  }
  ~NoticeScene() {
    html.DestroyWindow();
    dialog->DestroyWindow();
  }
  std::string Text() const { return platform::QStringToGbk(html.toPlainText()); }
};

TEST(HtmlCtrl, EscapingReplacesWholeAccentedCharactersOnly) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"\xA8\xA4\xA8\xA2\xA8\xA8\xA8\xA6\xA8\xAC", "&agrave;&aacute;&egrave;&eacute;&igrave;"},
      {"\xA8\xAA\xA8\xB0\xA8\xAE\xA8\xB4\xA8\xB2", "&iacute;&ograve;&oacute;&ugrave;&uacute;"},
      {std::string(GBK("中文")) + "\xA8\xA6", std::string(GBK("中文")) + "&eacute;"},
      {"a?b<i>", "a?b<i>"},
      // Two characters whose bytes would spell an accented letter across
      // their boundary: the trail byte of one and the lead byte of the next.
      {GBK("皑ぁ"), GBK("皑ぁ")},
      {"x\xA8", "x\xA8"},  // a lead byte at the end stays
  };
  for (const Case& c : cases) EXPECT_EQ(zebui::EscapeHtml(c.in), c.out) << c.in;
}

TEST(HtmlCtrl, TakesItsPlaceholdersPlaceAndShowsTheTextBeforeAndAfter) {
  NoticeScene s;
  s.html.SetHtmlText(GBK("<p>早上好</p>"));
  ASSERT_TRUE(s.html.CreateInPlace(kPlaceholder, s.dialog.get()));
  EXPECT_EQ(platform::testing::FindCtl<CHtmlCtrl>(*s.dialog, kPlaceholder), &s.html);
  EXPECT_EQ(s.html.GetWidget()->geometry(), QRect(10, 10, 380, 200));
  EXPECT_EQ(s.Text(), GBK("早上好"));
  s.html.SetHtmlText(GBK("<b>晚上好</b>"));
  EXPECT_EQ(s.Text(), GBK("晚上好"));

  CHtmlCtrl orphan;
  EXPECT_FALSE(orphan.CreateInPlace(4242, s.dialog.get()));
}

// Each link is clicked as the user would; the page stays as it was.
TEST(HtmlCtrl, AppLinksRunCommandsAndOtherLinksNeverNavigate) {
  NoticeScene s;
  CWndImpl<QWidget> mainWnd;
  ASSERT_TRUE(mainWnd.Create(nullptr, CRect(0, 0, 200, 100), 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  SetMainWnd(&mainWnd);
  s.html.SetHtmlText(
      "<p><a href=\"app:Beep\">beep</a></p><p><a href=\"app:Quit\">quit</a></p>"
      "<p><a href=\"APP:Minimise\">min</a></p>"
      "<p><a href=\"http://example.com/n\" target=\"_blank\">web</a></p>"
      "<p><a href=\"file:///etc/passwd\">file</a></p><p><a href=\"javascript:window.close()\">js</a></p>",
      FALSE);
  ASSERT_TRUE(s.html.CreateInPlace(kPlaceholder, s.dialog.get(), s.dialog->GetDlgItem(kStatus)));
  ASSERT_TRUE(platform::testing::ShowAndActivate(s.dialog->GetWidget()));
  const std::string page = s.Text();

  // Where each link lies on the viewport.
  QWidget* viewport = s.html.viewport();
  std::map<std::string, QPoint> links;
  for (int y = 1; y < viewport->height(); y += 2)
    for (int x = 1; x < 120; x += 2) {
      const QString href = s.html.anchorAt(QPoint(x, y));
      if (!href.isEmpty() && !links.count(href.toStdString()))
        links[href.toStdString()] = QPoint(x + 1, y + 1);
    }
  ASSERT_EQ(links.size(), 6u);

  struct Case {
    const char* href;
    const char* box;    // the box's text, or null for none
    const char* opens;  // the address opened outside, or null
    bool minimises;
  };
  const Case cases[] = {
      {"app:Beep", nullptr, nullptr, false},
      {"app:Quit", "Quit", nullptr, false},
      {"APP:Minimise", nullptr, nullptr, true},
      {"http://example.com/n", nullptr, "http://example.com/n", false},
      {"file:///etc/passwd", nullptr, nullptr, false},
      {"javascript:window.close()", nullptr, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.href);
    mainWnd.ShowWindow(SW_RESTORE);
    platform::ScopedRecordingBoxes boxes;
    platform::ScopedRecordingUrls urls;
    const auto link = links.find(c.href);
    ASSERT_NE(link, links.end());
    QTest::mouseMove(viewport, link->second);
    EXPECT_EQ(s.dialog->GetDlgItem(kStatus)->GetWindowTextString(),
              QUrl(link->first.c_str()).toString().toStdString());
    QTest::mouseClick(viewport, Qt::LeftButton, {}, link->second);
    ASSERT_EQ(boxes.Boxes().size(), c.box ? 1u : 0u);
    if (c.box) {
      EXPECT_EQ(boxes.Boxes()[0].text, c.box);
      EXPECT_EQ(boxes.Boxes()[0].caption, "Unexpected Command");
      EXPECT_EQ(boxes.Boxes()[0].type, MB_ICONQUESTION);
    }
    ASSERT_EQ(urls.Urls().size(), c.opens ? 1u : 0u);
    if (c.opens) {
      EXPECT_EQ(urls.Urls()[0], c.opens);
    }
    EXPECT_EQ(mainWnd.IsIconic() != FALSE, c.minimises);
    EXPECT_EQ(s.Text(), page);
    EXPECT_TRUE(s.html.IsWindowVisible());
  }
  SetMainWnd(nullptr);
  mainWnd.DestroyWindow();
}

TEST(HtmlCtrl, NothingIsReadFromFilesOrTheNetwork) {
  NoticeScene s;
  QTemporaryDir dir;
  const QString file = dir.filePath("picture.png");
  QImage(4, 4, QImage::Format_ARGB32).save(file);
  struct Case {
    QUrl url;
    bool loads;
  };
  const Case cases[] = {
      {QUrl::fromLocalFile(file), false},
      {QUrl(file), false},
      {QUrl("http://127.0.0.1:1/picture.png"), false},
      {QUrl("https://example.com/style.css"), false},
      {QUrl("qrc:/toolbar/draw16.png"), true},
      {QUrl(":/toolbar/draw16.png"), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(s.html.loadResource(QTextDocument::ImageResource, c.url).isValid(), c.loads)
        << c.url.toString().toStdString();
  }
}

}  // namespace
