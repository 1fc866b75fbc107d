#include "schedule/qt/ScheduleInput.h"

#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"

namespace kal::qt {

bool MonthEditable(Platform& platform, const std::string& dataPath, const Date& date, const char* caption)
{
    const std::string path = MonthFilePath(dataPath, date.year, date.month);
    files::ReadResult read = files::readFile(path);
    if (read.status != files::ReadStatus::Unreadable)
        return true;
    platform.messageBox(caption,
                        "「" + path + "」を読み込めないため、この月のスケジュールは変更できません。\r\n" + read.reason,
                        MessageIcon::Error, MessageButtons::Ok);
    return false;
}

void ReportScheduleChanged(Platform& platform, const char* caption)
{
    platform.messageBox(caption, "スケジュールが他で変更されています。\r\n表示を更新します。", MessageIcon::Information,
                        MessageButtons::Ok);
}

bool RunScheduleInput(const PanelContext& context, SchInputRequest request, QWidget* parent)
{
    if (!MonthEditable(context.services.platform, context.settings.dataPath, request.date, "スケジュールの入力"))
        return false;
    request.dataPath = context.settings.dataPath;
    request.programFolder = context.programFolder;
    request.autoIme = context.settings.autoIme == 1;
    TDlgSchInput dialog(context.services, request, parent);
    dialog.move(context.dialogPlace());
    const bool accepted = context.services.dialogs.run(dialog) == QDialog::Accepted;
    return accepted || dialog.writeFailed();
}

} // namespace kal::qt
