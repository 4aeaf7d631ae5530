// Showing menus: TrackPopupMenu (a QMenu, or a grid of columns where the
// menu breaks into columns, as Win32 draws MF_MENUBREAK), the menu hook
// that answers it in tests, and the frame's menu bar.
#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QToolButton>
#include <utility>

#include "menu_internal.h"
#include "platform/gbk.h"
#include "platform/wnd.h"

namespace platform {
namespace {

MenuHook* g_menuHook = nullptr;

constexpr UINT kBreaks = MF_MENUBREAK | MF_MENUBARBREAK;

bool Enabled(UINT flags) { return !(flags & (MF_GRAYED | MF_DISABLED)); }

QString ItemText(const CMenu& menu, int i) {
  std::string text;
  menu.GetMenuString((UINT)i, text, MF_BYPOSITION);
  return GbkToQString(text);
}

bool HasColumns(const CMenu& menu) {
  for (int i = 1; i < menu.GetMenuItemCount(); ++i)
    if (menu.GetMenuState((UINT)i, MF_BYPOSITION) & kBreaks) return true;
  return false;
}

// A pop-up of columns: a new column starts at each item with a break.
class MenuGrid : public QFrame {
 public:
  explicit MenuGrid(const CMenu& menu) : QFrame(nullptr, Qt::Popup) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(0);
    grid->setContentsMargins(2, 2, 2, 2);
    int column = 0, row = 0;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
      const UINT state = menu.GetMenuState((UINT)i, MF_BYPOSITION);
      if (i > 0 && (state & kBreaks)) {
        ++column;
        row = 0;
      }
      QWidget* cell = nullptr;
      if (state & MF_SEPARATOR) {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        cell = line;
      } else {
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setText(ItemText(menu, i));
        button->setEnabled(Enabled(state));
        button->setCheckable(state & MF_CHECKED);
        button->setChecked(state & MF_CHECKED);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        if (CMenu* sub = menu.GetSubMenu(i)) {
          auto* popup = new QMenu(button);
          detail::FillQMenu(popup, *sub);
          button->setMenu(popup);
          button->setPopupMode(QToolButton::InstantPopup);
          connect(popup, &QMenu::triggered, this,
                  [this](QAction* a) { Choose(a->data().toUInt()); });
        } else {
          const UINT id = menu.GetMenuItemID(i);
          connect(button, &QToolButton::clicked, this, [this, id] { Choose(id); });
        }
        cell = button;
      }
      grid->addWidget(cell, row++, column);
    }
  }

  UINT Run(QPoint at) {
    move(at);
    show();
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    return chosen_;
  }

 protected:
  void hideEvent(QHideEvent* event) override {
    QFrame::hideEvent(event);
    if (loop_) loop_->quit();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) close();
    else QFrame::keyPressEvent(event);
  }

 private:
  void Choose(UINT id) {
    chosen_ = id;
    close();
  }
  UINT chosen_ = 0;
  QEventLoop* loop_ = nullptr;
};

// Where a menu of this size goes for the alignment flags, kept on screen.
QPoint Place(QSize size, UINT flags, int x, int y) {
  if (flags & TPM_RIGHTALIGN) x -= size.width();
  else if (flags & TPM_CENTERALIGN) x -= size.width() / 2;
  if (flags & TPM_BOTTOMALIGN) y -= size.height();
  else if (flags & TPM_VCENTERALIGN) y -= size.height() / 2;
  if (QScreen* screen = QGuiApplication::screenAt(QPoint(x, y))
                            ? QGuiApplication::screenAt(QPoint(x, y))
                            : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    x = std::max(area.left(), std::min(x, area.right() + 1 - size.width()));
    y = std::max(area.top(), std::min(y, area.bottom() + 1 - size.height()));
  }
  return QPoint(x, y);
}

UINT ShowPopup(const CMenu& menu, UINT flags, int x, int y) {
  if (HasColumns(menu)) {
    MenuGrid grid(menu);
    return grid.Run(Place(grid.sizeHint(), flags, x, y));
  }
  QMenu qmenu;
  detail::FillQMenu(&qmenu, menu);
  QAction* chosen = qmenu.exec(Place(qmenu.sizeHint(), flags, x, y));
  return chosen ? chosen->data().toUInt() : 0;
}

}  // namespace

MenuHook* SetMenuHook(MenuHook* hook) { return std::exchange(g_menuHook, hook); }

namespace detail {

void FillQMenu(QMenu* qmenu, const CMenu& menu) {
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    const UINT state = menu.GetMenuState((UINT)i, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      qmenu->addSeparator();
    } else if (CMenu* sub = menu.GetSubMenu(i)) {
      QMenu* child = qmenu->addMenu(ItemText(menu, i));
      child->setEnabled(Enabled(state));
      FillQMenu(child, *sub);
    } else {
      QAction* action = qmenu->addAction(ItemText(menu, i));
      action->setData(menu.GetMenuItemID(i));
      action->setEnabled(Enabled(state));
      action->setCheckable(state & MF_CHECKED);
      action->setChecked(state & MF_CHECKED);
    }
  }
}

}  // namespace detail
}  // namespace platform

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT*) {
  if (!data_) return FALSE;
  platform::UpdateMenuCommands(this, owner);
  const UINT chosen = platform::g_menuHook
                          ? platform::g_menuHook->OnTrackPopupMenu(*this, flags, x, y, owner)
                          : platform::ShowPopup(*this, flags, x, y);
  if (flags & TPM_RETURNCMD) return (BOOL)chosen;
  if (chosen && owner) owner->PostMessage(WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
  return TRUE;
}

// ---- The frame's menu bar --------------------------------------------------------

BOOL CFrameWnd::SetMenu(CMenu* menu) {
  QMenuBar* bar = menuBar();
  bar->clear();
  delete menu_;
  menu_ = nullptr;
  if (!menu || !menu->GetSafeHmenu()) {
    bar->hide();
    return TRUE;
  }
  menu_ = new CMenu();
  menu_->Attach(menu->GetSafeHmenu());
  auto send = [this](QAction* action) {
    SendMessage(WM_COMMAND, MAKEWPARAM(action->data().toUInt(), 0), 0);
  };
  for (int i = 0; i < menu_->GetMenuItemCount(); ++i) {
    const QString text = platform::ItemText(*menu_, i);
    if (CMenu* sub = menu_->GetSubMenu(i)) {
      QMenu* popup = bar->addMenu(text);
      platform::detail::FillQMenu(popup, *sub);
      // The state shown is the owner's at the moment the menu opens.
      QObject::connect(popup, &QMenu::aboutToShow, popup, [this, popup, i] {
        CMenu* now = menu_ ? menu_->GetSubMenu(i) : nullptr;
        if (!now) return;
        platform::UpdateMenuCommands(now, this);
        for (QMenu* child : popup->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
          child->deleteLater();
        popup->clear();
        platform::detail::FillQMenu(popup, *now);
      });
      QObject::connect(popup, &QMenu::triggered, popup, send);
    } else if (!(menu_->GetMenuState((UINT)i, MF_BYPOSITION) & MF_SEPARATOR)) {
      QAction* action = bar->addAction(text);
      action->setData(menu_->GetMenuItemID(i));
      QObject::connect(action, &QAction::triggered, action, [send, action] { send(action); });
    }
  }
  bar->show();
  return TRUE;
}

CMenu* CFrameWnd::GetMenu() const { return menu_; }
