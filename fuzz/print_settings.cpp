// Kaprint.ini: any file decodes to values inside their ranges, and the settings written back
// decode to the same settings (writing them a second time changes nothing).
#include "FuzzSupport.h"
#include "print/PrintSettings.h"

namespace {

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    if (size > 4096)
        return 0;
    const IniFile ini("/nonexistent/Kaprint.ini", fuzz::linesOf(data, size));
    const PrintSettings settings = DecodePrintSettings(ReadPrintValues(ini));
    for (int margin : {settings.top, settings.bottom, settings.left, settings.right})
        FUZZ_CHECK(within(margin, kMinMargin, kMaxMargin));
    FUZZ_CHECK(within(settings.fontSize, kMinLineFont, kMaxLineFont));
    FUZZ_CHECK(within(settings.titleFont.size, kMinTitleFont, kMaxTitleFont));
    PageTitleText(settings, 2026, 5);

    IniFile once = ini;
    WritePrintSettings(once, settings);
    const PrintSettings reread = DecodePrintSettings(ReadPrintValues(once));
    IniFile twice = once;
    WritePrintSettings(twice, reread);
    FUZZ_CHECK(twice.lines() == once.lines());
    return 0;
}
