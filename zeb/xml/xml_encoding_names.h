#pragma once
#include <cstddef>

struct SXmlEncodingName {
  const char* name;
  int codePage;
};

extern const SXmlEncodingName kXmlEncodingNames[];
extern const size_t kXmlEncodingNameCount;
