// Indicator notes: free texts in "TechDesc.tch" in the formula folder, in
// the configuration-file format, one top-level block per formula kind
// (named by its file stem) and one key per formula. A note is found only
// under its own kind's block. Nothing in the system writes the file.
#pragma once
#include <string>

namespace formula {

inline constexpr const char kTechDescFile[] = "TechDesc.tch";

// The note of a formula of that kind as stored (a quoted value keeps its
// quotes); "" when the file, the block or the key is missing (the
// configuration-file library reports a missing or unreadable file itself).
std::string LookupTechNote(const std::string& formulaDir, int kind, const char* formulaName);

struct STechNote {
  std::string title;  // the name asked for
  std::string note;
};

// What the library's note entry point shows for name: the first formula of
// kinds 0 to 4 whose code equals name without regard to case, when it has
// a note text of its own; then its note from "TechDesc.tch" under its kind.
// False when no formula matches or it has no note text (nothing is shown).
bool FindFormulaNote(const char* name, STechNote& out);

}  // namespace formula
