// Saving a document in the encoding it declares.
#include <cerrno>
#include <cstring>

#include "platform/paths.h"
#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_encoding.h"

namespace {

void AddFileError(std::string& log, int code) {
  // The system's text for the error as it fits into 100 bytes, cut at the
  // first line break; empty when it does not fit.
  const char* text = std::strerror(code);
  std::string msg = text && std::strlen(text) < 100 ? text : "";
  size_t cut = msg.find_first_of("\r\n");
  if (cut != std::string::npos) msg.resize(cut);
  CXmlDoc::AddResult(log, "file_error", msg.c_str(), 0x40 | 0x4, code);
}

// Bytes per character unit of the encodings written wide.
int64_t UnitSize(int codePage, std::string_view name) {
  if (codePage == 1200 || codePage == 1201) return 2;
  if (codePage == 12000 || codePage == 12001 || codePage == 65005) return 4;
  return 1;
}

}  // namespace

bool CXmlDoc::SaveFile(const char* path) {
  std::string log;
  // Through a temporary file and a rename: a failed save leaves the old
  // file as it was. Opened first, so nothing is converted (or logged as
  // converted) for a file that cannot be created.
  platform::AtomicFile file;
  const int openError = !path || !*path ? ENOENT : file.Open(path) ? 0 : errno ? errno : EIO;
  if (openError) {
    AddFileError(log, openError);
    m_strResult = log;
    return false;
  }
  std::string encoding;
  if (!m_strDoc.empty()) {
    encoding = GetDeclaredEncoding(m_strDoc);
    if (encoding.empty()) encoding = "UTF-8";
  }
  std::string converted;
  const std::string* bytes = &m_strDoc;
  if (!m_strDoc.empty() && CanConvert("", encoding)) {
    CXmlConverter converter;
    converter.strToEncoding = encoding;
    converter.pFrom = m_strDoc.data();
    converter.nFromLen = (int64_t)m_strDoc.size();
    // An encoding this machine has no converter for is written unchanged.
    if (converter.ConvertText(&converted) >= 0) {
      AddResult(log, "converted_from", "", 0x8 | 0x10, (int64_t)m_strDoc.size());
      if (converter.nLost) AddResult(log, "conversion_loss");
      bytes = &converted;
    }
  }
  const bool ok = file.Write(*bytes) && file.Commit();
  if (ok) {
    int64_t units = (int64_t)bytes->size() / UnitSize(GetEncodingCodePage(encoding), encoding);
    AddResult(log, "write", encoding.c_str(), 0x8 | 0x10, units);
  } else {
    AddFileError(log, errno ? errno : EIO);
  }
  m_strResult = log;
  return ok;
}
