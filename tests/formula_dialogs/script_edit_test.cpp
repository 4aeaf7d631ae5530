// The script box as the user meets it: typed words coloured by their class
// at computed character positions (and drawn in those colours), a known
// word rewritten in its listed spelling as one undo step that undo takes
// back, Tab typing a tab, and only touched lines coloured again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "formula/dialogs/ScriptEdit.h"
#include "formula/dialogs/ScriptHighlighter.h"
#include "formula/editor/FormulaScriptWords.h"
#include "platform/testing/app.h"

namespace formula {
namespace {

class ScriptEdit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    edit.resize(600, 300);
    edit.InitFormat();
    ConfigureFormulaScript(edit.Scanner());
    edit.ColorAll();
    ASSERT_TRUE(platform::testing::ShowAndActivate(&edit));
  }

  // The format the highlighter gave character column of line.
  QTextCharFormat FormatAt(int line, int column) const {
    const QTextBlock block = edit.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
      if (column >= range.start && column < range.start + range.length) return range.format;
    return QTextCharFormat();
  }
  QColor ColourAt(int line, int column) const {
    return FormatAt(line, column).foreground().color();
  }
  bool BoldAt(int line, int column) const {
    return FormatAt(line, column).fontWeight() == QFont::Bold;
  }

  // Types as the user does, one key (or, for Chinese, one committed
  // character) at a time.
  void Type(const QString& text) {
    for (QChar ch : text) {
      if (ch.unicode() < 0x80) QTest::keyClick(&edit, char(ch.unicode()));
      else QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
  }

  CTWScriptEdit edit;
};

TEST_F(ScriptEdit, TypedWordsTakeTheColoursOfTheirClass) {
  const QString line = QString::fromUtf8("a:close+ma(c,1.5e3); \"s\" 'note 收盘");
  Type(line);
  const QString shown = edit.document()->firstBlock().text();
  ASSERT_EQ(shown, QString::fromUtf8("a:CLOSE+MA(c,1.5e3); \"s\" 'note 收盘"));

  const QColor keyword = ColorRefToQColor(0x0080FF), function = ColorRefToQColor(0xFF00FF),
               comment = ColorRefToQColor(0x008000), number = ColorRefToQColor(0xFF0000),
               string = ColorRefToQColor(0x0000FF);
  const struct {
    const char* what;
    int column;
    QColor colour;
    bool bold;
  } cases[] = {
      {"plain word a", int(shown.indexOf("a:")), Qt::black, false},
      {"plain word c (in no list)", int(shown.indexOf("(c")) + 1, Qt::black, false},
      {"keyword CLOSE", int(shown.indexOf("CLOSE")) + 4, keyword, false},
      {"function MA", int(shown.indexOf("MA")) + 1, function, true},
      {"number 1.5e3 whole", int(shown.indexOf("1.5e3")) + 4, number, false},
      {"string", int(shown.indexOf("\"s\"")) + 2, string, false},
      {"comment to the line end", int(shown.indexOf(QString::fromUtf8("收盘"))), comment, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ColourAt(0, c.column), c.colour);
    EXPECT_EQ(BoldAt(0, c.column), c.bold);
  }

  // The widget draws them: green pixels inside the comment's place on screen.
  QTextCursor at(edit.document());
  at.setPosition(int(shown.indexOf('\'')));
  const QRect start = edit.cursorRect(at);
  at.setPosition(int(shown.size()));
  const QRect end = edit.cursorRect(at);
  QImage image(edit.viewport()->size(), QImage::Format_ARGB32);
  edit.viewport()->render(&image);
  int green = 0;
  for (int y = start.top(); y <= start.bottom(); ++y)
    for (int x = start.left(); x < end.left(); ++x)
      if (QColor(image.pixel(x, y)).green() > 60 && QColor(image.pixel(x, y)).red() < 60) ++green;
  EXPECT_GT(green, 10);
}

TEST_F(ScriptEdit, RewriteIsOneUndoStepKeepsTheCursorAndUndoTakesItBack) {
  Type("x:close");
  EXPECT_EQ(edit.toPlainText(), "x:CLOSE");
  EXPECT_EQ(edit.textCursor().position(), 7);
  edit.undo();  // the rewrite only
  EXPECT_EQ(edit.toPlainText(), "x:close");
  Type("+1");  // typing on rewrites the line again
  EXPECT_EQ(edit.toPlainText(), "x:CLOSE+1");

  // Typing inside a word leaves the cursor inside it.
  edit.setPlainText("y:opn;");
  QTextCursor c = edit.textCursor();
  c.setPosition(4);  // between "op" and "n"
  edit.setTextCursor(c);
  Type("e");
  EXPECT_EQ(edit.toPlainText(), "y:OPEN;");
  EXPECT_EQ(edit.textCursor().position(), 5);
}

TEST_F(ScriptEdit, TabTypesATabAndChineseTextStaysPlain) {
  Type(QString::fromUtf8("收盘价"));
  QTest::keyClick(&edit, Qt::Key_Tab);
  Type("c");
  EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("收盘价\tc"));
  EXPECT_TRUE(edit.hasFocus());
  EXPECT_FALSE(FormatAt(0, 0).foreground().style() != Qt::NoBrush);
}

