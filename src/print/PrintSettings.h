// Printing: the print settings file Kaprint.ini, the page layout arithmetic (PageLayout) and
// what each printed cell shows (MonthPrint). The page itself is painted by print/qt; the print
// dialog and the preview are TDlgPrint and TFormPreview.
//
// Kaprint.ini: every key with its default and its range. Decoding is a pure function of the
// stored texts and always gives values inside their ranges.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Platform.h"

#include <optional>
#include <string>

namespace kal {

inline constexpr const char* kPrintSettingsFileName = "Kaprint.ini";

enum class PageOrientation { Portrait = 0, Landscape = 1 };
enum class TodoPrint { None = 0, Plain = 1, Underlined = 2 };
enum class OtherMonthPrint { Hidden = 0, Plain = 1, Light = 2 };

inline constexpr int kMinMargin = 0, kMaxMargin = 99;       // millimetres
inline constexpr int kMinLineFont = 8, kMaxLineFont = 16;   // points
inline constexpr int kMinTitleFont = 6, kMaxTitleFont = 72; // points

struct PrintSettings {
    std::string title;          // Shift-JIS date pattern, applied to the first of the month
    std::string date;           // Shift-JIS date pattern for today's date; "(なし)" for none
    FontSpec titleFont;         // UTF-8 name
    bool titleHasColor = false; // the stored font list has a colour
    int top = 20, bottom = 20, left = 20, right = 20;
    int fontSize = 9;
    PageOrientation orientation = PageOrientation::Portrait;
    bool place = false;
    TodoPrint todo = TodoPrint::Underlined;
    OtherMonthPrint otherMonth = OtherMonthPrint::Light;
    bool noWeekend = false; // SatSun: five columns, Monday to Friday
    bool color = false;

    PrintSettings();
    int columns() const { return noWeekend ? 5 : 7; }
    bool hasCreationDate() const;
};

// The stored texts of every key; nothing where the key is missing.
struct PrintValues {
    std::optional<std::string> title, date, titleFont;
    std::optional<std::string> top, bottom, left, right;
    std::optional<std::string> fontSize, orientation, place, todo, otherMonth, satSun, color;
};

PrintValues ReadPrintValues(const IniFile& ini);
PrintSettings DecodePrintSettings(const PrintValues& values);

std::string PrintSettingsPath(const std::string& programFolder);
PrintSettings LoadPrintSettings(const std::string& programFolder);
// Sets every key; the other lines of the file stay as they are.
void WritePrintSettings(IniFile& ini, const PrintSettings& settings);
// Writes every key and flushes the file at once.
files::IoResult SavePrintSettings(const std::string& programFolder, const PrintSettings& settings,
                                  files::FileOps& ops = files::systemFileOps());

// The title font as stored: name, size, style code and, when it has one, the colour.
std::string EncodeTitleFont(const FontSpec& font, bool withColor);

// The page title (the title pattern applied to the first of the month) and the creation date
// (today in the date pattern, empty for "(なし)"); Shift-JIS.
std::string PageTitleText(const PrintSettings& settings, int year, int month);
std::string CreationDateText(const PrintSettings& settings, const Date& today);

} // namespace kal
