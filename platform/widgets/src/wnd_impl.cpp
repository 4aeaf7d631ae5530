// The widget half of the window template and its one instantiation per Qt
// base, so the program and the libraries it loads share one copy.
//
// A scroll area (table, tree, multi-line edit) paints and takes the mouse
// on its viewport: the window filters the viewport's events into the same
// handlers, in viewport coordinates, and Default() hands them back to the
// scroll area's own viewport handling.
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <type_traits>

#include "platform/wnd_qt_bases.h"
#include "wnd_internal.h"

namespace {

bool IsViewportEvent(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Paint:
    case QEvent::Leave:
    case QEvent::ContextMenu: return true;
    default: return false;
  }
}

}  // namespace

template <class QtBase>
CWndImpl<QtBase>::CWndImpl(QWidget* parent) : QtBase(parent) {
  BindWidget(this, true);
  this->setMouseTracking(true);
  if constexpr (std::is_base_of_v<QAbstractScrollArea, QtBase>) {
    this->viewport()->setMouseTracking(true);
    this->viewport()->installEventFilter(this);
  }
}

template <class QtBase>
CWndImpl<QtBase>::~CWndImpl() {
  UnbindWidget();
}

template <class QtBase>
bool CWndImpl<QtBase>::event(QEvent* event) {
  return RouteEvent(event, false);
}

template <class QtBase>
bool CWndImpl<QtBase>::eventFilter(QObject* watched, QEvent* event) {
  if constexpr (std::is_base_of_v<QAbstractScrollArea, QtBase>) {
    if (watched == this->viewport() && IsViewportEvent(event->type()))
      return RouteEvent(event, true);
  }
  return QtBase::eventFilter(watched, event);
}

template <class QtBase>
bool CWndImpl<QtBase>::QtDefault(QEvent* event, bool viewport) {
  if constexpr (std::is_base_of_v<QAbstractScrollArea, QtBase>) {
    if (viewport) return QtBase::viewportEvent(event);
  }
  return QtBase::event(event);
}

template <class QtBase>
QWidget* CWndImpl<QtBase>::Viewport() const {
  if constexpr (std::is_base_of_v<QAbstractScrollArea, QtBase>) {
    return this->viewport();
  } else {
    return nullptr;
  }
}

template class CWndImpl<QWidget>;
template class CWndImpl<QMainWindow>;
template class CWndImpl<QDialog>;
template class CWndImpl<QLabel>;
template class CWndImpl<QPushButton>;
template class CWndImpl<QTableView>;
template class CWndImpl<QTreeWidget>;
template class CWndImpl<QLineEdit>;
template class CWndImpl<QComboBox>;
template class CWndImpl<QToolBar>;
template class CWndImpl<QTextBrowser>;
