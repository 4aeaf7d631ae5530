#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ini_context.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "trace.h"

using vospel::Entry;
using vospel::NameHash;
using vospel::Region;

// ---- context ----------------------------------------------------------------

IniContext::IniContext() {
  lexer.yycreate(&parser);
  parser.yycreate(&lexer);
  region = &model.global;
}

void IniContext::Reset() {
  lexer.Restart();
  model.Clear();
  region = &model.global;
  entry = nullptr;
  list = nullptr;
  current = nullptr;
  partial = false;
}

bool IniContext::Parse(const char* text, size_t length) {
  Reset();
  lexer.SetInput(text, length);
  bool accepted = parser.yyparse() == 0;
  lexer.yycleanup();
  // What was built before an error stays; nothing is left half-open.
  model.blockStack.clear();
  model.listStack.clear();
  model.currentList = nullptr;
  partial = !accepted;
  // The lexer reads up to the first zero byte; what follows it is still
  // part of the file, and writing the model back would drop it.
  const void* zero = text != nullptr ? std::memchr(text, 0, length) : nullptr;
  if (zero != nullptr) {
    partial = true;
    vospel::Trace(
        "zero byte at offset %zu: the text after it is not read, and the file is not written back",
        static_cast<size_t>(static_cast<const char*>(zero) - text));
  }
  return accepted;
}

KeyVals& IniContext::Spare() {
  spare = KeyVals();
  spare.SetType(KeyVals::kInvalid);
  return spare;
}

int IniContext::SelectKey(const char* key) {
  std::string name = key != nullptr ? key : "";
  int32_t hash = NameHash(name);
  int found = 1;
  Entry* e = region->FindKey(name, hash);
  if (e == nullptr) {
    auto placeholder = std::make_unique<Entry>();
    placeholder->kind = Entry::kPlaceholder;
    placeholder->flag = 3;
    placeholder->text = name;
    placeholder->hash = hash;
    e = placeholder.get();
    region->entries.push_back(std::move(placeholder));
    found = 0;
  }
  if (e->values.size() == 0) {
    KeyVals empty;
    empty.SetText(KeyVals::kEmpty, "");
    e->values.Append(std::move(empty));
  }
  entry = e;
  list = &e->values;
  if (list->size() == 1 && (*list)[0].GetType() == KeyVals::kList) list = &(*list)[0].GetList();
  current = list->size() > 0 ? &(*list)[0] : nullptr;
  return found;
}

// ---- CIniParser -------------------------------------------------------------

CIniParser::CIniParser() : m_pContext(std::make_shared<IniContext>()) {}
CIniParser::CIniParser(const CIniParser& other) = default;
CIniParser& CIniParser::operator=(const CIniParser& other) = default;
CIniParser::~CIniParser() = default;

int CIniParser::SetIniFile(const char* path) {
  IniContext& c = *m_pContext;
  c.Reset();
  c.fileText.clear();
  c.path = path != nullptr ? path : "";
  c.hasPath = path != nullptr;
  std::string data;
  const platform::FileRead read = path != nullptr
                                      ? platform::ReadWholeFile(platform::ToNativePath(path), data)
                                      : platform::FileRead::kMissing;
  if (read != platform::FileRead::kRead) {
    // A missing file may be written afresh; one that exists but cannot be
    // read (or is above the size cap) is not what the model holds.
    c.partial = read != platform::FileRead::kMissing;
    MessageBox(nullptr, GBK("读取INI文件失败，找不到文件，请确认文件名是否正确!"), GBK("INI错误"),
               MB_OK);
    return 0;
  }
  c.fileText = std::move(data);
  if (!c.Parse(c.fileText.c_str(), c.fileText.size())) {
    MessageBox(nullptr, GBK("INI配置不对!"), GBK("INI错误"), MB_OK);
    return 0;
  }
  return 1;
}

