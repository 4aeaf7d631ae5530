// Draws the program's own images into resources/: the login dialog's skin
// and button strips, the toolbar strips, the program icon and the colour
// scheme's scroll-thumb tile. Run by hand after changing a picture:
//   make_images <repository>/resources
// The output is committed; the build copies it into the program folder.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

#include "zeb/shell/frame/shell_toolbars.h"

namespace {

const QColor kKey(255, 0, 255);  // the login skin's cut-out colour (its top-left pixel)
const char* kFace = "WenQuanYi Micro Hei";

QFont Font(int pixels, bool bold = false) {
  QFont f(kFace);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

bool Save(const QImage& image, const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (!image.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// ---- The login dialog ----

QImage LoginBackground() {
  const int w = 480, h = 420, r = 10;
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 0, w, h), r, r);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(16, 52, 96));
  sky.setColorAt(0.45, QColor(24, 86, 140));
  sky.setColorAt(1, QColor(10, 34, 64));
  p.fillPath(body, sky);
  p.setRenderHint(QPainter::Antialiasing, true);
  // A faint price line across the upper band.
  QPainterPath line;
  const double pts[] = {0.78, 0.70, 0.74, 0.58, 0.63, 0.49, 0.55, 0.41, 0.45, 0.30, 0.36, 0.28};
  for (int i = 0; i < 12; ++i) {
    const QPointF at(20 + i * 40.0, 16 + pts[i] * 70);
    i ? line.lineTo(at) : line.moveTo(at);
  }
  p.setPen(QPen(QColor(120, 200, 255, 90), 2));
  p.drawPath(line);
  // The emblem: a round stamp with the letter Z.
  QRadialGradient gold(QPointF(56, 46), 26);
  gold.setColorAt(0, QColor(255, 222, 120));
  gold.setColorAt(1, QColor(196, 140, 30));
  p.setBrush(gold);
  p.setPen(QPen(QColor(255, 240, 190), 2));
  p.drawEllipse(QPointF(56, 46), 24, 24);
  p.setPen(QColor(90, 50, 0));
  p.setFont(Font(28, true));
  p.drawText(QRectF(32, 22, 48, 48), Qt::AlignCenter, "Z");
  p.setPen(Qt::white);
  p.setFont(Font(26, true));
  p.drawText(QRectF(92, 20, 360, 34), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("ZEB 藏品行情交易系统"));
  p.setPen(QColor(170, 210, 245));
  p.setFont(Font(13));
  p.drawText(QRectF(94, 52, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("邮票 · 钱币 · 卡片 · 封片"));
  // The form panel.
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.setBrush(QColor(255, 255, 255, 22));
  p.drawRoundedRect(QRectF(40, 138, 400, 170), 8, 8);
  // The bottom band.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(8, 26, 50));
  QPainterPath band;
  band.addRect(QRectF(0, h - 50, w, 50));
  p.drawPath(band.intersected(body));
  return img;
}

// A strip of frames stacked top to bottom (layout 2): normal, hover,
// pressed, disabled (four frames) or normal, selected (two).
QImage ButtonStrip(int w, int h, int frames, const QString& text, QColor base) {
  QImage img(w, h * frames, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int f = 0; f < frames; ++f) {
    QColor top = base.lighter(frames == 4 && f == 1 ? 135 : 120);
    QColor bottom = base.darker(frames == 4 && f == 2 ? 140 : 110);
    QColor textColour = Qt::white;
    if (frames == 4 && f == 3) top = bottom = QColor(120, 120, 120), textColour = QColor(200, 200, 200);
    if (frames == 2 && f == 0) top = QColor(60, 90, 130), bottom = QColor(40, 62, 96), textColour = QColor(200, 215, 235);
    const QRectF r(1, f * h + 1, w - 2, h - 2);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(frames == 2 && f == 1 ? QColor(255, 220, 120) : QColor(255, 255, 255, 90), frames == 2 && f == 1 ? 2 : 1));
    p.drawRoundedRect(r, 5, 5);
    p.setPen(textColour);
    p.setFont(Font(14, true));
    p.drawText(r.translated(0, frames == 4 && f == 2 ? 1 : 0), Qt::AlignCenter, text);
  }
  return img;
}

// ---- Icons ----

using Glyph = std::function<void(QPainter&)>;

void Polyline(QPainter& p, std::initializer_list<QPointF> pts) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& pt : pts) {
    first ? path.moveTo(pt) : path.lineTo(pt);
    first = false;
  }
  p.drawPath(path);
}

