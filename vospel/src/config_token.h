// The semantic value of the configuration-file tokens: a span of the
// lexer's token-text store.
#pragma once
#include <cstdint>

namespace vospel {

struct CfgToken {
  uint32_t offset;
  uint32_t length;
};

}  // namespace vospel
