// Shift-JIS (code page 932) <-> UTF-8.
//
// Data stays in Shift-JIS bytes everywhere in the logic; the codec is used only where text
// crosses to the screen, to file names or to literals written in the sources.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal::sjis {

// First byte of a double-byte character.
inline bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Byte length of the character starting at s[i] (1 or 2; 1 for a lead byte at the end).
inline std::size_t charLength(std::string_view s, std::size_t i)
{
    return (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// Never fails: a byte sequence that is not Shift-JIS becomes U+FFFD and the conversion goes on.
std::string toUtf8(std::string_view sjisText);

// Empty when a character has no Shift-JIS form (or the input is not UTF-8).
std::optional<std::string> fromUtf8(std::string_view utf8Text);

// Every character without a Shift-JIS form (and every byte that is not UTF-8) becomes
// `substitute`; `substituted`, when given, is raised once for each.
std::string fromUtf8Substituting(std::string_view utf8Text, std::string_view substitute, int* substituted = nullptr);

// The text with every character in the form new text from UTF-8 gets: the NEC and IBM extension
// characters that code page 932 holds twice become one form, so two texts that read alike are
// equal bytes. Bytes that are not Shift-JIS stay as they are.
std::string canonical(std::string_view sjisText);
// Whether two texts (or lists of lines) hold the same characters, in whichever form.
bool sameCharacters(std::string_view a, std::string_view b);
bool sameCharacters(const std::vector<std::string>& a, const std::vector<std::string>& b);

// For texts known to be encodable (literals in the sources); an unencodable character becomes '?'.
std::string fromUtf8Lossy(std::string_view utf8Text);

// Shift-JIS form of a literal written in the sources; converted once per call site.
#define KAL_SJIS(utf8Literal)                                                                                          \
    ([]() -> const std::string& {                                                                                      \
        static const std::string converted = ::kal::sjis::fromUtf8Lossy(utf8Literal);                                  \
        return converted;                                                                                              \
    }())

} // namespace kal::sjis
