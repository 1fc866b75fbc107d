#include "calendar/qt/DefaultHolidays.h"

#include "calendar/Holidays.h"
#include "settings/AppSettings.h"

#include <QFile>

namespace kal::qt {

void WriteDefaultHolidayTable(Platform& platform, const std::string& programFolder)
{
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    AppSettings fresh;
    if (!readSettings(ini, programFolder, fresh).ok)
        return;
    QFile resource(":/Holiday.dat");
    if (!resource.open(QIODevice::ReadOnly))
        return;
    if (files::IoResult saved = WriteDefaultHolidayFile(fresh.dataPath, resource.readAll().toStdString()); !saved)
        platform.messageBox("Holiday.dat", "祝日ファイルを保存できません。\r\n" + saved.reason, MessageIcon::Error,
                            MessageButtons::Ok);
}

} // namespace kal::qt
