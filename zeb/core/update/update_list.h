// The update list the update server answers with, held in the XML
// document class: its download servers, the components it offers, and the
// edits the check makes before handing it to the update program as
// "update.xml" (components already installed removed, download addresses
// prefixed with the chosen server).
//
//   <Product>
//     <ServerList><Server1 Name=".." URL=".."/> .. <Server10 ../></ServerList>
//     <Component><Name>..</Name><UpdateTime>..</UpdateTime><DownAddress>..</DownAddress></Component> ..
//   </Product>
#pragma once
#include <map>
#include <string>

#include "zeb/xml/xml_doc.h"
#include "zeb/core/update/last_update_file.h"

constexpr int kUpdateMaxServers = 10;
// Bounds of what a list may hand to the update program (a component name
// and time also fit their "lastupdate.dat" fields).
constexpr size_t kUpdateMaxServerName = 64;
constexpr size_t kUpdateMaxAddress = 1024;  // a server's URL, a download address
constexpr size_t kUpdateMaxComponentName = kLastUpdateNameSize - 1;
constexpr size_t kUpdateMaxTime = kLastUpdateTimeSize - 1;
constexpr int kUpdateMaxComponents = 256;

// Server name -> URL, ordered by name; a repeated name keeps its last URL.
using UpdateServerMap = std::map<std::string, std::string>;

class CUpdateList {
 public:
  // Takes the list text in the encoding it declares (GBK when none) and
  // reads its servers: "Server1", "Server2", ... up to the first missing
  // number. False when there is no "Product" element.
  bool Parse(const std::string& text);
  const UpdateServerMap& Servers() const { return m_servers; }

  // Why the list must not reach the update program, "" when it may. The
  // updater downloads from the servers and names files after the
  // components, so a list from a hostile or broken server is refused
  // whole: an encoding that cannot be read, a server address that is not
  // http:// or https:// with a host, a component name that is not a plain
  // file name (a "/", "\", "..", a control byte), or anything past the
  // bounds above.
  std::string Fault();

  // Removes every component whose lower-cased name has a recorded time
  // that compares greater than or equal to its listed one (text order;
  // times of one form compare as dates) and returns how many are left,
  // the outdated ones.
  int DropCurrent(const LastUpdateMap& recorded);
  // Puts base in front of the download address of every component left.
  void PrefixDownAddresses(const std::string& base);

  bool Save(const std::string& path) { return m_doc.SaveFile(path.c_str()); }
  const CXmlDoc& Doc() const { return m_doc; }

 private:
  // Data of a child element of the current one; empty when absent.
  std::string ChildData(const char* name);

  CXmlDoc m_doc;
  UpdateServerMap m_servers;
  std::string m_encodingFault;  // set by Parse
};
