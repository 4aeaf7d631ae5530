// A small INI-style text file kept as an array of its lines. Sections and
// keys are found by substring search over the lines (a header is any line
// holding "[" and the section name, a key line any line holding the key),
// which the scheme files, block lists and indicator panes rely on.
// Changed lines are written back, atomically, when the object goes.
#pragma once
#include <string>
#include <vector>

#include "platform/paths.h"

class CIniFile {
 public:
  CIniFile();
  virtual ~CIniFile();
  CIniFile(const CIniFile&) = delete;
  CIniFile& operator=(const CIniFile&) = delete;

  // Reads every line of the file. When it does not exist and create is
  // non-zero, an empty file is made (one that exists but cannot be read,
  // or is above the size cap, is not loaded and left alone). Returns the
  // loaded flag.
  int Open(const std::string& path, int create);

  // 1 and the text after the first "=" of the key line (the whole line
  // when it has none); 0 when not found or not loaded (value untouched).
  int GetString(const std::string& section, const std::string& key, std::string& value) const;
  // GetString, leading white space removed, read as a decimal integer;
  // 1 when found, 0 otherwise (also for a number outside the int range).
  int GetInt(const std::string& section, const std::string& key, int* value) const;

  // Replaces the key line, or inserts it at the end of the section, or
  // appends the section; with existingOnly set only replaces (see
  // WriteValue). 1 when written or allowed to be skipped, 0 otherwise
  // (also for a section, key or value holding a line break).
  int SetString(const std::string& section, const std::string& key, const std::string& value,
                int existingOnly);
  int SetInt(const std::string& section, const std::string& key, const int* value,
             int existingOnly);

  // Lines after the "[section]" line up to the first empty or "[" line.
  int GetKeyCount(const std::string& section) const;
  // Every "[name]" line's name in file order; 0 when not loaded, else 1.
  int GetSectionNames(std::vector<std::string>& names) const;

  const std::vector<std::string>& GetLines() const { return m_arrLines; }
  int IsLoaded() const { return m_nLoaded; }
  // Whether Open found a file there that it could not read (permissions, a
  // folder in its place, above the size cap): the user is told that, not
  // that an entry is missing.
  bool IsUnreadable() const {
    return m_eRead == platform::FileRead::kUnreadable || m_eRead == platform::FileRead::kTooLarge;
  }

  // Writes the lines now when they changed; false when that failed (the
  // file is then left as it was). The destructor does the same.
  bool Flush();

  // Position (from 1) of the key line in the section; -2 when the section
  // ends first, -1 when not found.
  int FindKeyLine(const std::string& section, const std::string& key) const;

 private:
  int WriteValue(const std::string& section, const std::string& key, const std::string& value,
                 int existingOnly);
  void ReplaceLine(size_t index, std::string line);

  std::vector<std::string> m_arrLines;
  int m_nLoaded = 0;
  bool m_bModified = false;
  platform::FileRead m_eRead = platform::FileRead::kMissing;
  std::string m_strPath;
};
