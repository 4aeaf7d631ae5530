// The semantic value of the configuration-file tokens: a span of the
// input text.
#pragma once
#include <cstddef>

namespace vospel {

struct CfgToken {
  size_t offset;
  size_t length;
};

}  // namespace vospel
