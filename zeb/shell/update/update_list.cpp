// Reading and editing the update list (update_list.h). Every walk starts
// from the first child of "Product", so the order of its children does not
// change what is found.
#include "zeb/shell/update/update_list.h"

#include "ui/xml_encoding.h"

namespace {

// The list in GBK, the document class's text; its declaration stays, so
// saving writes it back in the encoding it came in.
std::string ToDocumentText(const std::string& text) {
  const std::string declared = GetDeclaredEncoding(text);
  if (declared.empty() || !CanConvert(declared, "")) return text;
  CXmlConverter converter;
  converter.strFromEncoding = declared;
  converter.pFrom = text.data();
  converter.nFromLen = (int64_t)text.size();
  std::string gbk;
  return converter.ConvertText(&gbk) >= 0 ? gbk : text;
}

}  // namespace

bool CUpdateList::Parse(const std::string& text) {
  m_servers.clear();
  m_doc.SetDocText(ToDocumentText(text));
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
    else
      ++outdated;
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
