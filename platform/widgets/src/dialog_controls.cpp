// The basic controls of a dialog table and how they talk to their window.
//
// Each kind is a factory that makes a plain Qt widget with the item's text
// and style and wires its notifications: BN_CLICKED for buttons (clicks
// and click(), never programmatic checks), EN_CHANGE for every change of an
// edit's text (also by SetWindowText, as Win32 does), EN_SETFOCUS and
// EN_KILLFOCUS, CBN_SELCHANGE and LBN_SELCHANGE for changes the user makes
// only (never for a selection set by code), LBN_DBLCLK. Radio buttons form
// exclusive groups from a WS_GROUP item to the next one, and a group may
// still be all unchecked.
//
// Before a control paints, its window's OnCtlColor is asked for its
// colours, as Win32's WM_CTLCOLOR* messages do.
#include <QButtonGroup>
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/dialog.h"
#include "edit_input.h"
#include "platform/gbk_limited_edit.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace platform {
namespace {

const char kCtlColorKind[] = "zebCtlColorKind";
const char kCtlColored[] = "zebCtlColored";

QString TextOf(const DialogItem& item) { return GbkToQString(item.text ? item.text : ""); }

// Win32's check boxes and radio buttons take a click anywhere in their
// rectangle, not only on the box and the text.
template <class Button>
class WholeRectButton : public Button {
 public:
  using Button::Button;

 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// A list box that tells a selection the user makes from one made by code:
// only changes made while it handles the user's mouse or keys notify.
class ListBox : public QListWidget {
 public:
  explicit ListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
      if (userInput_ > 0) NotifyParent(this, LBN_SELCHANGE);
    });
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this] { NotifyParent(this, LBN_DBLCLK); });
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    UserInput([&] { QListWidget::mousePressEvent(e); });
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    UserInput([&] { QListWidget::mouseMoveEvent(e); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    UserInput([&] { QListWidget::mouseReleaseEvent(e); });
  }
  void keyPressEvent(QKeyEvent* e) override {
    UserInput([&] { QListWidget::keyPressEvent(e); });
  }

 private:
  template <class Fn>
  void UserInput(Fn&& fn) {
    ++userInput_;
    fn();
    --userInput_;
  }
  int userInput_ = 0;
};

QWidget* MakeStatic(QWidget* parent, const DialogItem& item) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(TextOf(item));
  ApplyStaticStyle(label, item.style);
  return label;
}

QWidget* MakeButton(QWidget* parent, const DialogItem& item) {
  auto* button = new QPushButton(TextOf(item), parent);
  // Enter is the dialog's business (see CDialog), never the button's own.
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button,
                   [button] { NotifyParent(button, BN_CLICKED); });
  return button;
}

QWidget* MakeCheckBox(QWidget* parent, const DialogItem& item) {
  auto* box = new WholeRectButton<QCheckBox>(TextOf(item), parent);
  const DWORD kind = item.style & BS_TYPEMASK;
  box->setTristate(kind == BS_3STATE || kind == BS_AUTO3STATE);
  QObject::connect(box, &QCheckBox::clicked, box, [box] { NotifyParent(box, BN_CLICKED); });
  return box;
}

QWidget* MakeRadio(QWidget* parent, const DialogItem& item) {
  auto* radio = new WholeRectButton<QRadioButton>(TextOf(item), parent);
  // Groups are the table's (WS_GROUP), not Qt's one-per-parent.
  radio->setAutoExclusive(false);
  QObject::connect(radio, &QRadioButton::clicked, radio,
                   [radio] { NotifyParent(radio, BN_CLICKED); });
  return radio;
}

QWidget* MakeGroupBox(QWidget* parent, const DialogItem& item) {
  auto* group = new QGroupBox(TextOf(item), parent);
  group->setFocusPolicy(Qt::NoFocus);
  return group;
}

QWidget* MakeEdit(QWidget* parent, const DialogItem& item) {
  const DWORD style = item.style;
  if (style & ES_MULTILINE) {
    auto* edit = new GbkLimitedTextEdit(parent);
    edit->setPlainText(GbkToQString(CrLfToLf(item.text ? item.text : "")));
    edit->setReadOnly(style & ES_READONLY);
    edit->setTabChangesFocus(true);  // Tab moves on in a dialog, as Win32's
    edit->setLineWrapMode((style & WS_HSCROLL) ? QPlainTextEdit::NoWrap
                                               : QPlainTextEdit::WidgetWidth);
    // Qt reports a new line as two changes, the first before the text
    // changes; Win32 reports one.
    auto last = std::make_shared<QString>(edit->toPlainText());
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, last] {
      QString now = edit->toPlainText();
      if (now == *last) return;
      *last = std::move(now);
      NotifyParent(edit, EN_CHANGE);
    });
    return edit;
  }
  auto* edit = new QLineEdit(TextOf(item), parent);
  if (style & ES_PASSWORD) edit->setEchoMode(QLineEdit::Password);
  edit->setReadOnly(style & ES_READONLY);
  ApplyLineEditInput(edit, style, 0);
  if ((style & 3) == ES_CENTER) edit->setAlignment(Qt::AlignCenter);
  if ((style & 3) == ES_RIGHT) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { NotifyParent(edit, EN_CHANGE); });
  return edit;
}

