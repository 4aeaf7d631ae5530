// What the user is told when one of his settings files could not be saved
// or read: a box naming the file. Every saver writes through a temporary
// file and a rename, so a file not saved is still the one he had.
#pragma once
#include <string>

namespace settings {

// "…未能保存…" with the path; the old file is kept.
void ReportNotSaved(const std::string& path);
// "…无法读取…" with the path: it is there but cannot be read.
void ReportUnreadable(const std::string& path);

}  // namespace settings
