// The platform of the tests: dialogs answered from a script, every message box recorded, a
// clock that only moves when told.
#pragma once

#include "platform/Platform.h"

#include <deque>
#include <string>
#include <vector>

namespace kal::test {

struct RecordedMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

class FakePlatform : public Platform {
public:
    MessageAnswer messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    std::optional<ColorValue> chooseColor(ColorValue initial) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<std::string> openFileName(const std::string& caption, const std::string& folder,
                                            const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& caption, const std::string& folder,
                                            const std::string& filter) override;
    std::optional<std::string> folderName(const std::string& caption, const std::string& folder) override;
    void playSound(const std::string& path) override { sounds.push_back(path); }
    bool shellOpen(const std::string& target) override
    {
        opened.push_back(target);
        return shellOpens;
    }
    DateTime now() override { return clock; }
    bool hasNotificationArea() override
    {
        ++notificationAreaAsked;
        return notificationArea;
    }
    bool printerInstalled() override { return printer; }

    // Answers given in order; when a queue is empty message boxes answer Ok/Yes and the
    // other dialogs cancel.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<ColorValue>> colorAnswers;
    std::deque<std::optional<FontSpec>> fontAnswers;
    std::deque<std::optional<std::string>> fileAnswers;

    std::vector<RecordedMessage> messages;
    std::vector<std::string> inputPrompts;
    std::vector<std::string> inputInitials;
    std::vector<ColorValue> colorInitials;
    std::vector<std::string> fileDialogFolders; // what each open or save dialog started with
    std::vector<std::string> sounds;
    std::vector<std::string> opened;

    DateTime clock{{2026, 12, 8}, 10, 0, 0};
    bool notificationArea = true;
    int notificationAreaAsked = 0;
    bool shellOpens = true; // false: no browser or file handler could be started
    bool printer = false;   // tests never reach a real printer

    void setToday(int year, int month, int day, int hour = 10, int minute = 0, int second = 0)
    {
        clock = DateTime{{year, month, day}, hour, minute, second};
    }
};

} // namespace kal::test
