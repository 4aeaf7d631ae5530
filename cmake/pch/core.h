// The headers nearly every source of the project parses: the standard
// library's common parts. Precompiled once per tree (cmake/zeb.cmake) and
// given to every target; no source relies on it, each still includes what
// it uses.
#pragma once
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>