int CIniParser::ParseText(const char* text, size_t length) {
  IniContext& c = *m_pContext;
  c.fileText.assign(text != nullptr ? text : "", text != nullptr ? length : 0);
  return c.Parse(c.fileText.c_str(), c.fileText.size()) ? 1 : 0;
}

int CIniParser::DumpIniFile() {
  IniContext& c = *m_pContext;
  if (!c.hasPath || c.path.empty() || c.partial) return 0;
  const std::string text = vospel::WriteModel(c.model);
  // Assigned texts are written as given; one that breaks the syntax would
  // leave a file that no longer reads, so the file keeps its old content.
  IniContext check;
  if (!check.Parse(text.c_str(), text.size())) return 0;
  return platform::WriteFileAtomic(platform::ToNativePath(c.path), text) ? 1 : 0;
}

std::string CIniParser::DumpText() const { return vospel::WriteModel(m_pContext->model); }

int CIniParser::LocateRegion(const char* section, const char* domain) {
  IniContext& c = *m_pContext;
  vospel::Model& m = c.model;
  Region* parent = nullptr;
  if (section != nullptr) {
    parent = m.FindSection(section, NameHash(section));
    if (parent == nullptr) parent = m.AddSection(section);
  } else if (domain != nullptr) {
    parent = &m.global;
  } else {
    c.region = &m.global;
    return 1;
  }
  if (domain == nullptr) {
    c.region = parent;
    return 1;
  }
  Region* block = parent->FindBlock(domain, NameHash(domain));
  c.region = block != nullptr ? block : parent->AddBlock(domain);
  return 1;
}

void CIniParser::FreeRegion() {
  m_pContext->region = &m_pContext->model.global;
  m_pContext->entry = nullptr;
}

int CIniParser::operator<<=(const char* key) { return m_pContext->SelectKey(key); }

const char* CIniParser::ValOf(const char* key) {
  IniContext& c = *m_pContext;
  if (c.SelectKey(key) == 0) return nullptr;
  return c.entry->values[0].GetText();
}

ValItor& CIniParser::operator[](const char* key) {
  m_pContext->SelectKey(key);
  return *m_pContext->list;
}

KeyVals& CIniParser::operator[](int i) {
  IniContext& c = *m_pContext;
  if (c.list == nullptr || c.list->size() == 0) return c.Spare();
  int n = c.list->size();
  if (i < 0) i = 0;
  c.current = &(*c.list)[i < n ? i : n - 1];
  return *c.current;
}

namespace {
bool Readable(const KeyVals* v) {
  return v != nullptr && v->GetText() != nullptr && v->GetType() != KeyVals::kList &&
         v->GetType() != KeyVals::kEmpty && v->GetType() != KeyVals::kInvalid;
}
}  // namespace

int CIniParser::operator>>(char* buf) {
  const KeyVals* v = m_pContext->current;
  if (buf == nullptr || !Readable(v)) return 0;
  std::strcpy(buf, v->GetText());
  return 1;
}

int CIniParser::Read(char* buf, size_t size) {
  const KeyVals* v = m_pContext->current;
  if (!Readable(v)) return 0;
  return v->Read(buf, size);
}

int CIniParser::operator>>(int& v) {
  const KeyVals* value = m_pContext->current;
  if (!Readable(value)) return 0;
  v = static_cast<int>(std::atol(value->GetText()));
  return 1;
}

int CIniParser::operator<<(const char* text) {
  IniContext& c = *m_pContext;
  if (c.current == nullptr || text == nullptr || c.current->GetType() == KeyVals::kList) return 0;
  c.current->SetText(KeyVals::kPooled, text);
  // A key made by a lookup becomes a real key once it holds a value.
  if (c.entry != nullptr && c.entry->kind == Entry::kPlaceholder) {
    c.entry->kind = Entry::kKey;
    c.entry->flag = 0;
  }
  return 1;
}

int CIniParser::operator<<(int v) {
  char text[100];
  std::snprintf(text, sizeof text, "%d", v);
  return *this << text;
}
