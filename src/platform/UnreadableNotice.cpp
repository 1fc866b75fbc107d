#include "platform/UnreadableNotice.h"

#include <algorithm>

namespace kal {
namespace {

std::string nameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

} // namespace

std::vector<files::FileProblem> UnreadableNotice::update(const std::string& source,
                                                         const std::vector<files::FileProblem>& problems)
{
    current_[source] = problems;
    std::vector<std::string> stillUnreadable;
    for (const auto& [from, list] : current_)
        for (const files::FileProblem& problem : list)
            stillUnreadable.push_back(problem.path);
    // A file that reads again is announced again when it fails later.
    std::erase_if(announced_, [&](const std::string& path) {
        return std::find(stillUnreadable.begin(), stillUnreadable.end(), path) == stillUnreadable.end();
    });
    std::vector<files::FileProblem> fresh;
    for (const files::FileProblem& problem : problems) {
        if (std::find(announced_.begin(), announced_.end(), problem.path) != announced_.end())
            continue;
        announced_.push_back(problem.path);
        fresh.push_back(problem);
    }
    return fresh;
}

std::string UnreadableNotice::statusText() const
{
    std::string names;
    for (const auto& [source, list] : current_)
        for (const files::FileProblem& problem : list)
            names += (names.empty() ? "" : "、") + nameOf(problem.path);
    if (names.empty())
        return {};
    return "読み込めないファイル: " + names;
}

std::string UnreadableNotice::messageText(const std::vector<files::FileProblem>& problems)
{
    return "次のファイルを読み込めません。その内容は表示されず、そのファイルへの変更はできません。\r\n" +
           files::problemsText(problems);
}

} // namespace kal
