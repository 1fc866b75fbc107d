#include "settings/ColorSets.h"

#include "platform/ByteText.h"
#include "platform/FolderLock.h"
#include "platform/SjisCodec.h"

#include <algorithm>
#include <cctype>

namespace kal {

bool colorSetNameAllowed(const std::string& utf8Name)
{
    if (utf8Name.empty() || utf8Name[0] == '.')
        return false;
    return std::none_of(utf8Name.begin(), utf8Name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
    });
}

std::string colorSetPath(const std::string& folder, const std::string& name)
{
    return files::withSeparator(folder) + name + kColorSetExtension;
}

std::vector<std::string> listColorSets(const std::string& folder)
{
    const std::string extension = kColorSetExtension;
    std::vector<std::string> names;
    for (const std::string& file : files::listFiles(folder, "*" + extension)) {
        std::string name = file.substr(0, file.size() - extension.size());
        if (colorSetNameAllowed(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> colorSetLines(const ColorTable& colors)
{
    std::vector<std::string> lines = {"[Color]"};
    for (int i = 0; i < ColorItemCount; ++i)
        lines.push_back(std::string(colorKey(i)) + "=" +
                        encodeColor(colors[static_cast<std::size_t>(i)], colorHasBackground(i)));
    return lines;
}

std::optional<ColorTable> applyColorSetLines(const std::vector<std::string>& lines, const ColorTable& colors)
{
    ColorTable out = colors;
    int applied = 0;
    for (const std::string& line : lines) {
        if (line.rfind("Cw", 0) != 0)
            continue;
        const std::string number = text::field(line, 3, 2);
        if (number.size() != 2 || !std::isdigit(static_cast<unsigned char>(number[0])) ||
            !std::isdigit(static_cast<unsigned char>(number[1])))
            return std::nullopt;
        const int item = std::stoi(number);
        if (item >= ColorItemCount || text::field(line, 5, 1) != "=")
            return std::nullopt;
        std::optional<ColorValue> textColor = parseColorDigits(text::field(line, 6, 8));
        if (!textColor)
            return std::nullopt;
        ColorPair& pair = out[static_cast<std::size_t>(item)];
        pair.text = *textColor;
        const std::string back = text::field(line, 15, 8);
        if (!text::isBlank(back)) {
            std::optional<ColorValue> backColor = parseColorDigits(back);
            if (!backColor)
                return std::nullopt;
            pair.back = *backColor;
        }
        ++applied;
    }
    if (applied == 0)
        return std::nullopt;
    return out;
}

files::IoResult saveColorSet(const std::string& folder, const std::string& name, const ColorTable& colors,
                             files::FileOps& ops)
{
    if (!colorSetNameAllowed(name))
        return files::IoResult::failure("配色の名前に使えない文字があります。");
    files::FolderLock lock = files::lockFolder(folder);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    return files::saveLines(colorSetPath(folder, name), colorSetLines(colors), ops);
}

ColorSetLoad loadColorSet(const std::string& folder, const std::string& name, const ColorTable& colors)
{
    if (!colorSetNameAllowed(name))
        return {std::nullopt, "配色の名前に使えない文字があります。"};
    files::LoadForUpdate read = files::loadLinesForUpdate(colorSetPath(folder, name));
    if (!read.ok)
        return {std::nullopt, read.reason};
    std::optional<ColorTable> applied = applyColorSetLines(read.lines, colors);
    if (!applied)
        return {std::nullopt, "配色ファイルの内容が正しくありません。"};
    return {applied, ""};
}

files::IoResult deleteColorSet(const std::string& folder, const std::string& name, files::FileOps& ops)
{
    if (!colorSetNameAllowed(name))
        return files::IoResult::failure("配色の名前に使えない文字があります。");
    files::FolderLock lock = files::lockFolder(folder);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    return files::deleteFile(colorSetPath(folder, name), ops);
}

} // namespace kal