QWidget* MakeComboBox(QWidget* parent, const DialogItem& item) {
  auto* combo = new QComboBox(parent);
  const DWORD kind = item.style & 3;
  combo->setEditable(kind == CBS_DROPDOWN || kind == CBS_SIMPLE);
  if (combo->isEditable()) {
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(TextOf(item));
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                     [combo] { NotifyParent(combo, CBN_EDITCHANGE); });
  }
  // activated is Qt's user choice (mouse, keys, wheel), never a setCurrentIndex.
  QObject::connect(combo, &QComboBox::activated, combo,
                   [combo] { NotifyParent(combo, CBN_SELCHANGE); });
  return combo;
}

QWidget* MakeListBox(QWidget* parent, const DialogItem& item) {
  auto* list = new ListBox(parent);
  if (item.style & LBS_EXTENDEDSEL) list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  else if (item.style & LBS_MULTIPLESEL) list->setSelectionMode(QAbstractItemView::MultiSelection);
  return list;
}

QWidget* MakeDateTime(QWidget* parent, const DialogItem& item) {
  auto* edit = new QDateTimeEdit(QDateTime::currentDateTime(), parent);
  const bool time = (item.style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
  edit->setDisplayFormat(time ? "HH:mm:ss" : "yyyy-MM-dd");
  edit->setCalendarPopup(!time && !(item.style & DTS_UPDOWN));
  return edit;
}

std::map<std::string, ControlFactory>& Kinds() {
  static auto* kinds = new std::map<std::string, ControlFactory>{
      {kStatic, MakeStatic},     {kButton, MakeButton},     {kCheckBox, MakeCheckBox},
      {kRadio, MakeRadio},       {kGroupBox, MakeGroupBox}, {kEdit, MakeEdit},
      {kComboBox, MakeComboBox}, {kListBox, MakeListBox},   {kDateTime, MakeDateTime},
  };
  return *kinds;
}

UINT CtlColorKindOf(QWidget* w) {
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
      qobject_cast<QComboBox*>(w))
    return (StoredStyle(w) & ES_READONLY) && !qobject_cast<QComboBox*>(w) ? CTLCOLOR_STATIC
                                                                          : CTLCOLOR_EDIT;
  if (qobject_cast<QListWidget*>(w)) return CTLCOLOR_LISTBOX;
  if (qobject_cast<QPushButton*>(w)) return CTLCOLOR_BTN;
  return CTLCOLOR_STATIC;
}

// The window a control belongs to: its nearest created window ancestor.
CWnd* OwnerOf(QWidget* control) {
  for (QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget()) {
    CWnd* wnd = LookupWnd(w);
    if (wnd && wnd->IsCreated() && wnd->GetSafeHwnd()) return wnd;
    if (w->isWindow()) break;
  }
  return nullptr;
}

void ApplyCtlColor(QWidget* control) {
  CWnd* owner = OwnerOf(control);
  if (!owner) return;
  const UINT kind = control->property(kCtlColorKind).toUInt();
  CDC dc;
  // The control's own class answers first (reflected), then its window.
  HWND self = CWnd::FromWidget(control)->GetSafeHwnd();
  auto* brush = reinterpret_cast<HBRUSH>(::SendMessage(self, OCM__BASE + WM_CTLCOLORMSGBOX + kind,
                                                       reinterpret_cast<WPARAM>(&dc),
                                                       reinterpret_cast<LPARAM>(self)));
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(::SendMessage(owner->GetSafeHwnd(), WM_CTLCOLORMSGBOX + kind,
                                                   reinterpret_cast<WPARAM>(&dc),
                                                   reinterpret_cast<LPARAM>(self)));
  if (!brush) {
    if (control->property(kCtlColored).toBool()) {
      control->setProperty(kCtlColored, false);
      control->setPalette(QPalette());
      control->setAutoFillBackground(false);
    }
    return;
  }
  control->setProperty(kCtlColored, true);
  // The colours are the label's and the background's. A check box or radio
  // button keeps its own box (white, framed, dark mark), as the desktop
  // draws it whatever the window asks: on a dark window a box coloured
  // like its label would show a bare mark.
  QPalette palette = control->palette();
  const bool ownBox = qobject_cast<QCheckBox*>(control) || qobject_cast<QRadioButton*>(control);
  const QColor text = gdi_detail::ToQColor(dc.GetTextColor());
  palette.setColor(QPalette::WindowText, text);
  if (!ownBox)
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
      palette.setColor(role, text);
  const bool transparent = brush->IsHollow();
  const QColor back =
      transparent ? QColor(Qt::transparent) : gdi_detail::ToQColor(brush->GetColor());
  if (!ownBox)
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button})
      palette.setColor(role, back);
  // A hollow brush leaves the window role alone: nothing is filled, and
  // the box's frame is drawn from it.
  if (!ownBox || !transparent) palette.setColor(QPalette::Window, back);
  control->setPalette(palette);  // no change, no repaint
  control->setAutoFillBackground(!transparent);
}

