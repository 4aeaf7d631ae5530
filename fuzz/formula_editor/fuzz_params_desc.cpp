// Parameter descriptions on arbitrary bytes (a value read from
// "ParamsDesc.tch" or typed into the description dialog): validating,
// loading, every line with its prefix and suffix into small buffers, and
// quoting for storage. No crash, no read or write outside the buffers, and
// what a buffer form returns agrees with the string form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formula/editor/ParamsDesc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 1 << 14) return 0;
  const size_t bufferSize = data[0] % 40;  // 0 to 39 bytes
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const char* c = text.c_str();  // up to the first zero, as a stored value

  formula::CParamsDescParse desc;
  const int valid = formula::CParamsDescParse::IsValidDesc(c);
  if (desc.Load(c) != valid) std::abort();
  const int lines = desc.LineCount();
  char* buffer = bufferSize ? static_cast<char*>(std::malloc(bufferSize)) : nullptr;
  for (int n = -1; n <= lines; ++n) {
    std::string line, part;
    const bool has = desc.Line(n, line);
    if (has != (n >= 0 && n < lines)) std::abort();
    if (desc.GetLine(n, buffer, bufferSize) == 1 &&
        (!has || std::strcmp(buffer, line.c_str()) != 0))
      std::abort();
    if (desc.LinePrefix(n, part) && desc.GetLinePrefix(n, buffer, bufferSize) == 1 &&
        part != buffer)
      std::abort();
    if (desc.LineSuffix(n, part) && desc.GetLineSuffix(n, buffer, bufferSize) == 1 &&
        part != buffer)
      std::abort();
  }
  std::free(buffer);

  const std::string quoted = formula::QuoteDescText(text, bufferSize);
  if (bufferSize > 0 && quoted.size() > bufferSize - 1) std::abort();
  formula::CheckParamsDescEntry("X", 0, c);
  return 0;
}
