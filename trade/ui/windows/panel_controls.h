// Small routines the trading panels share for their controls: the panels'
// background brush, reading a window's or Qt's text as GBK bytes, placing
// and showing a control by id, writing a list cell, making a panel's list,
// and putting a bank's name into a combo box.
#pragma once
#include <string>

#include "platform/controls.h"
#include "platform/gdi.h"

class QString;

// The panels' background (0xF0F0F0), returned for their colour requests.
// One brush for the process: panels come and go with every switch.
CBrush& TradePanelBrush();

// The window's text; "" for a window that does not exist.
std::string GetWindowString(const CWnd* wnd);
// A text taken from Qt as the byte string (GBK) the panels work with.
std::string ToStdString(const QString& text);

// One cell of a report list: column 0 inserts a new row at row with the
// text, any other column sets that cell of the row.
void SetListCell(CListCtrl& list, int row, int column, const std::string& text);

// Moves the child with the id, when it exists.
void PlaceCtl(CWnd& parent, int id, int x, int y, int cx, int cy);
// Shows or hides the child with the id, when it exists.
void ShowCtl(CWnd& parent, int id, bool show);

// Makes a panel's report list (single selection kept in sight, grid lines,
// full-row selection), then has the panel lay itself out (WM_SIZE), as
// its OnSize places the list.
BOOL CreatePanelList(CListCtrl& list, CWnd& panel, int id);

// Selects the first item that begins with text, searching after item 0 and
// wrapping to the top as the box's own prefix search does; adds text at
// the end when none does. Nothing for a box that does not exist.
void SelectOrAddComboString(CComboBox* combo, const std::string& text);
