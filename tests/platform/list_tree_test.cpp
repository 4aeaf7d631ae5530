// List and tree controls as the trading window and the formula editor use
// them: a colour list that sorts through a comparison, colours its rows
// from a hook and refuses resizing of a fixed column; a tree walked item by
// item, hit-tested at points computed from its item rectangles, telling
// mouse, key and code selections apart, and painted over by a hook.
#include <QHeaderView>
#include <QTreeWidget>
#include <functional>
#include <set>

#include "controls_fixture.h"

namespace {

using controls_test::MakeDialog;
using controls_test::PixelAt;
using controls_test::Render;
using platform::testing::FindCtl;

constexpr int kList = 200, kTree = 300;
const platform::DialogItem kItems[] = {
    {platform::kListCtrl, kList, nullptr, 10, 10, 360, 120, LVS_REPORT | LVS_SINGLESEL},
    {platform::kTreeCtrl, kTree, nullptr, 10, 140, 240, 150, TVS_HASBUTTONS | TVS_LINESATROOT},
};

std::string Note(int id, UINT code) { return std::to_string(id) + ":" + std::to_string(code); }

// The trading panels' list: the last column (no width) holds a colour code.
class ColourList : public CListCtrl {
 public:
  std::vector<int> columnClicks;
  BOOL OnItemColors(int item, COLORREF* text, COLORREF* back) override {
    const std::string code = GetItemText(item, GetColumnCount() - 1);
    if (code != "1" && code != "2") return FALSE;
    *text = RGB(255, 0, 0);
    *back = code == "1" ? RGB(255, 255, 255) : RGB(0xE7, 0xE7, 0xE7);
    return TRUE;
  }
  void OnColumnClick(int column) override {
    columnClicks.push_back(column);
    CListCtrl::OnColumnClick(column);
  }
};

// By item data (price in cents); param 1 ascending, -1 descending.
int ByPrice(LPARAM a, LPARAM b, LPARAM direction) {
  return (a < b ? -1 : a > b ? 1 : 0) * (int)direction;
}
// Not an order at all: must still leave every row, once.
int Contrary(LPARAM, LPARAM, LPARAM) { return -1; }

std::string Codes(const CListCtrl& list) {
  std::string codes;
  for (int i = 0; i < list.GetItemCount(); ++i) codes += list.GetItemText(i, 0) + " ";
  return codes;
}

bool HasReddish(const QImage& image, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 180 && c.green() < 90 && c.blue() < 90) return true;
    }
  return false;
}

