// Byte-exact text helpers for Shift-JIS strings.
//
// Every record of the data files is a fixed-column line whose positions count bytes, so fields
// are cut and padded in bytes; none of these helpers ever splits a double-byte character.
#pragma once

#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace kal::text {

// The field at 1-based byte `position` of `width` bytes; shorter or empty when the line ends
// early.
std::string field(std::string_view line, std::size_t position, std::size_t width);

// Everything from 1-based byte `position` to the end of the line.
std::string fieldToEnd(std::string_view line, std::size_t position);

// Appends blanks to `value` and cuts it to exactly `width` bytes. A double-byte character that
// would be split by the cut is dropped and its first byte's place filled with a blank, so the
// width and every later field position stay exact.
std::string padCut(std::string_view value, std::size_t width);

// At most `maxBytes` bytes of `value`, cut before a double-byte character that does not fit.
std::string cutBytes(std::string_view value, std::size_t maxBytes);

// Removal of blanks and control characters (bytes up to 0x20); trail bytes are never in that
// range, so this is safe on Shift-JIS.
std::string trimRight(std::string_view s);
std::string_view withoutTrailingBlanks(std::string_view s); // trimRight without a copy
std::string trimLeft(std::string_view s);
std::string trim(std::string_view s);
bool isBlank(std::string_view s);

// The one case folding of search, sorts and pick-list matching: ASCII and full-width Latin
// letters upper-cased, every other character kept, a trail byte never taken for a letter. The
// result has the same length and character boundaries as `s`.
std::string toUpper(std::string_view s);
// Whether toUpper(s) holds `folded` at `at`, a start of one of s's characters; s is not copied.
bool upperHoldsAt(std::string_view s, std::size_t at, std::string_view folded);
// Every byte that `byte` may become under toUpper, wherever it stands (alone or as a trail
// byte), itself among them: for quick tests that must never miss a folded match.
const std::bitset<256>& upperForms(unsigned char byte);

// Case-insensitive comparison: both sides upper-cased as above, then compared byte by byte
// (unsigned), so kana and kanji keep the JIS order in which Shift-JIS stores them.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

// Plain byte-wise comparison (unsigned), for texts the program compares "as text".
int compareBytes(std::string_view a, std::string_view b);

// The one sort for data files and lists: stable, case-insensitive.
void sortNoCase(std::vector<std::string>& lines);

// Strict decimal reading of a whole field ("09", " 9", "12"); leading and trailing blanks allowed.
// Returns `fallback` for anything else.
int toIntOr(std::string_view s, int fallback);

} // namespace kal::text
