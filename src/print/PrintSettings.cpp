#include "print/PrintSettings.h"

#include "platform/CommaText.h"
#include "platform/DateFormat.h"
#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"

#include <algorithm>

namespace kal {
namespace {

constexpr const char* kDefaultTitle = "yyyy\"年\"m\"月のスケジュール\"";
constexpr const char* kDefaultDate = "yyyy.mm.dd";
constexpr const char* kNoDate = "(なし)";
constexpr const char* kDefaultFontName = "ＭＳ Ｐゴシック";

int integerIn(const std::optional<std::string>& value, int fallback, int low, int high)
{
    std::optional<int> number = value ? parseProfileInteger(*value) : std::nullopt;
    return std::clamp(number.value_or(fallback), low, high);
}

bool flagOf(const std::optional<std::string>& value, bool fallback)
{
    std::optional<int> number = value ? parseProfileInteger(*value) : std::nullopt;
    return number ? *number != 0 : fallback;
}

FontSpec defaultTitleFont()
{
    return FontSpec{kDefaultFontName, 16, FontStyle::Bold, 0};
}

void decodeTitleFont(const std::string& stored, PrintSettings& settings)
{
    const FontSpec fallback = defaultTitleFont();
    FontSpec font = decodeFont(stored, fallback, false, true).value_or(fallback);
    if (font.name.find_first_not_of(' ') == std::string::npos)
        font.name = fallback.name;
    font.size = std::clamp(font.size, kMinTitleFont, kMaxTitleFont);
    settings.titleFont = font;
    settings.titleHasColor = text::splitCommaText(stored).size() > 3;
}

} // namespace

PrintSettings::PrintSettings()
    : title(sjis::fromUtf8Lossy(kDefaultTitle)), date(kDefaultDate), titleFont(defaultTitleFont()), titleHasColor(true)
{
}

bool PrintSettings::hasCreationDate() const
{
    return date != KAL_SJIS(kNoDate);
}

PrintValues ReadPrintValues(const IniFile& ini)
{
    PrintValues v;
    v.title = ini.value("Title", "Title");
    v.date = ini.value("Title", "Date");
    v.titleFont = ini.value("Title", "TFont");
    v.top = ini.value("Margin", "Top");
    v.bottom = ini.value("Margin", "Bottom");
    v.left = ini.value("Margin", "Left");
    v.right = ini.value("Margin", "Right");
    v.fontSize = ini.value("Option", "FontSize");
    v.orientation = ini.value("Option", "Orientation");
    v.place = ini.value("Option", "Place");
    v.todo = ini.value("Option", "ToDo");
    v.otherMonth = ini.value("Option", "OtherMon");
    v.satSun = ini.value("Option", "SatSun");
    v.color = ini.value("Option", "Color");
    return v;
}

PrintSettings DecodePrintSettings(const PrintValues& v)
{
    PrintSettings s;
    if (v.title)
        s.title = *v.title;
    if (v.date)
        s.date = *v.date;
    if (v.titleFont)
        decodeTitleFont(*v.titleFont, s);
    else
        s.titleHasColor = false; // no colour entry: the title stays black
    s.top = integerIn(v.top, 20, kMinMargin, kMaxMargin);
    s.bottom = integerIn(v.bottom, 20, kMinMargin, kMaxMargin);
    s.left = integerIn(v.left, 20, kMinMargin, kMaxMargin);
    s.right = integerIn(v.right, 20, kMinMargin, kMaxMargin);
    s.fontSize = integerIn(v.fontSize, 9, kMinLineFont, kMaxLineFont);
    // Only 1 is landscape; anything else prints upright.
    const bool landscape = v.orientation && parseProfileInteger(*v.orientation) == 1;
    s.orientation = landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
    s.place = flagOf(v.place, false);
    s.todo = static_cast<TodoPrint>(integerIn(v.todo, 2, 0, 2));
    s.otherMonth = static_cast<OtherMonthPrint>(integerIn(v.otherMonth, 2, 0, 2));
    s.noWeekend = flagOf(v.satSun, false);
    s.color = flagOf(v.color, false);
    return s;
}

std::string PrintSettingsPath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kPrintSettingsFileName;
}

PrintSettings LoadPrintSettings(const std::string& programFolder)
{
    IniFile ini(PrintSettingsPath(programFolder));
    ini.load();
    return DecodePrintSettings(ReadPrintValues(ini));
}

std::string EncodeTitleFont(const FontSpec& font, bool withColor)
{
    std::vector<std::string> items = {sjis::fromUtf8Lossy(font.name), std::to_string(font.size),
                                      std::to_string(static_cast<int>(font.style))};
    if (withColor)
        items.push_back(std::to_string(font.color));
    return text::joinCommaText(items);
}

void WritePrintSettings(IniFile& ini, const PrintSettings& s)
{
    ini.writeString("Title", "Title", s.title);
    ini.writeString("Title", "TFont", EncodeTitleFont(s.titleFont, s.titleHasColor));
    ini.writeString("Title", "Date", s.date);
    ini.writeInteger("Margin", "Top", s.top);
    ini.writeInteger("Margin", "Bottom", s.bottom);
    ini.writeInteger("Margin", "Left", s.left);
    ini.writeInteger("Margin", "Right", s.right);
    ini.writeInteger("Option", "FontSize", s.fontSize);
    ini.writeInteger("Option", "Orientation", static_cast<int>(s.orientation));
    ini.writeInteger("Option", "Place", s.place ? 1 : 0);
    ini.writeInteger("Option", "ToDo", static_cast<int>(s.todo));
    ini.writeInteger("Option", "OtherMon", static_cast<int>(s.otherMonth));
    ini.writeInteger("Option", "SatSun", s.noWeekend ? 1 : 0);
    ini.writeInteger("Option", "Color", s.color ? 1 : 0);
}

files::IoResult SavePrintSettings(const std::string& programFolder, const PrintSettings& s, files::FileOps& ops)
{
    IniFile ini(PrintSettingsPath(programFolder));
    ini.load();
    WritePrintSettings(ini, s);
    return ini.flush(ops);
}

std::string PageTitleText(const PrintSettings& settings, int year, int month)
{
    return text::formatDate(settings.title, Date{year, month, 1});
}

std::string CreationDateText(const PrintSettings& settings, const Date& today)
{
    return settings.hasCreationDate() ? text::formatDate(settings.date, today) : std::string();
}

} // namespace kal
