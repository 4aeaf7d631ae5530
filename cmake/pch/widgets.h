// The gui set and the Qt Widgets headers the window layer's public headers
// bring into every window source (cmake/pch/core.h says how the set is
// used).
#pragma once
#include "gui.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QWidget>
