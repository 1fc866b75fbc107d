#include "settings/Subscriptions.h"

#include "platform/FolderLock.h"
#include "platform/IniFile.h"
#include "platform/SjisCodec.h"

#include <algorithm>
#include <cctype>

namespace kal {
namespace {

constexpr const char* kFields[] = {"Name", "Url", "Color", "Interval", "Holidays"};

std::string indexed(const char* field, std::size_t index)
{
    return field + std::to_string(index + 1);
}

// "Name3" and the like: the keys the writer owns.
bool isEntryKey(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    const std::string_view key = line.substr(0, equals);
    for (const std::string_view field : kFields) {
        if (key.size() <= field.size() || key.substr(0, field.size()) != field)
            continue;
        const std::string_view digits = key.substr(field.size());
        if (std::all_of(digits.begin(), digits.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return true;
    }
    return false;
}

bool isSectionLine(std::string_view line)
{
    return !line.empty() && line.front() == '[';
}

bool isOurSection(std::string_view line)
{
    return line.size() == std::string_view(kSubscriptionSection).size() + 2 &&
           line.substr(1, line.size() - 2) == kSubscriptionSection;
}

std::vector<std::string> entryLines(const std::vector<Subscription>& list)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Subscription& s = list[i];
        lines.push_back(indexed("Name", i) + "=" + sjis::fromUtf8Lossy(s.name));
        lines.push_back(indexed("Url", i) + "=" + sjis::fromUtf8Lossy(s.url));
        lines.push_back(indexed("Color", i) + "=" + std::to_string(s.color));
        lines.push_back(indexed("Interval", i) + "=" + std::to_string(s.interval));
        lines.push_back(indexed("Holidays", i) + "=" + (s.holidays ? "1" : "0"));
    }
    return lines;
}

std::vector<std::string> replaceEntries(const std::vector<std::string>& old, const std::vector<Subscription>& list)
{
    std::vector<std::string> lines;
    bool inSection = false, placed = false;
    for (const std::string& line : old) {
        if (isSectionLine(line)) {
            if (inSection && !placed) {
                const auto entries = entryLines(list);
                lines.insert(lines.end(), entries.begin(), entries.end());
                placed = true;
            }
            inSection = isOurSection(line);
        }
        if (!(inSection && isEntryKey(line)))
            lines.push_back(line);
    }
    if (!placed) {
        if (!inSection)
            lines.push_back(std::string("[") + kSubscriptionSection + "]");
        const auto entries = entryLines(list);
        lines.insert(lines.end(), entries.begin(), entries.end());
    }
    return lines;
}

} // namespace

SubscriptionsFile readSubscriptions(const std::string& settingsPath)
{
    SubscriptionsFile file;
    if (!files::fileExists(settingsPath))
        return file;
    files::FolderLock lock = files::lockFolderOf(settingsPath);
    if (!lock)
        return SubscriptionsFile{false, lock.reason(), {}};
    IniFile ini(settingsPath);
    ini.load();
    if (!ini.readable())
        return SubscriptionsFile{false, "設定ファイルを読み込めません。\r\n" + ini.unreadableReason(), {}};
    const Subscription defaults;
    for (std::size_t i = 0; ini.hasKey(kSubscriptionSection, indexed("Name", i)); ++i) {
        Subscription s;
        s.name = sjis::toUtf8(ini.readString(kSubscriptionSection, indexed("Name", i), ""));
        s.url = sjis::toUtf8(ini.readString(kSubscriptionSection, indexed("Url", i), ""));
        s.color = ini.readInteger(kSubscriptionSection, indexed("Color", i), defaults.color) & 0xFFFFFF;
        s.interval = ini.readInteger(kSubscriptionSection, indexed("Interval", i), defaults.interval);
        if (s.interval < 0 || s.interval > kSubscriptionMaxInterval)
            s.interval = defaults.interval;
        s.holidays = ini.readBool(kSubscriptionSection, indexed("Holidays", i), false);
        if (!s.name.empty() && !s.url.empty())
            file.list.push_back(std::move(s));
    }
    return file;
}

files::IoResult writeSubscriptions(const std::string& settingsPath, const std::vector<Subscription>& list)
{
    files::FolderLock lock = files::lockFolderOf(settingsPath);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    const files::LoadForUpdate old = files::loadLinesForUpdate(settingsPath);
    if (!old.ok)
        return files::IoResult::failure(old.reason);
    return files::saveLines(settingsPath, replaceEntries(old.lines, list));
}

std::string subscriptionNameProblem(const std::string& name, const std::vector<Subscription>& list)
{
    if (name.find_first_not_of(" \t\u3000") == std::string::npos)
        return "購読の名前を入力してください。";
    if (name.find_first_of("\r\n") != std::string::npos || !sjis::fromUtf8(name))
        return "購読の名前に使えない文字があります。";
    if (sjis::fromUtf8(name)->size() > kSubscriptionMaxNameBytes)
        return "購読の名前が長すぎます（全角20文字まで）。";
    if (findSubscription(list, name))
        return "「" + name + "」という購読はすでにあります。";
    return {};
}

const Subscription* findSubscription(const std::vector<Subscription>& list, const std::string& name)
{
    const auto found = std::find_if(list.begin(), list.end(), [&](const Subscription& s) { return s.name == name; });
    return found == list.end() ? nullptr : &*found;
}

} // namespace kal
