#include "sync/SyncPending.h"

#include "platform/Files.h"

namespace kal {
namespace {

std::optional<std::vector<std::string>> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t tab = std::min(line.find('\t', at), line.size());
        std::optional<std::string> field = decodeField(std::string_view(line).substr(at, tab - at));
        if (!field)
            return std::nullopt;
        fields.push_back(std::move(*field));
        at = tab + 1;
    }
    return fields;
}

std::string lineOf(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += (line.empty() ? "" : "\t") + encodeField(field);
    return line;
}

std::optional<int> partOf(const std::string& field)
{
    if (field.empty() || field.size() > 6 || field.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(field);
}

void readLine(const std::vector<std::string>& f, SyncPending& pending)
{
    if (f[0] == "C" && f.size() == 4)
        pending.creates[f[1]] = PendingCreate{f[2], f[3]};
    else if (f[0] == "U" && f.size() == 3)
        pending.updates[f[1]].readHash = f[2];
    else if (const std::optional<int> part = f.size() == 7 ? partOf(f[5]) : std::nullopt; f[0] == "S" && part)
        pending.updates[f[1]].parts.push_back(PendingPart{f[2], ItemSource{f[3], f[4], *part}, f[6]});
    else if (f[0] == "R" && f.size() == 2)
        pending.unread.insert(f[1]);
}

} // namespace

std::string syncPendingPath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kSyncPendingFileName;
}

SyncPending readSyncPending(const std::string& bytes)
{
    SyncPending pending;
    for (const std::string& line : files::splitLines(bytes))
        if (const std::optional<std::vector<std::string>> fields = fieldsOf(line); fields && !fields->empty())
            readLine(*fields, pending);
    // Parts without their rewrite tell nothing.
    std::erase_if(pending.updates, [](const auto& update) { return update.second.readHash.empty(); });
    return pending;
}

std::string syncPendingBytes(const SyncPending& pending)
{
    std::vector<std::string> lines;
    for (const auto& [uid, create] : pending.creates)
        lines.push_back(lineOf({"C", uid, create.readHash, create.recordHash}));
    for (const auto& [href, update] : pending.updates) {
        lines.push_back(lineOf({"U", href, update.readHash}));
        for (const PendingPart& part : update.parts)
            lines.push_back(lineOf({"S", href, part.uid, part.source.uid, part.source.recurrenceId,
                                    std::to_string(part.source.part), part.recordHash}));
    }
    for (const std::string& href : pending.unread)
        lines.push_back(lineOf({"R", href}));
    return files::joinLines(lines);
}

std::optional<files::FileChange> syncPendingChange(const std::string& programFolder,
                                                   const std::optional<std::string>& read, const SyncPending& pending)
{
    std::string bytes = syncPendingBytes(pending);
    if (bytes == read.value_or(""))
        return std::nullopt;
    return files::FileChange{syncPendingPath(programFolder), std::move(bytes)};
}

} // namespace kal
