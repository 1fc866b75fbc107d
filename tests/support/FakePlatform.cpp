#include "support/FakePlatform.h"

namespace kal::test {
namespace {

template <typename T> std::optional<T> next(std::deque<std::optional<T>>& queue)
{
    if (queue.empty())
        return std::nullopt;
    std::optional<T> answer = queue.front();
    queue.pop_front();
    return answer;
}

} // namespace

MessageAnswer FakePlatform::messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                                       MessageButtons buttons)
{
    messages.push_back({caption, text, icon, buttons});
    if (!messageAnswers.empty()) {
        MessageAnswer answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                      : MessageAnswer::Ok;
}

std::optional<std::string> FakePlatform::inputBox(const std::string& caption, const std::string& prompt,
                                                  const std::string& initial)
{
    inputPrompts.push_back(caption + "|" + prompt);
    inputInitials.push_back(initial);
    return next(inputAnswers);
}

std::optional<ColorValue> FakePlatform::chooseColor(ColorValue initial)
{
    colorInitials.push_back(initial);
    return next(colorAnswers);
}

std::optional<FontSpec> FakePlatform::chooseFont(const FontSpec&)
{
    return next(fontAnswers);
}

std::optional<std::string> FakePlatform::openFileName(const std::string&, const std::string& folder, const std::string&)
{
    fileDialogFolders.push_back(folder);
    return next(fileAnswers);
}

std::optional<std::string> FakePlatform::saveFileName(const std::string&, const std::string& folder, const std::string&)
{
    fileDialogFolders.push_back(folder);
    return next(fileAnswers);
}

std::optional<std::string> FakePlatform::folderName(const std::string&, const std::string&)
{
    return next(fileAnswers);
}

} // namespace kal::test
