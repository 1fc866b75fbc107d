#include "platform/IntentRecord.h"

#include <charconv>
#include <cstdint>

namespace kal::files {
namespace {

constexpr std::string_view kMagic = "KALENDRA-INTENT 1\n";
constexpr std::string_view kApply = "apply\n";
constexpr std::string_view kUndo = "undo\n";
constexpr std::string_view kEnd = "end ";

std::uint64_t checksum(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex16(std::uint64_t value)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        out[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return out;
}

std::string lengthOf(const std::optional<std::string>& content)
{
    return content ? std::to_string(content->size()) : "-";
}

// Reads the input front to back; every step fails once anything is out of place.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) { }
    bool literal(std::string_view text)
    {
        if (rest_.substr(0, text.size()) != text)
            return false;
        rest_.remove_prefix(text.size());
        return true;
    }
    // A decimal number followed by `end`.
    std::optional<std::size_t> number(char end)
    {
        std::size_t value = 0;
        auto [next, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
        if (error != std::errc() || next == rest_.data() || next == rest_.data() + rest_.size() || *next != end)
            return std::nullopt;
        rest_.remove_prefix(static_cast<std::size_t>(next - rest_.data()) + 1);
        return value;
    }
    // A length, or "-" for no content.
    std::optional<std::optional<std::size_t>> optionalNumber(char end)
    {
        if (literal(std::string(1, '-') + end))
            return std::optional<std::size_t>();
        if (auto value = number(end))
            return std::optional<std::size_t>(*value);
        return std::nullopt;
    }
    std::optional<std::string_view> bytes(std::size_t count)
    {
        if (count > rest_.size())
            return std::nullopt;
        std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return taken;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

std::optional<std::string> content(Reader& reader, const std::optional<std::size_t>& length)
{
    if (!length)
        return std::nullopt;
    auto taken = reader.bytes(*length);
    return taken ? std::optional<std::string>(std::string(*taken)) : std::nullopt;
}

std::optional<IntentEntry> readEntry(Reader& reader)
{
    auto nameLength = reader.number(' ');
    auto beforeLength = reader.optionalNumber(' ');
    auto afterLength = beforeLength ? reader.optionalNumber('\n') : std::nullopt;
    if (!nameLength || !afterLength)
        return std::nullopt;
    auto name = reader.bytes(*nameLength);
    if (!name || !IsPlainFileName(*name))
        return std::nullopt;
    IntentEntry entry;
    entry.name = std::string(*name);
    entry.before = content(reader, *beforeLength);
    entry.after = content(reader, *afterLength);
    if (entry.before.has_value() != beforeLength->has_value() || entry.after.has_value() != afterLength->has_value() ||
        !reader.literal("\n"))
        return std::nullopt;
    return entry;
}

} // namespace

bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string EncodeIntent(const IntentRecord& record)
{
    std::string out(kMagic);
    out += record.direction == IntentDirection::Apply ? kApply : kUndo;
    out += std::to_string(record.entries.size()) + "\n";
    for (const IntentEntry& entry : record.entries) {
        out += std::to_string(entry.name.size()) + " " + lengthOf(entry.before) + " " + lengthOf(entry.after) + "\n";
        out += entry.name;
        out += entry.before.value_or("");
        out += entry.after.value_or("");
        out += "\n";
    }
    out += std::string(kEnd) + hex16(checksum(out)) + "\n";
    return out;
}

std::optional<IntentRecord> DecodeIntent(std::string_view bytes)
{
    const std::size_t endAt = bytes.rfind(kEnd);
    if (endAt == std::string_view::npos)
        return std::nullopt;
    const std::string_view body = bytes.substr(0, endAt);
    if (bytes.substr(endAt) != std::string(kEnd) + hex16(checksum(body)) + "\n")
        return std::nullopt;
    Reader reader(body);
    IntentRecord record;
    if (!reader.literal(kMagic))
        return std::nullopt;
    if (reader.literal(kApply))
        record.direction = IntentDirection::Apply;
    else if (reader.literal(kUndo))
        record.direction = IntentDirection::Undo;
    else
        return std::nullopt;
    auto count = reader.number('\n');
    if (!count)
        return std::nullopt;
    for (std::size_t i = 0; i < *count; ++i) {
        auto entry = readEntry(reader);
        if (!entry)
            return std::nullopt;
        record.entries.push_back(std::move(*entry));
    }
    if (!reader.rest().empty())
        return std::nullopt;
    return record;
}

} // namespace kal::files
