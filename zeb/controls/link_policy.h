// Which addresses a link in the program's own controls may open: web pages
// (http, https) and mail (mailto) only. Anything else (local files,
// programs, script addresses) would let a page from a server, or a
// settings file, start something on the user's machine.
#pragma once
#include <string_view>

namespace zebui {

// The scheme is compared without ASCII case and needs something after
// it; an address with control characters is refused. GBK bytes pass.
bool IsOpenableLinkAddress(std::string_view address);

}  // namespace zebui
