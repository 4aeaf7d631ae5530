// yltables: turns what flex and bison produce into the table shapes and
// action routines of the yl lexer and parser runtime.
//
//   yltables lexer  --flex-c F.c --source X.l --class C --header H --out O.cpp
//   yltables parser --bison-c F.c --bison-xml F.xml --source X.y --class C
//                   --header H --out O.cpp --tokens O.h --tokens-namespace NS
//
// Lexer: flex runs with -Cf (full, uncompressed tables). yy_nxt[state][c],
// yy_NUL_trans and yy_accept are read from its C output and packed into the
// runtime's default/base/check form; the rule actions are copied from its
// action switch.
// Parser: bison's XML automaton report gives every state's shifts, gotos,
// reductions and errors, which are packed into the runtime's token-action
// and goto tables; the rule actions are copied from the action switch of
// bison's C output, where $n and $$ already read yyvsp[] and yyval.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw Failure("cannot write " + path);
  out << text;
  if (!out.flush()) throw Failure("cannot write " + path);
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

bool IsIdentifier(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

// The integers of the initialiser of a C array declared as "<name>[...] =".
std::vector<long> ParseIntArray(const std::string& src, const std::string& name, bool required) {
  size_t pos = 0;
  for (;;) {
    pos = src.find(name, pos);
    if (pos == std::string::npos) {
      if (required) throw Failure("array " + name + " not found in the generator's output");
      return {};
    }
    size_t after = pos + name.size();
    bool isWord =
        pos > 0 && (std::isalnum(static_cast<unsigned char>(src[pos - 1])) || src[pos - 1] == '_');
    if (!isWord && after < src.size() && src[after] == '[') {
      size_t eq = src.find('=', after);
      size_t semi = src.find(';', after);
      if (eq != std::string::npos && eq < semi) {
        pos = eq;
        break;
      }
    }
    pos = after;
  }
  size_t open = src.find('{', pos);
  if (open == std::string::npos) throw Failure("array " + name + " has no initialiser");
  std::vector<long> values;
  int depth = 0;
  for (size_t i = open; i < src.size(); ++i) {
    char c = src[i];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) return values;
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      char* end = nullptr;
      values.push_back(std::strtol(src.c_str() + i, &end, 10));
      i = static_cast<size_t>(end - src.c_str()) - 1;
    }
  }
  throw Failure("array " + name + " is not closed");
}

long DefineValue(const std::string& src, const std::string& name) {
  std::string key = "#define " + name + " ";
  size_t pos = src.find(key);
  if (pos == std::string::npos) throw Failure(name + " not found in the generator's output");
  return std::strtol(src.c_str() + pos + key.size(), nullptr, 10);
}

// Row displacement: places each row's columns into one shared array so
// that base + column is a slot owned by the row.
class Packer {
 public:
  int Place(const std::vector<int>& columns, int minBase) {
    if (columns.empty()) return 0;
    int first = *std::min_element(columns.begin(), columns.end());
    int base = std::max(minBase, firstFree_ - first);
    for (;; ++base) {
      bool fits = true;
      for (int c : columns) {
        size_t slot = static_cast<size_t>(base + c);
        if (slot < used_.size() && used_[slot]) {
          fits = false;
          break;
        }
      }
      if (fits) break;
    }
    for (int c : columns) {
      size_t slot = static_cast<size_t>(base + c);
      if (slot >= used_.size()) used_.resize(slot + 1, false);
      used_[slot] = true;
    }
    while (firstFree_ < static_cast<int>(used_.size()) && used_[firstFree_]) ++firstFree_;
    return base;
  }
  int Size() const { return static_cast<int>(used_.size()); }

 private:
  std::vector<bool> used_;
  int firstFree_ = 0;
};

void CheckInt16(long value, const char* what) {
  if (value < -32768 || value > 32767)
    throw Failure(std::string(what) + " does not fit the runtime's 16-bit tables");
}

// Copies generated action code, keeping the #line directives that point at
// the rule file and dropping those that point into the generator's output.
std::string CopyActionLines(const std::vector<std::string>& lines, size_t from, size_t to,
                            const std::string& source) {
  std::string out;
  for (size_t i = from; i < to; ++i) {
    const std::string& line = lines[i];
    if (StartsWith(line, "#line ")) {
      size_t q = line.find('"');
      std::string file = q == std::string::npos ? "" : line.substr(q + 1, line.rfind('"') - q - 1);
      if (file != source) continue;
    }
    out += line;
    out += '\n';
  }
  return out;
}

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::string Header(const std::string& source) {
  return "// Generated by yltables from " + source + "; do not edit.\n";
}

