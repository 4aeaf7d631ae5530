// The colour and font choosers behind one replaceable sink: Qt's dialogs
// in the program, a scripted sink in tests.
#include <QColorDialog>
#include <QFontDialog>
#include <cmath>
#include <cstring>
#include <utility>

#include "gdi_internal.h"
#include "platform/dialog.h"
#include "platform/gbk.h"

namespace platform {
namespace {

QWidget* OwnerWidget(HWND owner) {
  CWnd* wnd = CWnd::FromHandle(owner);
  return wnd ? wnd->GetWidget() : nullptr;
}

class QtChoosers : public ChooserSink {
 public:
  bool ChooseColor(HWND owner, COLORREF* color) override {
    const QColor chosen = QColorDialog::getColor(gdi_detail::ToQColor(*color), OwnerWidget(owner));
    if (!chosen.isValid()) return false;
    *color = gdi_detail::FromQColor(chosen);
    return true;
  }

  bool ChooseFont(HWND owner, LOGFONT* font) override {
    CFont initial;
    initial.CreateFontIndirect(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial.Data()->Resolved(), OwnerWidget(owner));
    if (!ok) return false;
    LOGFONT lf;
    const std::string face = Utf8ToGbk(chosen.family().toStdString());
    GbkCopyCut(lf.lfFaceName, sizeof lf.lfFaceName, face.c_str());
    const double pixels =
        chosen.pixelSize() > 0 ? chosen.pixelSize() : chosen.pointSizeF() * 96.0 / 72.0;
    lf.lfHeight = -(LONG)std::lround(pixels);
    lf.lfWeight = chosen.weight();
    lf.lfItalic = chosen.italic();
    lf.lfUnderline = chosen.underline();
    lf.lfStrikeOut = chosen.strikeOut();
    lf.lfCharSet = font->lfCharSet;
    *font = lf;
    return true;
  }
};

ChooserSink* g_sink = nullptr;

ChooserSink* Sink() {
  static QtChoosers qt;
  return g_sink ? g_sink : &qt;
}

}  // namespace

ChooserSink* SetChooserSink(ChooserSink* sink) { return std::exchange(g_sink, sink); }

}  // namespace platform

namespace {
HWND HandleOf(CWnd* wnd) { return wnd ? wnd->GetSafeHwnd() : nullptr; }
}  // namespace

CColorDialog::CColorDialog(COLORREF initial, DWORD, CWnd* parent)
    : color_(initial), parent_(parent) {}

INT_PTR CColorDialog::DoModal() {
  return platform::Sink()->ChooseColor(HandleOf(parent_), &color_) ? IDOK : IDCANCEL;
}

CFontDialog::CFontDialog(const LOGFONT* initial, DWORD, CDC*, CWnd* parent) : parent_(parent) {
  if (initial) m_lf = *initial;
}

INT_PTR CFontDialog::DoModal() {
  return platform::Sink()->ChooseFont(HandleOf(parent_), &m_lf) ? IDOK : IDCANCEL;
}

void CFontDialog::GetCurrentFont(LOGFONT* font) const {
  if (font) *font = m_lf;
}
