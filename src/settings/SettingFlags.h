// The flag strings of the settings file, each with names for its flags in the order of its
// characters, so that a flag is asked for by its name and nobody counts positions.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace kal {

// Up to nine decoded characters of a flag string, one small integer each.
using Flags = std::array<int, 9>;

// CalView: what a month cell shows.
enum class CalViewFlag { Holidays, DaysOff, Anniversaries, Schedules, MemoMark, TodoMark, StartTime, Place, TodoTitle };
// WeekView: what a day of the week view shows.
enum class WeekViewFlag { Holidays, DaysOff, Anniversaries, Schedules, MemoText, StartTime, EndTime, Place, TodoTitle };
// SchView: the columns of the day's schedule list.
enum class SchViewFlag { AlarmIcon, StartTime, EndTime, Contents, Place, Category };
// Rikuyo: the six rokuyo names, in the order of their codes 1 to 6.
enum class RokuyoFlag { Sensho, Tomobiki, Senbu, Butsumetsu, Taian, Shakko };
// TNoItem and TOkItem: the columns of the two ToDo lists.
enum class TodoItemFlag { Deadline, DaysLeft, Priority, Title, Category, Progress, DoneDate };
// SetIcon: the ToDo states whose icon is a picture of the user's, in the order of the states 1 to 4.
enum class TodoIconFlag { Overdue, DueToday, Warning, Normal };

// How many characters each string has when written.
template <class Name> inline constexpr std::size_t kFlagCount = 0;
template <> inline constexpr std::size_t kFlagCount<CalViewFlag> = 9;
template <> inline constexpr std::size_t kFlagCount<WeekViewFlag> = 9;
template <> inline constexpr std::size_t kFlagCount<SchViewFlag> = 6;
template <> inline constexpr std::size_t kFlagCount<RokuyoFlag> = 6;
template <> inline constexpr std::size_t kFlagCount<TodoItemFlag> = 7;
template <> inline constexpr std::size_t kFlagCount<TodoIconFlag> = 4;

template <class Name> class NamedFlags {
public:
    static constexpr std::size_t count = kFlagCount<Name>;

    NamedFlags() = default;
    // The first characters of a decoded string.
    explicit NamedFlags(const Flags& decoded)
    {
        for (std::size_t i = 0; i < count; ++i)
            values_[i] = decoded[i];
    }

    bool on(Name name) const { return value(name) == 1; }
    int value(Name name) const { return values_[static_cast<std::size_t>(name)]; }
    void set(Name name, int value) { values_[static_cast<std::size_t>(name)] = value; }

    // Every name, in the order of the characters.
    static constexpr std::array<Name, count> names()
    {
        std::array<Name, count> all{};
        for (std::size_t i = 0; i < count; ++i)
            all[i] = static_cast<Name>(i);
        return all;
    }

    // "1" for a flag that is on, "0" for any other.
    std::string encoded() const
    {
        std::string text;
        for (int v : values_)
            text += v == 1 ? '1' : '0';
        return text;
    }

    bool operator==(const NamedFlags&) const = default;

private:
    std::array<int, count> values_{};
};

using CalViewFlags = NamedFlags<CalViewFlag>;
using WeekViewFlags = NamedFlags<WeekViewFlag>;
using SchViewFlags = NamedFlags<SchViewFlag>;
using RokuyoFlags = NamedFlags<RokuyoFlag>;
using TodoItemFlags = NamedFlags<TodoItemFlag>;
using TodoIconFlags = NamedFlags<TodoIconFlag>;

// Whether the rokuyo of `code` (1 to 6; 0 for none) is shown.
inline bool RokuyoShown(const RokuyoFlags& flags, int code)
{
    return code >= 1 && code <= static_cast<int>(RokuyoFlags::count) && flags.on(static_cast<RokuyoFlag>(code - 1));
}

// Whether the picture of ToDo state `state` (1 to 4) replaces its icon.
inline bool TodoIconReplaced(const TodoIconFlags& flags, int state)
{
    return state >= 1 && state <= static_cast<int>(TodoIconFlags::count) &&
           flags.on(static_cast<TodoIconFlag>(state - 1));
}

} // namespace kal