TEST(ListCtrl, SortsByAComparisonColoursRowsAndKeepsFixedColumns) {
  auto dlg = MakeDialog(kItems);
  ColourList list;
  CDataExchange dx(dlg.get(), FALSE);
  DDX_Control(&dx, kList, list);
  ASSERT_EQ(FindCtl<ColourList>(*dlg, kList), &list);
  list.InsertColumn(0, GBK("代码"), LVCFMT_LEFT, 80);
  list.InsertColumn(1, GBK("价格"), LVCFMT_RIGHT, 80);
  list.InsertColumn(2, GBK("名称"), LVCFMT_LEFT, 100);
  list.InsertColumn(3, "", LVCFMT_LEFT, 0);
  list.SetColumnFixed(0);
  list.SetBkColor(RGB(250, 250, 210));
  const struct {
    const char *code, *price, *name, *colour;
    LPARAM cents;
  } rows[] = {{"600001", "10.00", "甲", "1", 1000},
              {"600002", "9.50", "乙", "2", 950},
              {"000003", "12.30", "丙", "", 1230}};
  for (const auto& r : rows) {
    const int i = list.InsertItem(list.GetItemCount(), r.code);
    list.SetItemText(i, 1, r.price);
    list.SetItemText(i, 2, GBK(r.name));
    list.SetItemText(i, 3, r.colour);
    list.SetItemData(i, (DWORD_PTR)r.cents);
  }
  EXPECT_EQ(dlg->Take(), "") << "filling the list is silent";

  // The user clicks 000003: selected and marked; the window hears it.
  RECT cell;
  list.GetSubItemRect(2, 2, LVIR_BOUNDS, &cell);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 3));
  EXPECT_EQ(list.GetSelectionMark(), 2);
  EXPECT_EQ(dlg->Take(), Note(kList, LVN_ITEMCHANGED) + " " + Note(kList, NM_CLICK));

  struct SortRow {
    PFNLVCOMPARE compare;
    LPARAM param;
    const char* codes;
  } sorts[] = {
      {ByPrice, 1, "600002 600001 000003 "},
      {ByPrice, -1, "000003 600001 600002 "},
      {Contrary, 0, nullptr},  // any order of the same rows
  };
  for (const SortRow& s : sorts) {
    ASSERT_TRUE(list.SortItems(s.compare, (DWORD_PTR)s.param));
    const std::string codes = Codes(list);
    if (s.codes) {
      EXPECT_EQ(codes, s.codes);
    }
    EXPECT_EQ(
        std::multiset<std::string>({codes.substr(0, 7), codes.substr(7, 7), codes.substr(14, 7)}),
        std::multiset<std::string>({"600001 ", "600002 ", "000003 "}));
    // The selection and the mark stay with 000003.
    const int at = list.GetSelectionMark();
    EXPECT_EQ(list.GetItemText(at, 0), "000003");
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), at);
  }
  list.SortItems(ByPrice, 1);
  EXPECT_EQ(dlg->Take(), "") << "sorting is silent";

  // Rows take the hook's colours unless selected; others keep the list's.
  const QImage image = Render(&list);
  const QPoint viewport = list.viewport()->geometry().topLeft();
  struct ColourRow {
    int item;
    COLORREF back;  // CLR_NONE: the selection's, whatever it is
    bool red;
  } colours[] = {
      {0, RGB(0xE7, 0xE7, 0xE7), true}, {1, RGB(255, 255, 255), true}, {2, CLR_NONE, false}};
  for (const ColourRow& c : colours) {
    RECT name;
    ASSERT_TRUE(list.GetSubItemRect(c.item, 2, LVIR_BOUNDS, &name));
    OffsetRect(name, viewport.x(), viewport.y());
    const COLORREF back = PixelAt(image, QPoint(name.right - 4, (name.top + name.bottom) / 2));
    if (c.back == CLR_NONE) {
      EXPECT_NE(back, RGB(250, 250, 210)) << "a selected row shows the selection";
    } else {
      EXPECT_EQ(back, c.back) << c.item;
    }
    EXPECT_EQ(HasReddish(image, name), c.red) << c.item;
  }

  // The header: a click sorts (the hook hears it), a fixed column keeps
  // its width, another follows the drag; a double click reaches the window.
  CHeaderCtrl* header = list.GetHeaderCtrl();
  RECT head;
  header->GetItemRect(1, &head);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint((head.left + head.right) / 2, 5));
  EXPECT_EQ(list.columnClicks, std::vector<int>{1});
  for (int column : {0, 1}) {
    header->GetItemRect(column, &head);
    const int before = list.GetColumnWidth(column);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(head.right - 1, 5));
    QTest::mouseMove(header->viewport(), QPoint(head.right + 30, 5));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(head.right + 30, 5));
    if (column == 0) {
      EXPECT_EQ(list.GetColumnWidth(column), before) << "fixed";
    } else {
      EXPECT_GT(list.GetColumnWidth(column), before);
    }
  }
  dlg->Take();
  list.GetSubItemRect(0, 1, LVIR_BOUNDS, &cell);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left + 5, cell.top + 3));
  EXPECT_EQ(list.GetSelectionMark(), 0);
  EXPECT_NE(dlg->Take().find(Note(kList, NM_DBLCLK)), std::string::npos);
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(CPoint(cell.left + 5, cell.top + 3), &flags), 0);
  EXPECT_EQ(flags, LVHT_ONITEMLABEL);
  EXPECT_EQ(list.HitTest(CPoint(5, list.viewport()->height() - 2), &flags), -1);
  EXPECT_EQ(flags, LVHT_NOWHERE);
}

// Records the selection changes with their causes and paints the selected
// item's text box over.
class RecordingTree : public CTreeCtrl {
 public:
  std::string changes;
  RECT paintedText{};
  UINT paintedState = 0;
  void OnSelChanged(HTREEITEM, HTREEITEM now, UINT action) override {
    static const char* const kCause[] = {"code", "mouse", "keys"};
    changes += (now ? GetItemText(now) : std::string("-")) + ":" + kCause[action] + " ";
    CTreeCtrl::OnSelChanged(nullptr, now, action);
  }
  void OnPaintItem(CDC* dc, HTREEITEM item, const RECT& text, UINT state) override {
    if (!(state & TVIS_SELECTED)) return;
    paintedText = text;
    paintedState = state;
    dc->FillSolidRect(&text, RGB(0, 0, 200));
  }
};

