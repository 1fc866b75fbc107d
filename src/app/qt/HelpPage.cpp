#include "app/qt/HelpPage.h"

#include "platform/Files.h"
#include "platform/qt/QtText.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace kal::qt {

void OpenHelpPage(Platform& platform)
{
    // The help page ships inside the program; the browser shows a copy of it in the user's own
    // cache folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QString target = QDir(folder).filePath("kalendra-help.html");
    QFile resource(":/help/index.html");
    if (!resource.open(QIODevice::ReadOnly))
        return;
    QByteArray page = resource.readAll();
    files::IoResult saved = files::createFolders(toUtf8(folder));
    if (saved)
        saved = files::saveBytes(toUtf8(target), page.toStdString());
    if (!saved) {
        platform.messageBox("ヘルプ", "ヘルプを開けません。\r\n" + saved.reason, MessageIcon::Error,
                            MessageButtons::Ok);
        return;
    }
    if (!platform.shellOpen(toUtf8(target)))
        platform.messageBox("ヘルプ", "ヘルプを開けません。ブラウザを起動できません。\r\n" + toUtf8(target),
                            MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal::qt
