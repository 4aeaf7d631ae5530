// "zeb.ini" in memory: sections in file order (duplicates kept), quoted or
// bare key lines, string and integer look-ups, value replacement and a
// whole-file save. Used by the main program and the trading library alike;
// every user builds a short-lived object, reads or sets what it needs,
// saves when it changed something and lets the object go.
#pragma once
#include <map>
#include <string>

struct SConfigKey {
  int number = 0;     // 0, 1, 2 ... within its section, in file order
  std::string key;    // unquoted key text
  std::string value;  // unquoted value text
};

struct SConfigSection {
  int number = 0;    // 0, 1, 2 ... in file order; an added section takes the count
  std::string name;  // the text between the brackets, exactly as written
  std::map<int, SConfigKey> keys;
};

class CConfigFile {
 public:
  // Reads the whole file. saveOnClose non-zero: the destructor saves with
  // the header line.
  CConfigFile(const char* path, int saveOnClose);
  ~CConfigFile();
  CConfigFile(const CConfigFile&) = delete;
  CConfigFile& operator=(const CConfigFile&) = delete;

  // 1 when the file could be read at construction, else 0 (also for a
  // file above the size cap: it is then never written).
  int IsLoaded() const { return m_nLoaded; }

  // 0 and the value of the first key of that name in the first section of
  // that name that holds it; -1 when none (value untouched).
  int GetString(const char* section, const char* key, std::string& value) const;
  // As GetString, the value read as a decimal integer (leading white space,
  // optional sign, digits up to the first other byte; no digits gives 0).
  // A number outside the int range gives -1 (value untouched).
  int GetInt(const char* section, const char* key, int* value) const;
  // As GetInt, and -1 (value untouched) when the number lies outside
  // [minValue, maxValue].
  int GetIntInRange(const char* section, const char* key, int* value, int minValue,
                    int maxValue) const;

  // Number of the first section of that name; -2 none; -1 not loaded.
  int FindSection(const char* name) const;
  // 0 after appending an empty section; -1 when it exists or not loaded.
  int AddSection(const char* name);
  // Replaces the value of existing keys only: occurrence -1 every key of
  // that name in the section, n >= 0 only the n-th. 0 when at least one
  // value was replaced, else -1. A value that the file cannot hold (a line
  // break inside it, or a leading double quote) is refused with -1.
  int SetKeyValue(int section, const char* key, const char* value, int occurrence);
  // Adds the section when missing, then SetKeyValue on it.
  int SetString(const char* section, const char* key, const char* value, int occurrence);

  // Writes the whole file (through a temporary file and a rename); with
  // withHeader non-zero the "# This ini was modified by system on ..."
  // line and an empty line come first. 0 on success; -1 when not loaded
  // or the file cannot be written (the disk is then left as it was).
  int Save(int withHeader);

  // The file as Save would write it (without the header); for callers
  // and tests that want the text.
  std::string FormatText(int withHeader) const;

  const std::map<int, SConfigSection>& GetSections() const { return m_mapSections; }
  const std::string& GetPath() const { return m_strPath; }

  // Replaces the memory state with the given file content, as if the file
  // had held it, and marks the object loaded.
  void ParseText(const std::string& text);

 private:
  const std::string* FindValue(const char* section, const char* key) const;

  std::string m_strPath;
  int m_nLoaded = 0;
  int m_nSaveOnClose = 0;
  std::map<int, SConfigSection> m_mapSections;
};
