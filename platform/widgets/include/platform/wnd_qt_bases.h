// Windows over Qt's control widgets: a window class that is a label, a
// push button, a table view, a tree, a line edit, a combo box, a tool bar or a
// rich-text browser derives from CWndImpl<that widget>. The template is instantiated once, in the platform
// library; a further base is one line there and one here.
#pragma once
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

#include "platform/wnd.h"

extern template class CWndImpl<QLabel>;
extern template class CWndImpl<QPushButton>;
extern template class CWndImpl<QTableView>;
extern template class CWndImpl<QTreeWidget>;
extern template class CWndImpl<QLineEdit>;
extern template class CWndImpl<QComboBox>;
extern template class CWndImpl<QToolBar>;
extern template class CWndImpl<QTextBrowser>;
