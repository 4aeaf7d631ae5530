// The hidden state behind a CIniParser: scanner, parser, model, file and
// selection.
#pragma once
#include <string>

#include "config_lexer.h"
#include "config_parser.h"
#include "model.h"
#include "vospel/IniParser.h"

struct IniContext {
  vospel::Model model;
  vospel::CConfigLexer lexer;
  vospel::CConfigParser parser{model, lexer};

  std::string path;
  bool hasPath = false;
  std::string fileText;
  // The model holds only part of the file (the last parse stopped at an
  // error or a zero byte, or the file exists but could not be read), so
  // writing it back would lose the rest of the file.
  bool partial = false;

  KeyVals spare;  // handed out where there is no value (type 125)

  // Selection.
  vospel::Region* region = nullptr;
  vospel::Entry* entry = nullptr;
  ValItor* list = nullptr;
  KeyVals* current = nullptr;

  IniContext();
  void Reset();
  // Parses text into the model; true when it was accepted.
  bool Parse(const char* text, size_t length);
  KeyVals& Spare();
  // Key selection; 1 found, 0 placeholder made.
  int SelectKey(const char* key);
};

namespace vospel {
// The normalised text of the model.
std::string WriteModel(const Model& model);
}  // namespace vospel
