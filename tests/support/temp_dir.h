// A fresh folder per test, removed afterwards, and small file helpers: the
// shared ones of the test-support library under this suite's names.
#pragma once
#include "support/temp_folder.h"

class TempDir : public test_support::TempFolder {
 public:
  TempDir() : TempFolder("zebui") {}
};

using test_support::ReadBytes;
using test_support::WriteBytes;