// ---------------------------------------------------------------- lexer ---

struct Args {
  std::map<std::string, std::string> values;
  std::string Get(const std::string& key) const {
    auto it = values.find(key);
    if (it == values.end() || it->second.empty()) throw Failure("missing --" + key);
    return it->second;
  }
};

void GenerateLexer(const Args& args) {
  const std::string source = args.Get("source");
  const std::string cls = args.Get("class");
  const std::string src = ReadAll(args.Get("flex-c"));
  const std::string out = args.Get("out");

  if (src.find("yy_nxt[][256]") == std::string::npos)
    throw Failure("flex must run with -Cf -8 (full 8-bit tables)");
  if (src.find("yy_acclist") != std::string::npos)
    throw Failure(source + ": REJECT and variable trailing context are not supported");
  const long numRules =
      DefineValue(src, "YY_NUM_RULES");  // the user's rules plus flex's default rule
  const long userRules = numRules - 1;

  std::vector<long> nxt = ParseIntArray(src, "yy_nxt", true);
  std::vector<long> accept = ParseIntArray(src, "yy_accept", true);
  std::vector<long> nul = ParseIntArray(src, "yy_NUL_trans", false);
  const int states = static_cast<int>(accept.size());
  if (nxt.size() != static_cast<size_t>(states) * 256)
    throw Failure("yy_nxt and yy_accept disagree");
  CheckInt16(states, "the number of DFA states");

  // Start conditions, as flex numbers them.
  std::vector<std::pair<std::string, long>> conditions;
  std::vector<std::string> lines = SplitLines(src);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != "#define INITIAL 0") continue;
    for (size_t j = i; j < lines.size() && StartsWith(lines[j], "#define "); ++j) {
      std::istringstream def(lines[j].substr(8));
      std::string name;
      long value;
      if (def >> name >> value) conditions.emplace_back(name, value);
    }
    break;
  }

  // The actions of the user's rules: from "case 1:" to the default rule.
  size_t first = lines.size();
  size_t last = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == "case 1:" && first == lines.size()) first = i;
    if (lines[i] == "case " + std::to_string(numRules) + ":" && first != lines.size()) {
      last = i;
      break;
    }
  }
  if (userRules > 0 && (first == lines.size() || last == lines.size()))
    throw Failure("the action switch was not found in flex's output");
  std::string actions = userRules > 0 ? CopyActionLines(lines, first, last, source) : "";
  if (actions.find("YY_DO_BEFORE_ACTION") != std::string::npos ||
      actions.find("yy_c_buf_p") != std::string::npos)
    throw Failure(source + ": trailing context is not supported");

  // Pack the DFA.
  std::vector<int> def(states, 0), base(states, 0), match(states, 0);
  std::vector<std::vector<std::pair<int, int>>> explicitEntries(states);
  Packer packer;
  for (int s = 1; s < states; ++s) {
    int row[256];
    for (int c = 0; c < 256; ++c) {
      long v = c == 0 ? (nul.empty() ? 0 : nul[s]) : nxt[static_cast<size_t>(s) * 256 + c];
      row[c] = v > 0 && v < states ? static_cast<int>(v) : 0;
    }
    std::map<int, int> counts;
    for (int c = 0; c < 256; ++c) ++counts[row[c]];
    int common = 0;
    int best = -1;
    for (auto& [value, count] : counts)
      if (count > best) {
        best = count;
        common = value;
      }
    def[s] = -common;
    std::vector<int> columns;
    for (int c = 0; c < 256; ++c)
      if (row[c] != common) {
        columns.push_back(c);
        explicitEntries[s].emplace_back(c, row[c]);
      }
    // Base 0 with no default would read as "no way out": keep bases >= 1.
    base[s] = packer.Place(columns, 1);
    if (columns.empty()) base[s] = 0;
    long a = accept[s];
    match[s] = a >= 1 && a <= userRules ? static_cast<int>(a) : 0;
  }
  int transitions = std::max(packer.Size(), 1);
  CheckInt16(transitions + 256, "the transition table");
  std::vector<std::pair<int, int>> table(transitions, {0, -1});
  for (int s = 1; s < states; ++s)
    for (auto& [c, next] : explicitEntries[s]) table[base[s] + c] = {next, s};

  std::string text = Header(source);
  text += "#include \"" + args.Get("header") + "\"\n\n";
  text += "namespace {\n\nconst yl::yystate_t yystate[] = {\n";
  for (int s = 0; s < states; ++s)
    text += "    {" + std::to_string(def[s]) + ", " + std::to_string(base[s]) + ", " +
            std::to_string(match[s]) + "},\n";
  text += "};\n\nconst yl::yytransition_t yytransition[] = {\n";
  for (int i = 0; i < transitions; ++i)
    text +=
        "    {" + std::to_string(table[i].first) + ", " + std::to_string(table[i].second) + "},\n";
  text += "};\n\nconst int16_t yymatch[] = {0};\n\nconst uint8_t yybackup[] = {";
  for (long r = 0; r <= userRules; ++r) text += r == 0 ? "0" : ", 0";
  text += "};\n\nconst yl::yylextables yytables_data = {yystate, " + std::to_string(states) +
          ", yytransition, " + std::to_string(transitions) + ", yymatch, yybackup, " +
          std::to_string(userRules) + "};\n\n}  // namespace\n\n";
  text += "const yl::yylextables& " + cls + "::yytables() { return yytables_data; }\n\n";
  text +=
      "#define YY_RULE_SETUP\n"
      "#define YY_BREAK break;\n"
      "#define BEGIN this->yystart = 2 *\n"
      "#define YY_START (this->yystart / 2)\n"
      "#define ECHO this->yyecho()\n"
      "#define yyterminate() return 0\n"
      "#define unput(c) this->yyunput(c)\n"
      "#define REJECT do { this->yyreject(); return 0; } while (0)\n\n";
  text += "int " + cls + "::yyaction(int yy_act) {\n";
  if (!conditions.empty()) {
    text += "  enum {";
    for (size_t i = 0; i < conditions.size(); ++i)
      text += (i ? ", " : " ") + conditions[i].first + " = " + std::to_string(conditions[i].second);
    text += " };\n";
  }
  text += "  switch (yy_act) {\n";
  text += actions;
  text += "#line " + std::to_string(CountLines(text) + 2) + " \"" + out + "\"\n";
  text += "    default:\n      break;\n  }\n  this->yyreturnflg = false;\n  return 0;\n}\n";
  WriteAll(out, text);
}

