// Controls by id, the way GetDlgItem finds them (direct children only),
// for tests: a missing id, a duplicate id or a control of another type
// fails the test.
#pragma once
#include <QAbstractButton>
#include <QWidget>
#include <type_traits>
#include <typeinfo>

#include <gtest/gtest.h>

#include "platform/wnd.h"

namespace platform::testing {

// The direct children of the window named by the id.
QWidgetList ChildrenWithId(const CWnd& wnd, int id);

// T is a Qt widget class (QPushButton) or a window class (CDialog).
template <class T>
T* FindCtl(const CWnd& wnd, int id) {
  const QWidgetList found = ChildrenWithId(wnd, id);
  if (found.size() != 1) {
    ADD_FAILURE() << (found.empty() ? "no control with id " : "more than one control with id ")
                  << id;
    return nullptr;
  }
  T* control = nullptr;
  if constexpr (std::is_base_of_v<QObject, T>) {
    control = dynamic_cast<T*>(found.front());
  } else {
    control = dynamic_cast<T*>(CWnd::FromWidget(found.front()));
  }
  if (!control) ADD_FAILURE() << "control " << id << " is not a " << typeid(T).name();
  return control;
}

// Clicks the button with the id as the user would.
void ClickCtl(const CWnd& wnd, int id);

}  // namespace platform::testing
