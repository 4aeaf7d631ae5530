// The normalised layout: global entries, top-level blocks, then each section
// as "\r\n[name]\r\n" with its entries and blocks; the text ends in "\r\n".
#include <string>

#include "ini_context.h"
#include "token_forms.h"

namespace vospel {

namespace {

void Tabs(std::string& out, int count) {
  out.append(static_cast<size_t>(count > 0 ? count : 0), '\t');
}

// level 1: the values of a key line; a list inside a first-level list
// starts on a new line, indented two tabs deeper than its key line.
void WriteValues(std::string& out, const ValItor& list, int level, int indent) {
  bool firstValue = true;
  for (const KeyVals& v : list.Items()) {
    if (!firstValue) out += ',';
    firstValue = false;
    switch (v.GetType()) {
      case KeyVals::kParsed:
      case KeyVals::kPooled:
      case KeyVals::kOwned:
        // An empty text alone after "=" is the key without values; anywhere
        // else it needs a form of its own or its comma would end the line.
        if (!v.Text().empty() || level > 1 || list.size() > 1)
          out += WritableToken(v.Text(), TokenPlace::kValue);
        break;
      case KeyVals::kList:
        if (level == 2) {
          out += "\r\n";
          Tabs(out, indent + 2);
        }
        out += '{';
        WriteValues(out, v.GetList(), level + 1, indent);
        out += '}';
        break;
      default:  // empty: nothing, its comma stays
        break;
    }
  }
}

void WriteEntries(std::string& out, const Region& region, int indent) {
  for (const auto& e : region.entries) {
    switch (e->IsKey() ? static_cast<uint8_t>(Entry::kKey) : e->kind) {
      case Entry::kKey: {
        Tabs(out, indent);
        out += WritableToken(e->text, TokenPlace::kKey);
        out += '=';
        WriteValues(out, e->values, 1, indent);
        bool hasList = false;
        for (const KeyVals& v : e->values.Items())
          hasList = hasList || v.GetType() == KeyVals::kList;
        out += hasList ? ";\r\n" : "\r\n";
        break;
      }
      case Entry::kRawLine:
        // Written as read (see WritableRawLine). A raw line is one only at
        // the start of a line, and a lone CR ends none: after a comment that
        // ended in one, the next raw line starts a line of its own.
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        out += WritableRawLine(e->text);
        // A comment that ended the input without a line end still ends
        // its line, so whatever is written after it stays on its own.
        if (e->text.empty() || (e->text.back() != '\n' && e->text.back() != '\r')) out += "\r\n";
        break;
      default:  // placeholders are not written
        break;
    }
  }
}

void WriteBlock(std::string& out, const Region& block, int depth) {
  Tabs(out, depth);
  out += "domain<<";
  out += WritableToken(block.name, TokenPlace::kName);
  out += ">>\r\n";
  Tabs(out, depth);
  out += "{\r\n";
  WriteEntries(out, block, depth + 1);
  for (const auto& inner : block.blocks) WriteBlock(out, *inner, depth + 1);
  Tabs(out, depth);
  out += "};\r\n";
}

}  // namespace

std::string WriteModel(const Model& model) {
  std::string out;
  WriteEntries(out, model.global, 0);
  for (const auto& block : model.global.blocks) WriteBlock(out, *block, 0);
  for (const auto& section : model.sections) {
    out += "\r\n[";
    out += WritableToken(section->name, TokenPlace::kName);
    out += "]\r\n";
    WriteEntries(out, *section, 0);
    for (const auto& block : section->blocks) WriteBlock(out, *block, 0);
  }
  out += "\r\n";
  return out;
}

}  // namespace vospel
