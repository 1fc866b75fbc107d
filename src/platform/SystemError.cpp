#include "platform/SystemError.h"

#include <cerrno>
#include <cstring>

namespace kal::files {
namespace {

struct ErrorText {
    int error;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {ENOSPC, "ディスクの空き容量が足りません。"},
    {EDQUOT, "ディスクの使用量が上限に達しています。"},
    {EACCES, "アクセスが許可されていません。"},
    {EPERM, "アクセスが許可されていません。"},
    {EROFS, "読み取り専用のファイルシステムです。"},
    {EISDIR, "ファイルではなくフォルダです。"},
    {ENOENT, "ファイルまたはフォルダが見つかりません。"},
    {ENOTDIR, "パスの途中にフォルダではないものがあります。"},
    {ENAMETOOLONG, "ファイル名が長すぎます。"},
    {EFBIG, "ファイルが大きすぎます。"},
    {EIO, "ディスクの読み書きでエラーが発生しました。"},
    {EMFILE, "開いているファイルが多すぎます。"},
    {ENFILE, "開いているファイルが多すぎます。"},
    {ELOOP, "シンボリックリンクが循環しているか、多すぎます。"},
    {EBUSY, "ファイルが使用中です。"},
    {kNotRegularFile, "通常のファイルではありません（FIFO やデバイスなど）。"},
    {kReadOnlyFile, "読み取り専用のファイルです。"},
    {kDamagedRecord, "中断された保存の記録が壊れています。"},
    {kOutsideFolder, "対象のフォルダ以外のファイルは同時に保存できません。"},
};

} // namespace

std::string systemErrorText(int error)
{
    if (error == kFileTooLarge)
        return fileTooLargeText(kMaxDataFileBytes);
    if (error == kChangeTooLarge)
        return "一度に保存できる量（変更前後のファイルの合計 " + std::to_string(kMaxChangeBytes >> 20) +
               " MB）を超えています。";
    for (const ErrorText& entry : kErrorTexts)
        if (entry.error == error)
            return entry.text;
    return std::strerror(error);
}

std::string fileTooLargeText(std::size_t limit)
{
    return "ファイルが大きすぎます（このファイルの上限は " + std::to_string(limit >> 20) + " MB です）。";
}

} // namespace kal::files
