// A fixed-size text field of a store record as a string: the bytes up to
// the first zero, never past the field's end (a record read from a file
// may fill its field without a terminating zero).
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

namespace formula {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace formula
