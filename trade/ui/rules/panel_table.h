// What a panel's list shows, apart from the list control: the columns
// (title and width) and the rows of cell texts. Panels rebuild the rows from
// the session store on each panel message; the window copies them into
// its list control.
#pragma once
#include <string>
#include <vector>

struct SColumnSpec {
  const char* title;  // UTF-8 literal; GbkLiteral gives the shown bytes
  int width;
};

using PanelRow = std::vector<std::string>;  // GBK cell texts

struct SPanelTable {
  std::vector<SColumnSpec> columns;
  std::vector<PanelRow> rows;
  bool cut = false;  // the reply held more rows than a list takes
};
