// Thread-local data of this library that every message reads (private to
// window.cpp): kept in the static block each thread gets when it starts, so
// reading it takes no call. The programs link the library, so it is loaded
// with them and has its place in that block.
#pragma once

#define ZEB_FAST_TLS __attribute__((tls_model("initial-exec")))
