// Windows-1252, the encoding of every stored text, to and from UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qv {

std::string Cp1252ToUtf8(std::string_view text);
// Characters with no Windows-1252 form become '?'; malformed UTF-8 bytes are taken as Latin-1.
std::string Utf8ToCp1252(std::string_view text);
// The Unicode code point of one Windows-1252 byte (the five unassigned bytes map to themselves).
char32_t Cp1252ToUnicode(unsigned char byte);
// The Windows-1252 byte for a code point, or 0 when it has none.
unsigned char UnicodeToCp1252(char32_t code);

} // namespace qv
