// Reading "lastupdate.dat" (last_update_file.h).
#include "zeb/core/update/last_update_file.h"

#include <cstring>

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
  return out;
}

LastUpdateMap ParseLastUpdate(std::string_view bytes) {
  LastUpdateMap times;
  for (size_t at = 0; at + kLastUpdateRecordSize <= bytes.size(); at += kLastUpdateRecordSize) {
    const char* name = bytes.data() + at;
    const char* time = name + kLastUpdateNameSize;
    times[LowerAscii(std::string_view(name, strnlen(name, kLastUpdateNameSize)))] =
        std::string(time, strnlen(time, kLastUpdateTimeSize));
  }
  return times;
}
