// The operating system's services, behind one interface: message boxes, the input box, the
// colour, font, file and folder dialogs, sound, the shell, the clock and the notification
// area. The program uses nothing else to reach them; tests install a fake.
//
// Texts passed here are UTF-8 (they are shown, not stored); file paths are UTF-8.
#pragma once

#include "platform/Date.h"

#include <optional>
#include <string>

namespace kal {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// 24-bit colour with red in the low byte and blue in the high byte, as stored.
using ColorValue = int;

enum class FontStyle { Regular = 0, Italic = 1, Bold = 2, BoldItalic = 3 };

struct FontSpec {
    std::string name; // UTF-8 family name as stored in the settings file
    int size = 9;     // points
    FontStyle style = FontStyle::Regular;
    ColorValue color = 0;
};

inline bool operator==(const FontSpec& a, const FontSpec& b)
{
    return a.name == b.name && a.size == b.size && a.style == b.style && a.color == b.color;
}

class Platform {
public:
    virtual ~Platform() = default;

    virtual MessageAnswer messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // Nothing when the user cancels.
    virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& initial) = 0;
    virtual std::optional<ColorValue> chooseColor(ColorValue initial) = 0;
    virtual std::optional<FontSpec> chooseFont(const FontSpec& initial) = 0;
    // `filter` in the form "Text (*.txt);;All (*)".
    virtual std::optional<std::string> openFileName(const std::string& caption, const std::string& folder,
                                                    const std::string& filter) = 0;
    // `folder` may end in a proposed file name. The caller asks before an existing file is
    // replaced, in its own words.
    virtual std::optional<std::string> saveFileName(const std::string& caption, const std::string& folder,
                                                    const std::string& filter) = 0;
    virtual std::optional<std::string> folderName(const std::string& caption, const std::string& folder) = 0;

    // Plays a sound file without waiting; the sound system starts on first use.
    virtual void playSound(const std::string& path) = 0;
    // Opens a web address, mail address or file with the desktop's handler.
    virtual bool shellOpen(const std::string& target) = 0;

    virtual DateTime now() = 0;

    // Whether the desktop shows tray icons at all.
    virtual bool hasNotificationArea() = 0;
};

} // namespace kal
