// Reading and editing the update list (update_list.h). Every walk starts
// from the first child of "Product", so the order of its children does not
// change what is found.
#include "zeb/core/update/update_list.h"

#include "zeb/xml/xml_encoding.h"

namespace {

// The list in GBK, the document class's text; its declaration stays, so
// saving writes it back in the encoding it came in. *fault says why an
// encoding could not be read (the text is then kept as it came).
std::string ToDocumentText(const std::string& text, std::string* fault) {
  fault->clear();
  const std::string declared = GetDeclaredEncoding(text);
  if (declared.empty()) return text;
  if (GetEncodingCodePage(declared) < 0) {
    *fault = "unknown encoding";
    return text;
  }
  if (!CanConvert(declared, "")) return text;  // GBK already
  CXmlConverter converter;
  converter.strFromEncoding = declared;
  converter.pFrom = text.data();
  converter.nFromLen = (int64_t)text.size();
  std::string gbk;
  if (converter.ConvertText(&gbk) >= 0) return gbk;
  *fault = "encoding without a converter";
  return text;
}

bool HasControlByte(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f) return true;
  return false;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  return LowerAscii(text.substr(0, std::char_traits<char>::length(prefix))) == prefix;
}

// An absolute http:// or https:// address with a host (an optional port of
// digits), no credentials, and nothing a request line could be split by.
bool IsDownloadServer(const std::string& url) {
  if (url.size() > kUpdateMaxAddress || HasControlByte(url)) return false;
  if (url.find_first_of(" \\") != std::string::npos) return false;
  size_t start;
  if (StartsWithNoCase(url, "http://")) start = 7;
  else if (StartsWithNoCase(url, "https://")) start = 8;
  else return false;
  const size_t end = url.find_first_of("/?#", start);
  const std::string authority =
      url.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (authority.find('@') != std::string::npos) return false;
  std::string host = authority, port;
  if (!authority.empty() && authority[0] == '[') {
    const size_t close = authority.find(']');
    if (close == std::string::npos) return false;
    host = authority.substr(0, close + 1);
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != ':') return false;
      port = authority.substr(close + 2);
    }
  } else if (const size_t colon = authority.find(':'); colon != std::string::npos) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (host.empty() || host == "[]") return false;
  return port.find_first_not_of("0123456789") == std::string::npos && port.size() <= 5;
}

// A name the updater may give a file in its own folder.
bool IsComponentName(const std::string& name) {
  return !name.empty() && name.size() <= kUpdateMaxComponentName && !HasControlByte(name) &&
         name.find_first_of("/\\") == std::string::npos && name.find("..") == std::string::npos &&
         name != ".";
}

}  // namespace

bool CUpdateList::Parse(const std::string& text) {
  m_servers.clear();
  m_doc.SetDocText(ToDocumentText(text, &m_encodingFault));
  m_doc.ResetMainPos();
  if (!m_doc.FindElement("Product") || !m_doc.EnterElement()) return false;
  if (m_doc.FindElement("ServerList") && m_doc.EnterElement()) {
    for (int n = 1; n <= kUpdateMaxServers; ++n) {
      m_doc.ResetMainPos();
      if (!m_doc.FindElement(("Server" + std::to_string(n)).c_str())) break;
      m_servers[m_doc.GetAttrib("Name")] = m_doc.GetAttrib("URL");
    }
    m_doc.LeaveElement();
  }
  return true;
}

std::string CUpdateList::Fault() {
  if (!m_encodingFault.empty()) return m_encodingFault;
  for (const auto& [name, url] : m_servers) {
    if (name.size() > kUpdateMaxServerName || HasControlByte(name))
      return "server name of " + std::to_string(name.size()) + " bytes or with control bytes";
    if (!IsDownloadServer(url)) return "a server has no http:// or https:// address with a host";
  }
  int components = 0;
  std::string fault;
  m_doc.ResetMainPos();
  while (fault.empty() && m_doc.FindElement("Component")) {
    const std::string name = ChildData("Name");
    const std::string time = ChildData("UpdateTime");
    const std::string address = ChildData("DownAddress");
    if (++components > kUpdateMaxComponents)
      fault = "more than " + std::to_string(kUpdateMaxComponents) + " components";
    else if (!IsComponentName(name))
      fault = "component " + std::to_string(components) + " has no plain file name";
    else if (time.size() > kUpdateMaxTime || HasControlByte(time))
      fault = "component " + std::to_string(components) + " has an update time out of bounds";
    else if (address.size() > kUpdateMaxAddress || HasControlByte(address))
      fault = "component " + std::to_string(components) + " has a download address out of bounds";
  }
  m_doc.ResetMainPos();
  return fault;
}

std::string CUpdateList::ChildData(const char* name) {
  m_doc.EnterElement();
  m_doc.ResetMainPos();
  std::string data = m_doc.FindElement(name) ? m_doc.GetData() : std::string();
  m_doc.LeaveElement();
  return data;
}

int CUpdateList::DropCurrent(const LastUpdateMap& recorded) {
  int outdated = 0;
  m_doc.ResetMainPos();
  while (m_doc.FindElement("Component")) {
    const std::string name = LowerAscii(ChildData("Name"));
    const std::string listed = ChildData("UpdateTime");
    auto it = recorded.find(name);
    if (it != recorded.end() && it->second >= listed)
      m_doc.RemoveElement();  // the walk goes on after the element before it
    else ++outdated;
  }
  return outdated;
}

void CUpdateList::PrefixDownAddresses(const std::string& base) {
  m_doc.ResetMainPos();
  while (m_doc.FindElement("Component")) {
    m_doc.EnterElement();
    m_doc.ResetMainPos();
    if (m_doc.FindElement("DownAddress")) m_doc.SetData((base + m_doc.GetData()).c_str(), 0);
    m_doc.LeaveElement();
  }
}
