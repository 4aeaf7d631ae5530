#include "formula/editor/ParamText.h"

#include <cstdio>
#include <cstdlib>

#include "formula/text/GbkText.h"
#include "platform/gbk.h"

namespace formula {

namespace {

std::string Number3(float v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", double(v));
  return text;
}

std::string UpperName(const char* name) {
  std::string out = name ? name : "";
  FoldUpperAscii(out.data());
  return out;
}

}  // namespace

bool ParamTextFits(std::string_view text) { return text.size() <= kParamTextMax; }

const char* ParamTextTooLongMessage() { return GBK("参数定义太长(超过499个字符)，不能保存!"); }

void AppendParamDeclaration(std::string& out, std::string_view name, float minimum, float maximum,
                            std::string_view value, float step) {
  out.append(name);
  out += ":^P(";
  out += Number3(minimum);
  out += ',';
  out += Number3(maximum);
  out += ',';
  out.append(value);
  out += ',';
  out += Number3(step);
  out += ");\r\n";
}

void AppendParamDeclaration(std::string& out, std::string_view name, float minimum, float maximum,
                            float value, float step) {
  AppendParamDeclaration(out, name, minimum, maximum, Number3(value), step);
}

bool CheckParamValue(std::string_view typed, const char* paramName, float minimum, float maximum,
                     std::string& canonical, std::string& message) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!typed.empty() && blank(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && blank(typed.back())) typed.remove_suffix(1);
  size_t digits = 0, dots = 0;
  bool other = false;
  for (char c : typed) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++dots;
    else other = true;
  }
  char text[512];
  if (other || digits == 0 || dots > 1 || typed.size() > 40) {
    std::snprintf(text, sizeof text, GBK("参数%s的值必须是数字!"), UpperName(paramName).c_str());
    message = text;
    return false;
  }
  std::string value(typed);
  if (dots == 0) {
    const size_t nonZero = value.find_first_not_of('0');
    value = nonZero == std::string::npos ? "0" : value.substr(nonZero);
  }
  const double number = std::strtod(value.c_str(), nullptr);
  if (number < double(minimum) || number > double(maximum)) {
    std::snprintf(text, sizeof text, GBK("参数%s的值必须在%g和%g之间!"),
                  UpperName(paramName).c_str(), double(minimum), double(maximum));
    message = text;
    return false;
  }
  canonical = value;
  return true;
}

}  // namespace formula
