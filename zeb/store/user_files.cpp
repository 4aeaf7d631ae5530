// The user's favourites ("SelectedStock.DEX") and the alarm list
// ("INDEX/ALARM.DEX"): headerless runs of packed records. A trailing
// partial record is ignored; saving goes through a temporary file so an
// interrupted save never leaves a damaged list.
#include <cstring>

#include "platform/paths.h"
#include "zeb/store/public_store.h"

namespace {

// Appends every whole record of the file to list; false when the file
// cannot be read or holds no whole record.
template <typename Record>
bool AppendRecords(const char* path, std::vector<Record>& list) {
  if (path == nullptr) return false;
  std::string data;
  if (!platform::ReadFile(platform::ToNativePath(path), data)) return false;
  const size_t count = data.size() / sizeof(Record);
  if (count == 0) return false;
  const size_t first = list.size();
  list.resize(first + count);
  std::memcpy(static_cast<void*>(list.data() + first), data.data(), count * sizeof(Record));
  return true;
}

}  // namespace

std::string CPublic::GetSelectedStocksPath() {
  return platform::GetAppDataDir() + "ZEB/SelectedStock.DEX";
}

bool CPublic::LoadSelectedStocks(const char* path) {
  return AppendRecords(path, m_arSelectedStocks);
}

int CPublic::SaveSelectedStocks(const char* path) {
  if (path == nullptr) return 0;
  const std::string file = platform::ToNativePath(path);
  const size_t slash = file.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !platform::MakeDirs(file.substr(0, slash)))
    return 0;
  std::string data(m_arSelectedStocks.size() * sizeof(SCodeInfo), '\0');
  if (!data.empty()) std::memcpy(data.data(), m_arSelectedStocks.data(), data.size());
  if (!platform::WriteFileAtomic(file, data)) return 0;
  return m_arSelectedStocks.empty() ? 0 : 1;
}

bool CPublic::LoadAlarmFile(const char* path) { return AppendRecords(path, m_arAlarms); }