// --------------------------------------------------------------- parser ---

struct XmlNode {
  std::string name;
  std::map<std::string, std::string> attrs;
  std::vector<XmlNode> children;
  std::string text;

  std::string Attr(const std::string& key) const {
    auto it = attrs.find(key);
    return it == attrs.end() ? std::string() : it->second;
  }
  const XmlNode* Child(const std::string& n) const {
    for (const XmlNode& c : children)
      if (c.name == n) return &c;
    return nullptr;
  }
  const XmlNode& Need(const std::string& n) const {
    const XmlNode* c = Child(n);
    if (c == nullptr) throw Failure("bison's XML report lacks <" + n + "> in <" + name + ">");
    return *c;
  }
};

// Just enough XML for bison's report: elements, attributes, text, the five
// predefined entities and numeric references.
class XmlReader {
 public:
  explicit XmlReader(const std::string& text) : s_(text) {}

  XmlNode Parse() {
    SkipMisc();
    XmlNode root = Element();
    return root;
  }

 private:
  void SkipMisc() {
    for (;;) {
      while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      if (s_.compare(pos_, 2, "<?") == 0) {
        pos_ = Find("?>") + 2;
      } else if (s_.compare(pos_, 4, "<!--") == 0) {
        pos_ = Find("-->") + 3;
      } else if (s_.compare(pos_, 2, "<!") == 0) {
        pos_ = Find(">") + 1;
      } else {
        return;
      }
    }
  }
  size_t Find(const char* what) {
    size_t p = s_.find(what, pos_);
    if (p == std::string::npos) throw Failure("bad XML report");
    return p;
  }
  std::string Name() {
    size_t b = pos_;
    while (pos_ < s_.size() && !std::isspace(static_cast<unsigned char>(s_[pos_])) &&
           s_[pos_] != '>' && s_[pos_] != '/' && s_[pos_] != '=')
      ++pos_;
    return s_.substr(b, pos_ - b);
  }
  static std::string Decode(const std::string& raw) {
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        out += raw[i];
        continue;
      }
      size_t semi = raw.find(';', i);
      if (semi == std::string::npos) throw Failure("bad entity in XML report");
      std::string ent = raw.substr(i + 1, semi - i - 1);
      if (ent == "lt") out += '<';
      else if (ent == "gt") out += '>';
      else if (ent == "amp") out += '&';
      else if (ent == "quot") out += '"';
      else if (ent == "apos") out += '\'';
      else if (!ent.empty() && ent[0] == '#') {
        long code = ent.size() > 1 && (ent[1] == 'x' || ent[1] == 'X')
                        ? std::strtol(ent.c_str() + 2, nullptr, 16)
                        : std::strtol(ent.c_str() + 1, nullptr, 10);
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xC0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (code & 0x3F));
        }
      } else {
        throw Failure("unknown entity &" + ent + "; in XML report");
      }
      i = semi;
    }
    return out;
  }
  XmlNode Element() {
    if (pos_ >= s_.size() || s_[pos_] != '<') throw Failure("bad XML report");
    ++pos_;
    XmlNode node;
    node.name = Name();
    for (;;) {
      while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      if (pos_ >= s_.size()) throw Failure("bad XML report");
      if (s_[pos_] == '/') {
        pos_ = Find(">") + 1;
        return node;
      }
      if (s_[pos_] == '>') {
        ++pos_;
        break;
      }
      std::string key = Name();
      if (pos_ >= s_.size() || s_[pos_] != '=') throw Failure("bad XML attribute");
      ++pos_;
      char quote = s_[pos_++];
      size_t end = s_.find(quote, pos_);
      if (end == std::string::npos) throw Failure("bad XML attribute");
      node.attrs[key] = Decode(s_.substr(pos_, end - pos_));
      pos_ = end + 1;
    }
    for (;;) {
      size_t lt = Find("<");
      node.text += Decode(s_.substr(pos_, lt - pos_));
      pos_ = lt;
      if (s_.compare(pos_, 2, "</") == 0) {
        pos_ = Find(">") + 1;
        return node;
      }
      if (s_.compare(pos_, 4, "<!--") == 0) {
        pos_ = Find("-->") + 3;
        continue;
      }
      node.children.push_back(Element());
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
};

struct TokenAction {
  int token;
  int type;
  int value;
};

void GenerateParser(const Args& args) {
  const std::string source = args.Get("source");
  const std::string cls = args.Get("class");
  const std::string out = args.Get("out");
  const std::string csrc = ReadAll(args.Get("bison-c"));
  const std::string xmlText = ReadAll(args.Get("bison-xml"));
  XmlNode report = XmlReader(xmlText).Parse();
  const XmlNode& grammar = report.Need("grammar");

  // Symbols.
  std::map<std::string, int> tokenOf;    // terminal name -> token number
  std::map<std::string, int> nontermOf;  // non-terminal name -> index from 0
  std::vector<std::pair<std::string, int>> namedTokens;
  int maxToken = 0;
  for (const XmlNode& t : grammar.Need("terminals").children) {
    int number = std::atoi(t.Attr("token-number").c_str());
    std::string name = t.Attr("name");
    tokenOf[name] = number;
    maxToken = std::max(maxToken, number);
    if (IsIdentifier(name) && name != "error" && number >= 257)
      namedTokens.emplace_back(name, number);
  }
  int firstNonterm = -1;
  for (const XmlNode& n : grammar.Need("nonterminals").children) {
    int number = std::atoi(n.Attr("symbol-number").c_str());
    if (firstNonterm < 0 || number < firstNonterm) firstNonterm = number;
  }
  for (const XmlNode& n : grammar.Need("nonterminals").children)
    nontermOf[n.Attr("name")] = std::atoi(n.Attr("symbol-number").c_str()) - firstNonterm;

  // Rules.
  struct Rule {
    int lhs = 0;
    int length = 0;
    int action = -1;
  };
  std::vector<Rule> rules;
  for (const XmlNode& r : grammar.Need("rules").children) {
    int number = std::atoi(r.Attr("number").c_str());
    if (number < 0) throw Failure("bad rule number");
    if (static_cast<int>(rules.size()) <= number) rules.resize(number + 1);
    auto lhs = nontermOf.find(Trim(r.Need("lhs").text));
    if (lhs == nontermOf.end())
      throw Failure("unknown left-hand side in rule " + std::to_string(number));
    rules[number].lhs = lhs->second;
    int length = 0;
    for (const XmlNode& sym : r.Need("rhs").children)
      if (sym.name == "symbol") ++length;
    rules[number].length = length;
  }

  // Actions: bison numbers its action cases from 1 (rule n is case n + 1).
  std::vector<std::string> lines = SplitLines(csrc);
  size_t first = lines.size();
  size_t last = lines.size();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (Trim(lines[i]) == "switch (yyn)" && Trim(lines[i + 1]) == "{") {
      first = i + 2;
      for (size_t j = first; j < lines.size(); ++j)
        if (Trim(lines[j]) == "default: break;") {
          last = j;
          break;
        }
      break;
    }
  }
  if (first == lines.size() || last == lines.size())
    throw Failure("the action switch was not found in bison's output");
  for (size_t i = first; i < last; ++i) {
    const std::string t = Trim(lines[i]);
    if (!StartsWith(t, "case ")) continue;
    int number = std::atoi(t.c_str() + 5);
    if (number < 1 || number > static_cast<int>(rules.size()))
      throw Failure("action for an unknown rule");
    rules[number - 1].action = number;
  }
  std::string actions = CopyActionLines(lines, first, last, source);
  if (actions.find("yylsp") != std::string::npos || actions.find("yyloc") != std::string::npos)
    throw Failure(source + ": locations (@n) are not supported");

  // States.
  const XmlNode& automaton = report.Need("automaton");
  int states = 0;
  for (const XmlNode& st : automaton.children)
    if (st.name == "state") states = std::max(states, std::atoi(st.Attr("number").c_str()) + 1);
  CheckInt16(states, "the number of parser states");
  std::vector<std::vector<TokenAction>> rows(states);
  std::vector<std::vector<std::pair<int, int>>> gotos(states);
  std::vector<int> defType(states, 2), defValue(states, 0);
  auto tokenNumber = [&](const std::string& name) {
    auto it = tokenOf.find(name);
    if (it == tokenOf.end()) throw Failure("unknown terminal " + name);
    return it->second;
  };
  for (const XmlNode& st : automaton.children) {
    if (st.name != "state") continue;
    int s = std::atoi(st.Attr("number").c_str());
    const XmlNode& actionsNode = st.Need("actions");
    std::set<int> seen;
    auto add = [&](int token, int type, int value) {
      if (!seen.insert(token).second) return;  // the first action listed wins
      rows[s].push_back({token, type, value});
    };
    if (const XmlNode* transitions = actionsNode.Child("transitions")) {
      for (const XmlNode& tr : transitions->children) {
        int target = std::atoi(tr.Attr("state").c_str());
        if (tr.Attr("type") == "shift") {
          add(tokenNumber(tr.Attr("symbol")), 0, target);
        } else {
          auto nt = nontermOf.find(tr.Attr("symbol"));
          if (nt == nontermOf.end()) throw Failure("unknown non-terminal " + tr.Attr("symbol"));
          gotos[s].emplace_back(nt->second, target);
        }
      }
    }
    if (const XmlNode* errors = actionsNode.Child("errors"))
      for (const XmlNode& e : errors->children) add(tokenNumber(e.Attr("symbol")), 2, 0);
    if (const XmlNode* reductions = actionsNode.Child("reductions")) {
      for (const XmlNode& r : reductions->children) {
        if (r.Attr("enabled") != "true") continue;
        std::string rule = r.Attr("rule");
        int type = rule == "accept" ? 3 : 1;
        int value = rule == "accept" ? 0 : std::atoi(rule.c_str());
        if (r.Attr("symbol") == "$default") {
          defType[s] = type;
          defValue[s] = value;
        } else {
          add(tokenNumber(r.Attr("symbol")), type, value);
        }
      }
    }
  }

  // Pack.
  Packer tokenPacker;
  Packer gotoPacker;
  std::vector<int> tokenBase(states, 0), gotoBase(states, 0);
  for (int s = 0; s < states; ++s) {
    std::vector<int> columns;
    for (auto& a : rows[s]) columns.push_back(a.token);
    tokenBase[s] = tokenPacker.Place(columns, 0);
    columns.clear();
    for (auto& g : gotos[s]) columns.push_back(g.first);
    gotoBase[s] = gotoPacker.Place(columns, 0);
  }
  int tokenSlots = std::max(tokenPacker.Size(), 1);
  int gotoSlots = std::max(gotoPacker.Size(), 1);
  CheckInt16(tokenSlots + maxToken, "the token-action table");
  CheckInt16(gotoSlots, "the goto table");
  CheckInt16(static_cast<long>(rules.size()), "the number of rules");
  std::vector<TokenAction> tokenTable(tokenSlots, {-1, 2, 0});  // .token holds the owner here
  for (int s = 0; s < states; ++s)
    for (auto& a : rows[s]) tokenTable[tokenBase[s] + a.token] = {s, a.type, a.value};
  std::vector<std::pair<int, int>> gotoTable(gotoSlots, {-1, 0});
  for (int s = 0; s < states; ++s)
    for (auto& g : gotos[s]) gotoTable[gotoBase[s] + g.first] = {s, g.second};

  std::string text = Header(source);
  text += "#include \"" + args.Get("header") + "\"\n\n";
  text += "namespace {\n\nconst yl::yystateaction_t yystateaction[] = {\n";
  for (int s = 0; s < states; ++s)
    text += "    {" + std::to_string(tokenBase[s]) + ", " + (rows[s].empty() ? "0" : "1") + ", " +
            std::to_string(defType[s]) + ", " + std::to_string(defValue[s]) + "},\n";
  text += "};\n\nconst yl::yytokenaction_t yytokenaction[] = {\n";
  for (auto& a : tokenTable)
    text += "    {" + std::to_string(a.token) + ", " + std::to_string(a.type) + ", " +
            std::to_string(a.value) + "},\n";
  text += "};\n\nconst yl::yyreduction_t yyreduction[] = {\n";
  for (auto& r : rules)
    text += "    {" + std::to_string(r.lhs) + ", " + std::to_string(r.length) + ", " +
            std::to_string(r.action) + "},\n";
  text += "};\n\nconst yl::yystategoto_t yystategoto[] = {\n";
  for (int s = 0; s < states; ++s) text += "    {" + std::to_string(gotoBase[s]) + ", -1},\n";
  text += "};\n\nconst yl::yynontermgoto_t yynontermgoto[] = {\n";
  for (auto& g : gotoTable)
    text += "    {" + std::to_string(g.first) + ", " + std::to_string(g.second) + "},\n";
  text += "};\n\nconst yl::yyparsetables yytables_data = {yystateaction, " +
          std::to_string(states) + ", yytokenaction, " + std::to_string(tokenSlots) +
          ", yyreduction, " + std::to_string(rules.size()) + ", yystategoto, yynontermgoto, " +
          std::to_string(gotoSlots) + "};\n\n}  // namespace\n\n";
  text += "const yl::yyparsetables& " + cls + "::yytables() { return yytables_data; }\n\n";
  text +=
      "#define YYABORT do { this->yyabort(1); return; } while (0)\n"
      "#define YYACCEPT do { this->yyretire(0); return; } while (0)\n"
      "#define YYERROR do { this->yyforceerror(); return; } while (0)\n"
      "#define yyerrok (this->yyerrok())\n"
      "#define yyclearin (this->yyclearin())\n"
      "#define YYRECOVERING() (this->yyrecovering())\n\n";
  text += "void " + cls + "::yyaction(int yyn) {\n";
  text += "  YYSTYPE* yyvsp = static_cast<YYSTYPE*>(this->yyattribute(this->yytop));\n";
  text += "  YYSTYPE& yyval = *static_cast<YYSTYPE*>(this->yyresult());\n";
  text += "  (void)yyvsp;\n  (void)yyval;\n";
  text += "  switch (yyn) {\n";
  text += actions;
  text += "#line " + std::to_string(CountLines(text) + 2) + " \"" + out + "\"\n";
  text += "    default:\n      break;\n  }\n}\n";
  WriteAll(out, text);

  std::string tokens = Header(source);
  tokens += "#pragma once\n\nnamespace " + args.Get("tokens-namespace") + " {\n\nenum : int {\n";
  for (auto& [name, number] : namedTokens)
    tokens += "  " + name + " = " + std::to_string(number) + ",\n";
  tokens += "};\n\n}  // namespace " + args.Get("tokens-namespace") + "\n";
  WriteAll(args.Get("tokens"), tokens);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: yltables lexer|parser --key value ...\n");
    return 2;
  }
  Args args;
  for (int i = 2; i + 1 < argc; i += 2) {
    std::string key = argv[i];
    if (!StartsWith(key, "--")) {
      std::fprintf(stderr, "yltables: unexpected argument %s\n", argv[i]);
      return 2;
    }
    args.values[key.substr(2)] = argv[i + 1];
  }
  try {
    std::string mode = argv[1];
    if (mode == "lexer") {
      GenerateLexer(args);
    } else if (mode == "parser") {
      GenerateParser(args);
    } else {
      std::fprintf(stderr, "yltables: unknown mode %s\n", argv[1]);
      return 2;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "yltables: %s\n", e.what());
    return 1;
  }
  return 0;
}
