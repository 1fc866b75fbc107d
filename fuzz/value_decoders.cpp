// The settings values: integers, flag strings, fonts and colours. Whatever decodes is encoded to
// a value that decodes the same, and comma text splits back into the items it was joined from.
#include "FuzzSupport.h"
#include "platform/CommaText.h"
#include "settings/AppSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::string value = fuzz::bytesOf(data, size);
    if (std::optional<int> number = parseProfileInteger(value))
        FUZZ_CHECK(parseProfileInteger(std::to_string(*number)) == number);

    decodeBinaryFlags(value);
    for (int flag : decodeDigitFlags(value, 7))
        FUZZ_CHECK((flag >= 0 && flag <= 9));

    for (bool withColor : {false, true}) {
        const FontSpec fallback{"MS UI Gothic", 9, FontStyle::Regular, 0};
        if (std::optional<FontSpec> font = decodeFont(value, fallback, true, withColor)) {
            const std::string stored = encodeFont(*font, withColor);
            std::optional<FontSpec> again = decodeFont(stored, fallback, true, withColor);
            FUZZ_CHECK(again);
            FUZZ_CHECK(encodeFont(*again, withColor) == stored);
        }
    }

    const ColorPair color = decodeColor(value, ColorPair{1, 2});
    FUZZ_CHECK(color.text <= 0xFFFFFF && color.back <= 0xFFFFFF);
    FUZZ_CHECK(decodeColor(encodeColor(color, true), ColorPair{3, 4}) == color);

    const std::vector<std::string> items = text::splitCommaText(value);
    FUZZ_CHECK(text::splitCommaText(text::joinCommaText(items)) == items);
    return 0;
}
