// The Shift-JIS codec and byte helpers on any bytes: text converted to UTF-8 and back to
// Shift-JIS converts to the same UTF-8 again, and cuts never split a double-byte character.
#include "FuzzSupport.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    std::string input = fuzz::bytesOf(data, size);
    const std::size_t width = static_cast<std::size_t>(fuzz::takeNumber(input, 64));
    const std::string utf8 = sjis::toUtf8(input);
    if (std::optional<std::string> back = sjis::fromUtf8(utf8))
        FUZZ_CHECK(sjis::toUtf8(*back) == utf8);
    sjis::fromUtf8Lossy(input);
    FUZZ_CHECK(text::padCut(input, width).size() == width);
    FUZZ_CHECK(text::cutBytes(input, width).size() <= width);
    FUZZ_CHECK(text::compareNoCase(input, input) == 0);
    FUZZ_CHECK(text::toUpper(input).size() == input.size());
    return 0;
}
