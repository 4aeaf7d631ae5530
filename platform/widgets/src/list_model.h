// The list control's rows and columns as a model of its own: per row the
// GBK texts, the item data and the image; per column the heading, format,
// fixed mark and header lParam. The view asks it only for the cells it
// shows, so a long list costs its texts and nothing per cell besides, and
// a text is converted for the screen only while its row is on it.
#pragma once
#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::detail {

struct ListRow {
  std::vector<std::string> texts;  // GBK; cells past the end are empty
  DWORD_PTR data = 0;
  int image = -1;
};

class ListModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                     int role) override;

  int Rows() const { return static_cast<int>(rows_.size()); }
  int Columns() const { return static_cast<int>(columns_.size()); }
  // Callers keep row and column within the counts.
  const ListRow& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
  const std::string& Text(int row, int column) const;
  void SetText(int row, int column, std::string text);
  void SetData(int row, DWORD_PTR data) { rows_[static_cast<size_t>(row)].data = data; }
  void SetImage(int row, int image);

  void InsertColumn(int column, const QString& heading, int format);
  void RemoveColumn(int column);
  int Format(int column) const { return columns_[static_cast<size_t>(column)].format; }
  bool Fixed(int column) const { return columns_[static_cast<size_t>(column)].fixed; }
  void SetFixed(int column, bool fixed) { columns_[static_cast<size_t>(column)].fixed = fixed; }

  void InsertRow(int row, ListRow content);
  void RemoveRow(int row);
  // Every row at once: one reset for the whole list.
  void ResetRows(std::vector<ListRow> rows);
  // Row i takes what row order[i] held; order is a permutation of the rows.
  void Reorder(const std::vector<int>& order);

 private:
  struct Column {
    QString heading;
    int format = 0;
    bool fixed = false;
    qlonglong param = 0;
    QVariant alignment;  // of the heading; set by the header's format
  };
  std::vector<Column> columns_;
  std::vector<ListRow> rows_;
};

// The alignment of a column format's justification (LVCFMT_ and HDF_ agree).
Qt::Alignment ColumnAlignment(int format);

}  // namespace platform::detail
