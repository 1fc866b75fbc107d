#include "ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace holidays {

namespace {

std::string convert(std::string_view input, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  // Three output bytes per input byte covers both directions (a half-width kana grows most).
  std::string output(input.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  const int error = errno;
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) {
    throw std::runtime_error(std::string("cannot convert text to ") + to + ": " +
                             std::strerror(error));
  }
  // glibc counts irreversible conversions; any would mean a character was replaced.
  if (result != 0) throw std::runtime_error(std::string("text has no exact form in ") + to);
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace

std::string utf8ToCp932(std::string_view utf8) { return convert(utf8, "CP932", "UTF-8"); }

std::string cp932ToUtf8(std::string_view cp932) { return convert(cp932, "UTF-8", "CP932"); }

}  // namespace holidays
