// Escaping rules of XML text and attribute values, character and entity
// references, and CDATA sections. Text is GBK.
#pragma once
#include <string>
#include <string_view>

// "<", "&", ">" become references; with XML_ESCAPE_ATTRIBUTE (0x100) both
// quotes too; with XML_EDIT_KEEP_REFS (0x8) references already in the
// text are copied unchanged.
std::string EscapeText(std::string_view text, int flags);

// Turns character references and the HTML 4.01 entity names (and "apos")
// into GBK bytes. A reference to code point 0, an unknown name or a
// character that GBK lacks is left as written.
std::string UnescapeText(std::string_view text);

// "<![CDATA[" text "]]>", with every "]]>" of the text split over two
// adjacent sections.
std::string EncodeCData(std::string_view text);

// The code point of an entity name (HTML 4.01 names and "apos"); 0 when
// unknown. Names HTML 4.01 spells in two cases match only as written,
// all others without regard to ASCII case.
int LookupEntityName(std::string_view name);
