#include "schedule/CategoryFiles.h"

#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/IniFile.h"
#include "settings/AppSettings.h"

namespace kal {
namespace {

std::string tablePath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kCategoryFileName;
}

} // namespace

CategoryLoad LoadCategoriesForUpdate(const std::string& programFolder)
{
    files::LoadForUpdate loaded = files::loadLinesForUpdate(tablePath(programFolder));
    CategoryLoad result;
    result.ok = loaded.ok;
    result.reason = loaded.reason;
    result.table = CategoryTable(std::move(loaded.lines));
    return result;
}

CategorySaveResult SaveCategoriesWithMode(const std::string& programFolder, const std::vector<std::string>& table,
                                          int mode, files::FileOps& ops)
{
    CategorySaveResult result;
    files::FolderLock lock = files::lockFolder(programFolder);
    if (!lock) {
        result.step = CategorySaveStep::TableFailed;
        result.reason = lock.reason();
        return result;
    }
    const std::string path = tablePath(programFolder);
    const std::optional<std::string> before = files::readBytes(path);
    if (files::IoResult saved = files::saveLines(path, table, ops); !saved) {
        result.step = CategorySaveStep::TableFailed;
        result.reason = saved.reason;
        return result;
    }
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    WriteCatchk(ini, mode);
    if (files::IoResult saved = ini.flush(ops); !saved) {
        result.step = CategorySaveStep::ModeFailed;
        result.reason = saved.reason;
        files::IoResult restored = before ? files::saveBytes(path, *before, ops) : files::deleteFile(path, ops);
        result.restored = restored.ok;
        result.restoreReason = restored.reason;
    }
    return result;
}

std::string CategorySaveMessage(const CategorySaveResult& result)
{
    if (result.step == CategorySaveStep::TableFailed)
        return "分類ファイルを保存できません。\r\n" + result.reason;
    std::string message = "設定ファイルを保存できません。\r\n" + result.reason;
    if (!result.restored)
        message += "\r\n分類ファイルを元に戻せません。\r\n" + result.restoreReason;
    return message;
}

FilterSwitch SwitchCategoryFilter(const std::string& programFolder, int newMode, files::FileOps& ops)
{
    FilterSwitch result;
    files::FolderLock lock = files::lockFolder(programFolder);
    if (!lock) {
        result.saved.step = CategorySaveStep::TableFailed;
        result.saved.reason = lock.reason();
        return result;
    }
    CategoryLoad loaded = LoadCategoriesForUpdate(programFolder);
    if (!loaded.ok) {
        result.saved.step = CategorySaveStep::TableFailed;
        result.saved.reason = loaded.reason;
        return result;
    }
    if (!files::fileExists(tablePath(programFolder))) {
        result.tableFound = false;
        return result;
    }
    result.saved = SaveCategoriesWithMode(programFolder, InvertShownFlags(loaded.table.lines()), newMode, ops);
    return result;
}

} // namespace kal
