// Trimming, padding, searching and splitting of byte texts.
#pragma once
#include <string>

// Remove the characters of the set from the start, the end or both, in
// place; a NULL or empty text (or a NULL set) is returned unchanged.
char* TrimLeft(char* text, const char* set);
char* TrimRight(char* text, const char* set);
char* Trim(char* text, const char* set);

enum { PAD_LEFT_ALIGN = 1 };
// The text in a field of width characters: mode 1 left-aligned (fill
// after), any other mode right-aligned (fill before); a text of width or
// more characters is cut to width; an empty or NULL text gives width fills.
std::string PadText(const char* text, int width, int mode, char fill);

// The last character of the text that is in the set, or NULL.
const char* FindLastOf(const char* text, const char* set);
// The last occurrence of part in text, or NULL (also for a NULL or empty part).
const char* FindLastSubstring(const char* text, const char* part);

// Splits at the last "/" or "\": the folder before it (empty when it is
// the first character), the file name after it; without one the folder is
// empty and the file name is the whole path.
void SplitPath(const char* path, std::string& dir, std::string& file);

// Lower-case hexadecimal, two digits per byte; "" when length is below 1.
std::string BytesToHex(const unsigned char* data, int length);
// The same into out, which holds 2 x length + 1 characters.
void BytesToHex(char* out, const unsigned char* data, int length);

// Full path of the running executable, or the fallback when it cannot be read.
std::string GetModulePath(const char* fallback);