std::map<UINT, Glyph> Glyphs() {
  const QColor blue(30, 90, 170), green(20, 140, 60), red(200, 40, 30), dark(50, 50, 50), gold(220, 160, 20);
  std::map<UINT, Glyph> g;
  g[cmd::kConnect] = [=](QPainter& p) {
    p.setPen(QPen(green, 2));
    Polyline(p, {{2, 8}, {6, 8}});
    Polyline(p, {{10, 8}, {14, 8}});
    p.setBrush(green);
    p.drawRect(QRectF(5, 5, 3, 6));
    p.drawRect(QRectF(8.5, 5, 3, 6));
  };
  g[cmd::kDisconnect] = [=](QPainter& p) {
    p.setPen(QPen(red, 2));
    Polyline(p, {{2, 8}, {5, 8}});
    Polyline(p, {{11, 8}, {14, 8}});
    p.setBrush(red);
    p.drawRect(QRectF(4, 5, 2.5, 6));
    p.drawRect(QRectF(9.5, 5, 2.5, 6));
    p.setPen(QPen(red, 1.5));
    Polyline(p, {{7, 3}, {9, 13}});
  };
  g[cmd::kBack] = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    QPolygonF arrow({{2, 8}, {8, 2}, {8, 5.5}, {14, 5.5}, {14, 10.5}, {8, 10.5}, {8, 14}});
    p.drawPolygon(arrow);
  };
  g[cmd::kTimeShare] = [=](QPainter& p) {
    p.setPen(QPen(dark, 1));
    Polyline(p, {{1.5, 1}, {1.5, 14.5}, {15, 14.5}});
    p.setPen(QPen(blue, 1.6));
    Polyline(p, {{3, 11}, {5.5, 8}, {8, 9.5}, {10.5, 4.5}, {14, 6}});
  };
  g[cmd::kKLine] = [=](QPainter& p) {
    p.setPen(QPen(red, 1));
    Polyline(p, {{4, 2}, {4, 13}});
    p.setBrush(red);
    p.drawRect(QRectF(2.5, 4, 3, 6));
    p.setPen(QPen(green, 1));
    Polyline(p, {{8, 4}, {8, 14}});
    p.setBrush(green);
    p.drawRect(QRectF(6.5, 6, 3, 6));
    p.setPen(QPen(red, 1));
    Polyline(p, {{12, 1}, {12, 11}});
    p.setBrush(red);
    p.drawRect(QRectF(10.5, 2.5, 3, 6));
  };
  g[cmd::kDeals] = [=](QPainter& p) {
    p.setPen(QPen(dark, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
    for (int y = 4; y <= 12; y += 3) {
      p.setPen(QPen(y % 2 ? red : green, 1.2));
      Polyline(p, {{4.5, double(y)}, {11.5, double(y)}});
    }
  };
  g[cmd::kPriceTable] = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    const double widths[] = {5, 9, 12, 8, 4};
    for (int i = 0; i < 5; ++i) {
      p.setBrush(i == 2 ? red : blue);
      p.drawRect(QRectF(2, 2 + i * 2.6, widths[i], 1.8));
    }
  };
  g[cmd::kMarketList + 13] = [=](QPainter& p) {
    p.setPen(QPen(dark, 1));
    p.setBrush(QColor(235, 242, 252));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setPen(QPen(blue, 1));
    for (double y : {5.5, 8.5, 11.5}) Polyline(p, {{1.5, y}, {14.5, y}});
    Polyline(p, {{6.5, 2.5}, {6.5, 13.5}});
  };
  g[cmd::kFavourites] = [=](QPainter& p) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
      const double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 3.0 : 7.0;
      star << QPointF(8 + r * std::cos(a), 8.5 + r * std::sin(a));
    }
    p.setPen(QPen(QColor(160, 100, 0), 1));
    p.setBrush(gold);
    p.drawPolygon(star);
  };
  g[cmd::kPageTurn] = [=](QPainter& p) {
    p.setPen(QPen(dark, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 9, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({{9, 9}, {15, 9}, {12, 15}}));
  };
  g[cmd::kDrawTools] = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPolygon(QPolygonF({{4, 14}, {2, 12}, {11, 3}, {13, 5}}));
    p.setBrush(dark);
    p.drawPolygon(QPolygonF({{2, 12}, {4, 14}, {1, 15}}));
    p.setBrush(red);
    p.drawPolygon(QPolygonF({{11, 3}, {12.5, 1.5}, {14.5, 3.5}, {13, 5}}));
  };
  g[cmd::kFormulaManager] = [=](QPainter& p) {
    p.setPen(blue);
    QFont f("DejaVu Serif");
    f.setPixelSize(13);
    f.setItalic(true);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "fx");
  };
  g[cmd::kSystemSettings] = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    for (int i = 0; i < 8; ++i) {
      p.save();
      p.translate(8, 8);
      p.rotate(i * 45);
      p.drawRect(QRectF(-1.5, -7.5, 3, 4));
      p.restore();
    }
    p.drawEllipse(QPointF(8, 8), 5, 5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 8), 2, 2);
  };
  g[cmd::kFullScreen] = [=](QPainter& p) {
    p.setPen(QPen(blue, 1.6));
    Polyline(p, {{2, 6}, {2, 2}, {6, 2}});
    Polyline(p, {{10, 2}, {14, 2}, {14, 6}});
    Polyline(p, {{14, 10}, {14, 14}, {10, 14}});
    Polyline(p, {{6, 14}, {2, 14}, {2, 10}});
  };
  g[cmd::kHelp] = [=](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawEllipse(QPointF(8, 8), 7, 7);
    p.setPen(Qt::white);
    p.setFont(Font(12, true));
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "?");
  };
  // The drawing tools.
  g[cmd::kFirstDrawTool + 0] = [=](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3, 1}, {3, 13}, {6, 10}, {8.5, 15}, {10.5, 14}, {8, 9}, {12, 9}}));
  };
  g[cmd::kFirstDrawTool + 1] = [=](QPainter& p) {
    p.setPen(QPen(red, 1.6));
    Polyline(p, {{2, 14}, {14, 2}});
  };
  g[cmd::kFirstDrawTool + 2] = [=](QPainter& p) {
    p.setPen(QPen(red, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 4.5, 11, 8));
  };
  g[cmd::kFirstDrawTool + 3] = [=](QPainter& p) {
    p.setPen(QPen(red, 1.4));
    Polyline(p, {{1, 10}, {11, 2}});
    Polyline(p, {{5, 14}, {15, 6}});
  };
  g[cmd::kFirstDrawTool + 4] = [=](QPainter& p) {
    p.setPen(QPen(gold, 1.2));
    for (double y : {2.5, 5.5, 8.0, 10.5, 13.5}) Polyline(p, {{1, y}, {15, y}});
  };
  g[cmd::kFirstDrawTool + 5] = [=](QPainter& p) {
    p.setPen(QPen(red, 1.1));
    for (double y : {2.0, 6.0, 10.0}) Polyline(p, {{1, 15}, {15, y}});
  };
  g[cmd::kFirstDrawTool + 6] = [=](QPainter& p) {
    p.setPen(QPen(red, 2.2));
    Polyline(p, {{3, 3}, {13, 13}});
    Polyline(p, {{13, 3}, {3, 13}});
  };
  return g;
}

