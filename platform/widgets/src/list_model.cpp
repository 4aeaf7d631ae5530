#include "list_model.h"

#include <utility>

#include "item_views.h"
#include "platform/controls.h"
#include "platform/gbk.h"

namespace platform::detail {

namespace {
const std::string kNoText;
}  // namespace

Qt::Alignment ColumnAlignment(int format) {
  const int justify = format & LVCFMT_JUSTIFYMASK;
  const Qt::Alignment h = justify == LVCFMT_RIGHT    ? Qt::AlignRight
                          : justify == LVCFMT_CENTER ? Qt::AlignHCenter
                                                     : Qt::AlignLeft;
  return h | Qt::AlignVCenter;
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows(); }

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Columns();
}

const std::string& ListModel::Text(int row, int column) const {
  const std::vector<std::string>& texts = rows_[static_cast<size_t>(row)].texts;
  return static_cast<size_t>(column) < texts.size() ? texts[static_cast<size_t>(column)] : kNoText;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Rows() || index.column() >= Columns()) return QVariant();
  const ListRow& row = rows_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return GbkToQString(Text(index.row(), index.column()));
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColumnAlignment(Format(index.column())));
    case kImageRole:
      return index.column() == 0 && row.image >= 0 ? QVariant(row.image) : QVariant();
    case kDataRole:
      return index.column() == 0 ? QVariant::fromValue<qulonglong>(row.data) : QVariant();
    default: return QVariant();
  }
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= Columns()) return QVariant();
  const Column& c = columns_[static_cast<size_t>(section)];
  switch (role) {
    case Qt::DisplayRole: return c.heading;
    case Qt::TextAlignmentRole:
      return c.alignment.isValid() ? c.alignment : QVariant::fromValue(ColumnAlignment(c.format));
    case kFormatRole: return c.format;
    case kFixedRole: return c.fixed;
    case kHeaderParamRole: return c.param;
    default: return QVariant();
  }
}

bool ListModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                              int role) {
  if (orientation != Qt::Horizontal || section < 0 || section >= Columns()) return false;
  Column& c = columns_[static_cast<size_t>(section)];
  switch (role) {
    case Qt::DisplayRole: c.heading = value.toString(); break;
    case Qt::TextAlignmentRole: c.alignment = value; break;
    case kFormatRole: c.format = value.toInt(); break;
    case kFixedRole: c.fixed = value.toBool(); break;
    case kHeaderParamRole: c.param = value.toLongLong(); break;
    default: return false;
  }
  emit headerDataChanged(orientation, section, section);
  return true;
}

void ListModel::SetText(int row, int column, std::string text) {
  std::vector<std::string>& texts = rows_[static_cast<size_t>(row)].texts;
  if (texts.size() <= static_cast<size_t>(column)) texts.resize(static_cast<size_t>(column) + 1);
  texts[static_cast<size_t>(column)] = std::move(text);
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at, {Qt::DisplayRole});
}

void ListModel::SetImage(int row, int image) {
  rows_[static_cast<size_t>(row)].image = image;
  const QModelIndex at = index(row, 0);
  emit dataChanged(at, at, {Qt::DecorationRole});
}

void ListModel::InsertColumn(int column, const QString& heading, int format) {
  beginInsertColumns(QModelIndex(), column, column);
  Column c;
  c.heading = heading;
  c.format = format;
  columns_.insert(columns_.begin() + column, c);
  for (ListRow& row : rows_)
    if (row.texts.size() > static_cast<size_t>(column))
      row.texts.insert(row.texts.begin() + column, std::string());
  endInsertColumns();
}

void ListModel::RemoveColumn(int column) {
  beginRemoveColumns(QModelIndex(), column, column);
  columns_.erase(columns_.begin() + column);
  for (ListRow& row : rows_)
    if (row.texts.size() > static_cast<size_t>(column)) row.texts.erase(row.texts.begin() + column);
  endRemoveColumns();
}

void ListModel::InsertRow(int row, ListRow content) {
  beginInsertRows(QModelIndex(), row, row);
  rows_.insert(rows_.begin() + row, std::move(content));
  endInsertRows();
}

void ListModel::RemoveRow(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void ListModel::ResetRows(std::vector<ListRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void ListModel::Reorder(const std::vector<int>& order) {
  emit layoutAboutToBeChanged();
  std::vector<ListRow> moved(rows_.size());
  for (size_t i = 0; i < order.size(); ++i)
    moved[i] = std::move(rows_[static_cast<size_t>(order[i])]);
  rows_ = std::move(moved);
  // Indexes kept by Qt (the selection's among them) keep their places; the
  // list moves the selection itself.
  emit layoutChanged();
}

}  // namespace platform::detail