// Colours before painting, edit focus notifications.
class ControlFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w) return false;
    // A scroll area paints on its viewport.
    QWidget* control = w->property(kCtlColorKind).isValid() ? w : w->parentWidget();
    if (!control || !control->property(kCtlColorKind).isValid()) return false;
    switch (event->type()) {
      case QEvent::Paint: ApplyCtlColor(control); break;
      case QEvent::FocusIn:
      case QEvent::FocusOut:
        if (control == w && (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)))
          NotifyParent(w, event->type() == QEvent::FocusIn ? EN_SETFOCUS : EN_KILLFOCUS);
        break;
      default: break;
    }
    return false;
  }
};

// A radio button joins the group of the radio button made just before it,
// unless it starts a group (WS_GROUP).
void JoinRadioGroup(QRadioButton* radio, DWORD style) {
  QRadioButton* previous = nullptr;
  const QObjectList& siblings = radio->parentWidget()->children();
  for (int i = (int)siblings.indexOf(radio) - 1; i >= 0; --i) {
    if (siblings[i]->isWidgetType()) {
      previous = qobject_cast<QRadioButton*>(siblings[i]);
      break;
    }
  }
  QButtonGroup* group = previous && !(style & WS_GROUP) ? previous->group() : nullptr;
  if (!group) group = new QButtonGroup(radio);  // lives as long as the group's first button
  group->addButton(radio);
}

ControlFilter* TheControlFilter() {
  static QPointer<ControlFilter> filter;
  if (!filter) filter = new ControlFilter(QCoreApplication::instance());
  return filter;
}

}  // namespace

ControlFactory RegisterControlKind(const char* kind, ControlFactory factory) {
  ControlFactory& slot = Kinds()[kind ? kind : ""];
  ControlFactory previous = slot;
  slot = factory;
  return previous;
}

void InstallCtlColor(QWidget* control, UINT kind) {
  if (!control) return;
  control->setProperty(kCtlColorKind, kind);
  control->installEventFilter(TheControlFilter());
  if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
    area->viewport()->installEventFilter(TheControlFilter());
}

QWidget* CreateControl(CWnd* parent, const DialogItem& item, const RECT& pixels) {
  if (!parent || !parent->GetWidget() || !item.kind) return nullptr;
  auto it = Kinds().find(item.kind);
  if (it == Kinds().end() || !it->second) return nullptr;
  QWidget* control = it->second(parent->GetWidget(), item);
  if (!control) return nullptr;
  MarkLayerOwned(control);
  CWnd* wnd = LookupWnd(control);
  if (wnd && !wnd->IsCreated()) {
    // A window class (list control, tree, spin button ...) is created like
    // any window, so its OnCreate sees its place and its neighbours.
    if (CFont* font = parent->GetFont()) wnd->SetFont(font);
    // Its colours are its own (list and tree controls ask no OnCtlColor).
    if (!wnd->Create(parent, pixels, (UINT)item.id, item.style | WS_CHILD | WS_VISIBLE)) {
      delete control;
      return nullptr;
    }
    return control;
  }
  control->setObjectName(QString::number(item.id));
  SetStoredStyle(control, item.style | WS_CHILD | WS_VISIBLE);
  if (CFont* font = parent->GetFont()) CWnd::FromWidget(control)->SetFont(font);
  SetControlGeometry(control, pixels);
  control->setEnabled(!(item.style & WS_DISABLED));
  if (auto* radio = qobject_cast<QRadioButton*>(control)) JoinRadioGroup(radio, item.style);
  InstallCtlColor(control, CtlColorKindOf(control));
  control->show();
  return control;
}

namespace detail {

void ApplyStaticStyle(QLabel* label, DWORD style) {
  Qt::Alignment h = Qt::AlignLeft;
  if ((style & SS_TYPEMASK) == SS_CENTER) h = Qt::AlignHCenter;
  if ((style & SS_TYPEMASK) == SS_RIGHT) h = Qt::AlignRight;
  label->setAlignment(h | ((style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
  label->setWordWrap(!(style & SS_CENTERIMAGE));
  if (style & SS_SUNKEN) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void CopyCtlColor(QWidget* from, QWidget* to) {
  const QVariant kind = from ? from->property(kCtlColorKind) : QVariant();
  if (kind.isValid()) InstallCtlColor(to, kind.toUInt());
}

}  // namespace detail

void NotifyParent(QWidget* control, UINT code) {
  CWnd* owner = OwnerOf(control);
  if (!owner) return;
  bool ok = false;
  const int id = control->objectName().toInt(&ok);
  if (!ok) return;
  ::SendMessage(owner->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                reinterpret_cast<LPARAM>(CWnd::FromWidget(control)->GetSafeHwnd()));
}

}  // namespace platform