// One 16 x 16 cell per button in order (separators take none), on the
// toolbars' light grey (192,192,192), which the toolbar turns into its face.
QImage Strip(std::span<const UINT> buttons, bool disabled) {
  const auto glyphs = Glyphs();
  int count = 0;
  for (UINT id : buttons) count += id != 0;
  const int s = toolbars::kImageSize;
  QImage img(s * count, s, QImage::Format_RGB32);
  img.fill(QColor(192, 192, 192));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  int cell = 0;
  for (UINT id : buttons) {
    if (id == 0) continue;
    p.save();
    p.translate(cell * s, 0);
    auto found = glyphs.find(id);
    if (found != glyphs.end()) found->second(p);
    p.restore();
    ++cell;
  }
  p.end();
  if (disabled) {
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        if (c == QColor(192, 192, 192)) continue;
        const int grey = 150 + qGray(c.rgb()) / 4;
        img.setPixelColor(x, y, QColor(grey, grey, grey));
      }
  }
  return img;
}

QImage ProgramIcon() {
  QImage img(48, 48, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient gold(QPointF(20, 18), 30);
  gold.setColorAt(0, QColor(255, 226, 130));
  gold.setColorAt(1, QColor(190, 130, 20));
  p.setBrush(gold);
  p.setPen(QPen(QColor(120, 70, 0), 2));
  p.drawEllipse(QRectF(3, 3, 42, 42));
  p.setPen(QColor(90, 45, 0));
  p.setFont(Font(30, true));
  p.drawText(QRectF(0, 0, 48, 48), Qt::AlignCenter, "Z");
  return img;
}

QImage SliderTile() {
  QImage img(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) img.setPixelColor(x, y, (x + y) % 4 < 2 ? QColor(0, 110, 130) : QColor(0, 80, 100));
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_images <resources folder>\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  bool ok = true;
  ok &= Save(LoginBackground(), out + "/login/ImgBk.png");
  ok &= Save(ButtonStrip(90, 30, 4, QString::fromUtf8("登 录"), QColor(214, 120, 20)), out + "/login/ImgOkBtn.png");
  ok &= Save(ButtonStrip(90, 30, 4, QString::fromUtf8("取 消"), QColor(70, 110, 160)), out + "/login/ImgCancleBtn.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString::fromUtf8("行情"), QColor(200, 110, 20)), out + "/login/QuoteLog.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString::fromUtf8("行情+交易"), QColor(200, 110, 20)), out + "/login/QuoteTradeLog.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString::fromUtf8("交易"), QColor(200, 110, 20)), out + "/login/TradeLog.png");
  ok &= Save(Strip(toolbars::kMain, false), out + "/toolbar/120.png");
  ok &= Save(Strip(toolbars::kMain, true), out + "/toolbar/201.png");
  ok &= Save(Strip(toolbars::kDrawTools, false), out + "/toolbar/206.png");
  ok &= Save(Strip(toolbars::kFullScreen, false), out + "/toolbar/208.png");
  ok &= Save(ProgramIcon(), out + "/zeb.png");
  ok &= Save(SliderTile(), out + "/scheme/slider.bmp");
  return ok ? 0 : 1;
}
