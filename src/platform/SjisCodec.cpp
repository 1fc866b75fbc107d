#include "platform/SjisCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace kal::sjis {
namespace {

// One converter per direction and thread; iconv_open is far too slow to run per call.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) { }
    ~Converter()
    {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as possible; returns false at an invalid or unconvertible sequence, with
    // `in`/`inLeft` pointing at it.
    bool convert(char*& in, std::size_t& inLeft, std::string& out)
    {
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t rc = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t handle_;
};

Converter& toUtf8Converter()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& fromUtf8Converter()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

bool isAscii(std::string_view s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::string toUtf8(std::string_view sjisText)
{
    // 0x5C and 0x7E stay ASCII in code page 932, so ASCII text converts to itself.
    if (isAscii(sjisText))
        return std::string(sjisText);
    Converter& converter = toUtf8Converter();
    std::string out;
    out.reserve(sjisText.size() * 3 / 2);
    std::string copy(sjisText);
    char* in = copy.data();
    std::size_t inLeft = copy.size();
    converter.reset();
    while (!converter.convert(in, inLeft, out)) {
        out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        converter.reset();
    }
    return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8Text)
{
    if (isAscii(utf8Text))
        return std::string(utf8Text);
    Converter& converter = fromUtf8Converter();
    std::string out;
    std::string copy(utf8Text);
    char* in = copy.data();
    std::size_t inLeft = copy.size();
    converter.reset();
    if (!converter.convert(in, inLeft, out))
        return std::nullopt;
    return out;
}

std::string fromUtf8Substituting(std::string_view utf8Text, std::string_view substitute, int* substituted)
{
    if (isAscii(utf8Text))
        return std::string(utf8Text);
    Converter& converter = fromUtf8Converter();
    std::string out;
    std::string copy(utf8Text);
    char* in = copy.data();
    std::size_t inLeft = copy.size();
    converter.reset();
    while (!converter.convert(in, inLeft, out)) {
        out += substitute;
        if (substituted)
            ++*substituted;
        // Skip the whole UTF-8 sequence that could not be converted.
        do {
            ++in;
            --inLeft;
        } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
        converter.reset();
    }
    return out;
}

namespace {

// The rows where code page 932 holds characters twice: NEC's row 13, NEC's selection of the IBM
// extensions, and the IBM extensions.
bool mayHaveTwoForms(unsigned char lead)
{
    return lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
}

} // namespace

std::string canonical(std::string_view sjisText)
{
    std::string out;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < sjisText.size(); i += charLength(sjisText, i)) {
        if (charLength(sjisText, i) != 2 || !mayHaveTwoForms(static_cast<unsigned char>(sjisText[i])))
            continue;
        const std::optional<std::string> again = fromUtf8(toUtf8(sjisText.substr(i, 2)));
        if (!again || *again == sjisText.substr(i, 2))
            continue;
        out.append(sjisText.substr(copied, i - copied));
        out += *again;
        copied = i + 2;
    }
    if (copied == 0)
        return std::string(sjisText);
    out.append(sjisText.substr(copied));
    return out;
}

bool sameCharacters(std::string_view a, std::string_view b)
{
    return a == b || canonical(a) == canonical(b);
}

bool sameCharacters(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const std::string& x, const std::string& y) { return sameCharacters(x, y); });
}

std::string fromUtf8Lossy(std::string_view utf8Text)
{
    return fromUtf8Substituting(utf8Text, "?");
}

} // namespace kal::sjis