TEST_F(ScriptEdit, OnlyTouchedLinesAreColouredAgain) {
  QString text;
  for (int i = 0; i < 50; ++i) text += QString("l%1:close+%2;\n").arg(i).arg(i);
  edit.setPlainText(text);
  // Strip the colours of every line, then type on line 20: only that line
  // gets them back. (Clearing marks the lines changed for the next edit
  // unless the mark is handed to the layout at once.)
  for (QTextBlock b = edit.document()->firstBlock(); b.isValid(); b = b.next())
    b.layout()->clearFormats();
  edit.document()->markContentsDirty(0, 0);
  QTextCursor c(edit.document()->findBlockByNumber(20));
  c.movePosition(QTextCursor::EndOfBlock);
  edit.setTextCursor(c);
  Type(" 'x");
  EXPECT_EQ(ColourAt(20, 4), ColorRefToQColor(0x0080FF));
  EXPECT_TRUE(edit.document()->findBlockByNumber(19).layout()->formats().empty());
  EXPECT_TRUE(edit.document()->findBlockByNumber(21).layout()->formats().empty());
  // ColorLines colours whole lines from a character of one to one of another.
  const int inLine21 = edit.document()->findBlockByNumber(21).position() + 3;
  const int inLine22 = edit.document()->findBlockByNumber(22).position() + 1;
  edit.ColorLines(inLine21, inLine22);
  EXPECT_FALSE(edit.document()->findBlockByNumber(21).layout()->formats().empty());
  EXPECT_FALSE(edit.document()->findBlockByNumber(22).layout()->formats().empty());
  EXPECT_TRUE(edit.document()->findBlockByNumber(23).layout()->formats().empty());
  edit.ColorRange(5, 5);  // an empty range colours nothing
  EXPECT_TRUE(edit.document()->findBlockByNumber(0).layout()->formats().empty());
}

// A paste takes exactly the GBK bytes the limit leaves (a Chinese
// character is two, a line break the two of CR LF), never half a character.
TEST_F(ScriptEdit, APasteKeepsTheGbkBytesThatFitWithoutSplittingACharacter) {
  struct Case {
    const char* text;
    int limit;
    const char* pasted;
    const char* kept;
    bool replacesAll = false;  // the paste replaces the whole text, not appends
  };
  const Case cases[] = {
      {"收盘价+1", 10, "价ab", "收盘价+1价"},  // 8 bytes and 2: full to the byte
      {"收盘价+", 10, "价格", "收盘价+价"},    // 3 left: the second would be split
      {"收盘价+", 10, "ab价", "收盘价+ab"},    // 3 left: one byte of 价 would remain
      {"a", 5, "b\nc价", "ab\nc"},             // the break takes two
      {"", 3, "价价", "价"},
      {"ab\ncd", 8, "abcdefghij", "abcdefgh", true},  // the selected break frees two
  };
  for (const Case& c : cases) {
    edit.SetLimit(c.limit);
    edit.setPlainText(QString::fromUtf8(c.text));
    if (c.replacesAll) edit.selectAll();
    else edit.moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8(c.kept)) << c.text << " + " << c.pasted;
  }
}

TEST_F(ScriptEdit, TypingStopsAtTheByteLimitButCodeIsNotCut) {
  edit.SetLimit(10);
  edit.setPlainText(QString::fromUtf8("收盘价+1"));  // 8 bytes
  edit.moveCursor(QTextCursor::End);
  // A committed input method text is cut to the two bytes left.
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("均线"));
  QApplication::sendEvent(&edit, &commit);
  EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("收盘价+1均"));
  // Full: keys add nothing, a tab and a line break included.
  Type("x");
  QTest::keyClick(&edit, Qt::Key_Tab);
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("收盘价+1均"));
  // Replacing a selection makes room; the program's own text is whole.
  edit.selectAll();
  Type("y");
  EXPECT_EQ(edit.toPlainText(), "y");
  edit.setPlainText(QString(12, u'z'));
  EXPECT_EQ(edit.toPlainText().size(), 12);
}

}  // namespace
}  // namespace formula
