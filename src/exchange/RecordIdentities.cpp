#include "exchange/RecordIdentities.h"

#include "platform/Files.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <sodium.h>

namespace kal {
namespace {

constexpr std::size_t kEncodedFields = 11;
constexpr int kMaxCount = 999999999;
constexpr const char* kHex = "0123456789ABCDEF";

} // namespace

std::string encodeField(std::string_view value)
{
    std::string out;
    for (unsigned char c : value) {
        if (c > 0x20 && c < 0x7F && c != '%') {
            out += static_cast<char>(c);
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::optional<std::string> decodeField(std::string_view field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = hexValue(field[i + 1]), low = hexValue(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

namespace {

std::optional<int> count(std::string_view field)
{
    if (field.empty() || field.size() > 9 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    for (char c : field)
        value = value * 10 + (c - '0');
    return value;
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<RecordIdentity> parseEntry(const std::string& line)
{
    std::array<std::optional<std::string>, kEncodedFields> fields;
    std::size_t at = 0;
    for (std::size_t i = 0; i < kEncodedFields; ++i) {
        const std::size_t tab = line.find('\t', at);
        if (tab == std::string::npos)
            return std::nullopt;
        fields[i] = decodeField(std::string_view(line).substr(at, tab - at));
        if (!fields[i])
            return std::nullopt;
        at = tab + 1;
    }
    const std::optional<int> sequence = count(*fields[2]), occurrence = count(*fields[4]), part = count(*fields[10]);
    if (*fields[0] != "E" || fields[1]->empty() || !sequence || fields[3]->empty() ||
        fields[3]->find('/') != std::string::npos || !occurrence || !part)
        return std::nullopt;
    RecordIdentity identity;
    identity.uid = *fields[1];
    identity.sequence = *sequence;
    identity.key = RecordKey{*fields[3], *occurrence, line.substr(at)};
    identity.href = *fields[5];
    identity.etag = *fields[6];
    identity.synced = *fields[7];
    identity.source = ItemSource{*fields[8], *fields[9], *part};
    return identity;
}

std::string entryLine(const RecordIdentity& identity)
{
    const std::string fields[kEncodedFields] = {"E",
                                                encodeField(identity.uid),
                                                std::to_string(identity.sequence),
                                                encodeField(identity.key.file),
                                                std::to_string(identity.key.occurrence),
                                                encodeField(identity.href),
                                                encodeField(identity.etag),
                                                encodeField(identity.synced),
                                                encodeField(identity.source.uid),
                                                encodeField(identity.source.recurrenceId),
                                                std::to_string(identity.source.part)};
    std::string line;
    for (const std::string& field : fields)
        line += field + '\t';
    return line + identity.key.line;
}

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

std::string hexOf(const unsigned char* bytes, std::size_t size)
{
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 15];
    }
    return out;
}

} // namespace

RecordKey keyOf(const files::RecordPlace& place)
{
    return RecordKey{nameOf(place.path), place.occurrence, place.line};
}

namespace {

std::string lineKey(const RecordKey& key)
{
    return key.file + '\0' + key.line;
}

std::string itemKey(std::string_view uid, std::string_view recurrenceId)
{
    return std::string(uid) + '\0' + std::string(recurrenceId);
}

// Whole records are their own item; the others belong to the item they were made from.
std::string itemKeyOf(const RecordIdentity& identity)
{
    if (identity.source.uid.empty())
        return itemKey(identity.uid, {});
    return itemKey(identity.source.uid, identity.source.recurrenceId);
}

void unindex(std::vector<std::size_t>& rows, std::size_t row)
{
    std::erase(rows, row);
}

} // namespace

std::string identityFileNameOf(const std::string& recordFile)
{
    return "Identity-" + recordFile.substr(0, recordFile.rfind('.')) + ".dat";
}

void IdentityTable::read(const std::string& name, const std::vector<std::string>& lines)
{
    read_[name] = lines;
    for (const std::string& line : lines) {
        std::optional<RecordIdentity> identity = parseEntry(line);
        const RecordIdentity* same = identity ? find(identity->key) : nullptr;
        if (same && *same == *identity) {
            rows_.push_back(Row{name, line, std::nullopt, true});
            continue;
        }
        rows_.push_back(Row{name, line, std::move(identity)});
        if (rows_.back().identity)
            index(rows_.size() - 1);
    }
}

void IdentityTable::index(std::size_t row)
{
    const RecordIdentity& identity = *rows_[row].identity;
    if (!identity.removed())
        byLine_[lineKey(identity.key)].push_back(row);
    byUid_[identity.uid].push_back(row);
    byItem_[itemKeyOf(identity)].push_back(row);
}

std::vector<std::size_t>& IdentityTable::sameLine(const RecordKey& key)
{
    return byLine_[lineKey(key)];
}

std::size_t IdentityTable::rowOf(const RecordIdentity* identity) const
{
    for (std::size_t row : byUid_.at(identity->uid))
        if (&*rows_[row].identity == identity)
            return row;
    return rows_.size();
}

void IdentityTable::drop(std::size_t row)
{
    const RecordIdentity& identity = *rows_[row].identity;
    unindex(sameLine(identity.key), row);
    unindex(byUid_[identity.uid], row);
    unindex(byItem_[itemKeyOf(identity)], row);
    rows_[row].identity.reset();
    rows_[row].dropped = true;
}

namespace {

std::string textOf(const std::string& text, const std::optional<RecordIdentity>& identity)
{
    return identity ? entryLine(*identity) : text;
}

} // namespace

std::vector<std::string> IdentityTable::lines() const
{
    std::vector<std::string> out;
    out.reserve(rows_.size());
    for (const Row& row : rows_)
        if (!row.dropped)
            out.push_back(textOf(row.text, row.identity));
    return out;
}

std::map<std::string, std::vector<std::string>> IdentityTable::changedFiles() const
{
    std::map<std::string, std::vector<std::string>> now;
    for (const auto& [name, lines] : read_)
        now[name];
    for (const Row& row : rows_)
        if (!row.dropped)
            now[row.file].push_back(textOf(row.text, row.identity));
    std::erase_if(now, [&](const auto& file) {
        const auto read = read_.find(file.first);
        return read == read_.end() ? file.second.empty() : read->second == file.second;
    });
    return now;
}

void IdentityTable::moveToOwnFiles()
{
    for (Row& row : rows_)
        if (row.identity && row.file == kIdentityFileName)
            row.file = identityFileNameOf(row.identity->key.file);
}

RecordIdentity* IdentityTable::find(const RecordKey& key)
{
    for (std::size_t row : sameLine(key))
        if (rows_[row].identity->key.occurrence == key.occurrence)
            return &*rows_[row].identity;
    return nullptr;
}

RecordIdentity* IdentityTable::findUid(std::string_view uid)
{
    const auto rows = byUid_.find(std::string(uid));
    if (rows == byUid_.end() || rows->second.empty())
        return nullptr;
    return &*rows_[rows->second.front()].identity;
}

RecordIdentity* IdentityTable::findEqual(const RecordIdentity& identity)
{
    const auto rows = byUid_.find(identity.uid);
    if (rows != byUid_.end())
        for (std::size_t row : rows->second)
            if (*rows_[row].identity == identity)
                return &*rows_[row].identity;
    return nullptr;
}

RecordIdentity* IdentityTable::findHref(std::string_view href)
{
    for (Row& row : rows_)
        if (row.identity && !href.empty() && row.identity->href == href)
            return &*row.identity;
    return nullptr;
}

std::vector<RecordIdentity*> IdentityTable::ofItem(std::string_view uid, std::string_view recurrenceId)
{
    std::vector<RecordIdentity*> out;
    if (uid.empty())
        return out;
    const auto rows = byItem_.find(itemKey(uid, recurrenceId));
    if (rows != byItem_.end())
        for (std::size_t row : rows->second)
            out.push_back(&*rows_[row].identity);
    return out;
}

std::vector<RecordIdentity*> IdentityTable::all()
{
    std::vector<RecordIdentity*> out;
    for (Row& row : rows_)
        if (row.identity)
            out.push_back(&*row.identity);
    return out;
}

RecordIdentity& IdentityTable::add(RecordIdentity identity)
{
    std::string file = identityFileNameOf(identity.key.file);
    rows_.push_back(Row{std::move(file), {}, std::move(identity)});
    index(rows_.size() - 1);
    return *rows_.back().identity;
}

void IdentityTable::remove(const RecordIdentity* identity)
{
    if (const std::size_t row = rowOf(identity); row < rows_.size())
        drop(row);
}

void IdentityTable::follow(const std::vector<files::RecordChange>& changes, SyncedRemoval synced)
{
    // The entries of the changed records are taken out first, so the counting below passes them.
    std::vector<std::pair<std::size_t, const files::RecordChange*>> taken;
    for (const files::RecordChange& change : changes)
        if (const RecordIdentity* moving = find(keyOf(change.from))) {
            const std::size_t row = rowOf(moving);
            unindex(sameLine(moving->key), row);
            taken.emplace_back(row, &change);
        }
    // Removals count in the file before the change, from the last; arrivals in the file after it.
    std::vector<RecordKey> removed, arrived;
    for (const files::RecordChange& change : changes) {
        removed.push_back(keyOf(change.from));
        if (change.to)
            arrived.push_back(keyOf(*change.to));
    }
    std::sort(removed.begin(), removed.end(), [](const auto& a, const auto& b) { return a.occurrence > b.occurrence; });
    std::sort(arrived.begin(), arrived.end(), [](const auto& a, const auto& b) { return a.occurrence < b.occurrence; });
    for (const RecordKey& gone : removed)
        for (std::size_t row : sameLine(gone))
            if (int& occurrence = rows_[row].identity->key.occurrence; occurrence > gone.occurrence)
                --occurrence;
    for (const RecordKey& coming : arrived)
        for (std::size_t row : sameLine(coming))
            if (int& occurrence = rows_[row].identity->key.occurrence; occurrence >= coming.occurrence)
                ++occurrence;
    for (const auto& [row, change] : taken) {
        RecordIdentity& identity = *rows_[row].identity;
        if (!change->to && !identity.href.empty() && synced == SyncedRemoval::Mark) {
            identity.key.occurrence = kRemovedOccurrence;
            continue;
        }
        if (!change->to) {
            sameLine(identity.key).push_back(row); // drop takes it out again
            drop(row);
            continue;
        }
        identity.key = keyOf(*change->to);
        rows_[row].file = identityFileNameOf(identity.key.file);
        ++identity.sequence;
        sameLine(identity.key).push_back(row);
    }
}

void IdentityTable::forgetGone(const std::string& file, const std::vector<std::string>& lines)
{
    std::unordered_map<std::string, int> held;
    for (const std::string& line : lines)
        ++held[line];
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const std::optional<RecordIdentity>& identity = rows_[row].identity;
        if (identity && identity->key.file == file && identity->href.empty() && !identity->removed() &&
            held[identity->key.line] <= identity->key.occurrence)
            drop(row);
    }
}

namespace {

std::string uuidText(std::array<unsigned char, 16> bytes)
{
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    std::string hex = hexOf(bytes.data(), bytes.size());
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return c >= 'A' && c <= 'F' ? c + 32 : c; });
    for (std::size_t at : {8, 13, 18, 23})
        hex.insert(at, 1, '-');
    return hex;
}

} // namespace

std::string newUid()
{
    std::array<unsigned char, 16> bytes{};
    if (sodiumReady())
        randombytes_buf(bytes.data(), bytes.size());
    return uuidText(bytes);
}

std::string uidFrom(std::string_view seed)
{
    std::array<unsigned char, 16> bytes{};
    sodiumReady();
    crypto_generichash(bytes.data(), bytes.size(), reinterpret_cast<const unsigned char*>(seed.data()), seed.size(),
                       nullptr, 0);
    return uuidText(bytes);
}

std::string contentHash(std::string_view content)
{
    std::array<unsigned char, 16> hash{};
    sodiumReady();
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(content.data()), content.size(),
                       nullptr, 0);
    return hexOf(hash.data(), hash.size());
}

} // namespace kal
