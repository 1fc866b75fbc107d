#include "settings/DataFolders.h"

#include "platform/FileTransaction.h"

#include <algorithm>

namespace kal {

std::string CreateProgramFolder(const std::string& programFolder)
{
    if (files::folderExists(programFolder))
        return {};
    if (files::IoResult made = files::createFolders(programFolder); !made)
        return "プログラムフォルダ「" + programFolder + "」を作成できません。" + made.reason;
    return {};
}

std::vector<std::string> DataFolders(const AppSettings& settings, const std::string& programFolder)
{
    std::vector<std::string> folders;
    for (const std::string& folder : {files::withSeparator(programFolder), settings.dataPath, settings.memoPath,
                                      settings.todoPath, settings.notePath})
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    return folders;
}

std::string RecoverDataFolders(const std::vector<std::string>& folders)
{
    std::vector<std::string> problems;
    for (const std::string& folder : folders) {
        if (!files::folderExists(folder))
            continue;
        files::RecoveryResult recovered = files::recoverInterruptedChanges(folder);
        problems.insert(problems.end(), recovered.problems.begin(), recovered.problems.end());
    }
    if (problems.empty())
        return {};
    std::string message = "前回中断された保存を完了できませんでした。";
    for (const std::string& problem : problems)
        message += "\r\n" + problem;
    return message;
}

} // namespace kal
