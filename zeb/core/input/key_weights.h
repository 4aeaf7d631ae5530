// The weights of the keyboard index, kept in the registry stand-in under
// "Software\Oskavel\KeyInput": one DWORD value per weighted entry, named by
// its code text. A weight reads back as it was stored (1..100); nothing
// else is taken, so a damaged value never gives a wild weight.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

constexpr const char* kKeyWeightRegistryKey = "Software\\Oskavel\\KeyInput";
constexpr size_t kKeyMaxWeights = 30;  // values read and written at most
constexpr int32_t kKeyMaxWeight = 100;
constexpr size_t kKeyWeightNameMax = 20;  // longer value names are skipped

// Code text -> weight, from the first 30 DWORD values of the key whose low
// byte, taken as a signed number, is 1..100.
std::map<std::string, int32_t> ReadKeyWeights();

// Replaces the key by the given (code text, weight) pairs in order: pairs
// with a weight of 0 or less are skipped, a code written before is not
// written again, and at most 30 values are written. False when the key
// cannot be replaced or a value cannot be written (the rest is not tried).
bool WriteKeyWeights(const std::vector<std::pair<std::string, int32_t>>& weighted);