TEST(TreeCtrl, NavigatesHitTestsAndTellsSelectionCauses) {
  auto dlg = MakeDialog(kItems);
  QImage strip(32, 16, QImage::Format_ARGB32);
  strip.fill(QColor(0, 160, 0));
  CBitmap bitmap;
  bitmap.FromImage(strip);
  CImageList images;  // outlives the tree that shows it
  images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
  images.Add(&bitmap, RGB(255, 0, 255));
  RecordingTree tree;
  ASSERT_TRUE(tree.SubclassDlgItem(kTree, dlg.get()));
  tree.SetImageList(&images, TVSIL_NORMAL);

  HTREEITEM a = tree.InsertItem("A", 0, 1);
  HTREEITEM a1 = tree.InsertItem("A1", 0, 1, a);
  HTREEITEM a2 = tree.InsertItem("A2", 0, 1, a);
  HTREEITEM a2a = tree.InsertItem("A2a", 0, 1, a2);
  HTREEITEM c = tree.InsertItem("C", 0, 1);
  HTREEITEM b = tree.InsertItem("B", 0, 1, TVI_ROOT, a);  // after A
  HTREEITEM b1 = tree.InsertItem("B1", 0, 1, b);
  tree.SetItemData(b1, 0xB1);
  tree.Expand(a, TVE_EXPAND);

  struct NavRow {
    const char* what;
    HTREEITEM got;
    HTREEITEM expected;
  } nav[] = {
      {"root", tree.GetRootItem(), a},
      {"first child", tree.GetChildItem(a), a1},
      {"next sibling", tree.GetNextSiblingItem(a1), a2},
      {"inserted after a sibling", tree.GetNextSiblingItem(a), b},
      {"no previous sibling", tree.GetPrevSiblingItem(a1), nullptr},
      {"parent", tree.GetParentItem(a2a), a2},
      {"top level has no parent", tree.GetParentItem(b), nullptr},
      {"next visible skips a collapsed child", tree.GetNextVisibleItem(a2), b},
      {"next visible by code", tree.GetNextItem(a1, TVGN_NEXTVISIBLE), a2},
      {"previous visible", tree.GetPrevVisibleItem(b), a2},
      {"a hidden item has no next visible", tree.GetNextVisibleItem(b1), nullptr},
      {"last visible", tree.GetLastVisibleItem(), c},
      {"first visible", tree.GetFirstVisibleItem(), a},
  };
  for (const NavRow& r : nav) EXPECT_EQ(r.got, r.expected) << r.what;
  EXPECT_EQ(tree.GetCount(), 7u);
  EXPECT_EQ(tree.GetItemData(b1), 0xB1u);
  EXPECT_TRUE(tree.ItemHasChildren(a2));
  RECT rect;
  EXPECT_FALSE(tree.GetItemRect(b1, &rect, TRUE)) << "under a collapsed parent";
  EXPECT_EQ(dlg->Take(), "") << "building the tree is silent";

  // Points from the item rectangles.
  RECT a1Text, a1Row, aText;
  ASSERT_TRUE(tree.GetItemRect(a1, &a1Text, TRUE));
  ASSERT_TRUE(tree.GetItemRect(a1, &a1Row, FALSE));
  ASSERT_TRUE(tree.GetItemRect(a, &aText, TRUE));
  RECT last;
  tree.GetItemRect(c, &last, FALSE);
  const int middle = (a1Text.top + a1Text.bottom) / 2;
  struct HitRow {
    const char* what;
    CPoint point;
    HTREEITEM item;
    UINT flags;
  } hits[] = {
      {"on the label", CPoint((a1Text.left + a1Text.right) / 2, middle), a1, TVHT_ONITEMLABEL},
      {"on the image", CPoint(a1Text.left - 8, middle), a1, TVHT_ONITEMICON},
      {"right of the label", CPoint(a1Row.right - 3, middle), a1, TVHT_ONITEMRIGHT},
      {"on the button of an item with children",
       CPoint(aText.left - 16 - 10, (aText.top + aText.bottom) / 2), a, TVHT_ONITEMBUTTON},
      {"below the last item", CPoint(20, last.bottom + 5), nullptr, TVHT_NOWHERE},
      {"above the client area", CPoint(20, -5), nullptr, TVHT_ABOVE},
  };
  for (const HitRow& h : hits) {
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(h.point, &flags), h.item) << h.what;
    EXPECT_EQ(flags, h.flags) << h.what;
  }

  // Selections by mouse, code and keys; a right click selects nothing.
  RECT bText;
  tree.GetItemRect(b, &bText, TRUE);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(bText.left + 3, bText.top + 3));
  tree.SelectItem(c);
  tree.setFocus();
  QTest::keyClick(&tree, Qt::Key_Up);
  QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, QPoint(a1Text.left + 3, middle));
  EXPECT_EQ(tree.changes, "B:mouse C:code B:keys ");
  EXPECT_EQ(tree.GetSelectedItem(), b);
  EXPECT_EQ(dlg->Take(), Note(kTree, TVN_SELCHANGED) + " " + Note(kTree, NM_CLICK) + " " +
                             Note(kTree, TVN_SELCHANGED) + " " + Note(kTree, TVN_SELCHANGED) + " " +
                             Note(kTree, NM_RCLICK));

  // The hook paints over the selected item, in its text box.
  const QImage image = Render(&tree);
  tree.GetItemRect(b, &bText, TRUE);
  EXPECT_EQ(tree.paintedText.left, bText.left);
  EXPECT_EQ(tree.paintedText.top, bText.top);
  EXPECT_EQ(tree.paintedText.right, bText.right);
  EXPECT_TRUE(tree.paintedState & TVIS_SELECTED);
  const QPoint offset = tree.viewport()->geometry().topLeft();
  EXPECT_EQ(PixelAt(image, QPoint((bText.left + bText.right) / 2, (bText.top + bText.bottom) / 2) +
                               offset),
            RGB(0, 0, 200));

  tree.DeleteAllItems();
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);
  EXPECT_EQ(tree.changes, "B:mouse C:code B:keys ") << "deleting never notifies";
}

