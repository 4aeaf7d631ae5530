// The parameter text of a formula: the declaration lines that precede its
// body ("N:^P(1,100,5,1);\r\n" each), as the editor's grid and the indicator
// parameter dialogs write them into the record's 500-byte field.
//
// Guarantees: a text that does not fit the field is refused, never cut;
// a value written into a declaration has been checked to be a number the
// formula language reads back as that number, within the parameter's range.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "formula/functions/formula_types.h"

namespace formula {

// Longest parameter text the record holds (its field, less the terminating zero).
inline constexpr size_t kParamTextMax = sizeof(SFormulaRecord::szParams) - 1;

bool ParamTextFits(std::string_view text);
// The refusal shown when a parameter text does not fit (GBK).
const char* ParamTextTooLongMessage();

// Appends name ":^P(" min "," max "," value "," step ");\r\n", the numbers
// written "%.3f" and the value as given.
void AppendParamDeclaration(std::string& out, std::string_view name, float minimum, float maximum,
                            std::string_view value, float step);
// The same with a number value ("%.3f").
void AppendParamDeclaration(std::string& out, std::string_view name, float minimum, float maximum,
                            float value, float step);

// Checks a typed parameter value: blanks around it are dropped, then it must
// be a plain decimal number (digits with an optional fraction, no sign, no
// exponent) within [minimum, maximum]. On success canonical holds the text
// to store (leading zeros of a whole number dropped, since the language
// does not read "05" as 5) and true is returned; otherwise message holds
// the refusal (GBK) naming the parameter.
bool CheckParamValue(std::string_view typed, const char* paramName, float minimum, float maximum,
                     std::string& canonical, std::string& message);

}  // namespace formula