// A whole list at once: the rows replace the old ones (selection and mark
// gone, columns and their widths kept), missing cells read empty, the
// shown texts are the given GBK ones, and a note shows under the rows
// until it is cleared.
TEST(ListCtrl, SetItemTextsReplacesEveryRowAndANoteShowsUnderThem) {
  auto dlg = MakeDialog(kItems);
  ColourList list;
  ASSERT_TRUE(list.SubclassDlgItem(kList, dlg.get()));
  list.InsertColumn(0, GBK("代码"), LVCFMT_LEFT, 70);
  list.InsertColumn(1, GBK("名称"), LVCFMT_RIGHT, 90);
  list.InsertColumn(2, "", LVCFMT_LEFT, 0);
  list.InsertItem(0, "old");
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list.SetSelectionMark(0);
  dlg->Take();
  list.SetItemTexts({{"600001", GBK("甲"), "1"}, {"600002"}, {}});
  EXPECT_EQ(dlg->Take(), "") << "filling the list is silent";
  ASSERT_EQ(list.GetItemCount(), 3);
  EXPECT_EQ(list.GetSelectedCount(), 0u);
  EXPECT_EQ(list.GetSelectionMark(), -1);
  EXPECT_EQ(list.GetItemText(0, 1), GBK("甲"));
  EXPECT_EQ(list.GetItemText(1, 1), "");
  EXPECT_EQ(list.GetItemText(2, 0), "");
  EXPECT_EQ(list.GetItemText(3, 0), "");  // no such row
  EXPECT_EQ(list.GetColumnWidth(1), 90);
  EXPECT_EQ(list.model()->index(0, 1).data().toString(), QString::fromUtf8("甲"));
  EXPECT_TRUE(list.SetItemText(1, 1, GBK("乙")));
  EXPECT_EQ(list.GetItemText(1, 1), GBK("乙"));

  EXPECT_EQ(list.GetNote(), "");
  list.SetNote(GBK("只显示了一部分"));
  EXPECT_EQ(list.GetNote(), GBK("只显示了一部分"));
  list.SetNote("");
  EXPECT_EQ(list.GetNote(), "");
}

// A window class in a table's place leaves with its dialog and comes back
// when the dialog is built again.
TEST(ListCtrl, AWindowClassTakesTheTablesPlaceEachTimeTheDialogIsBuilt) {
  auto dlg = MakeDialog(kItems);
  ColourList list;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    if (round) {
      ASSERT_TRUE(dlg->Create(nullptr));
    }
    ASSERT_TRUE(list.SubclassDlgItem(kList, dlg.get()));
    EXPECT_EQ(FindCtl<ColourList>(*dlg, kList), &list);
    EXPECT_EQ(list.GetWidget()->geometry(), QRect(10, 10, 360, 120));
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection) << "the table's style";
    list.InsertColumn(0, "x");
    EXPECT_EQ(list.InsertItem(0, "row"), 0);
    dlg->DestroyWindow();
    EXPECT_FALSE(list.IsCreated());
    EXPECT_EQ(list.GetWidget()->parentWidget(), nullptr);
  }
}

}  // namespace
