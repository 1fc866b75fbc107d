// The data folders as the main window meets them, in its status bar: while another process holds
// a folder's lock the window shows a busy cursor and says so; a file that exists but cannot be
// read is named there and once in a message box.
#pragma once

#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/Platform.h"
#include "platform/UnreadableNotice.h"

#include <QObject>

#include <string>
#include <vector>

class QLabel;
class QStatusBar;

namespace kal::qt {

class DataFileNotices : public QObject {
    Q_OBJECT
public:
    // Takes the process's lock-waiting hooks until it is destroyed.
    DataFileNotices(Platform& platform, QStatusBar* bar);
    ~DataFileNotices() override;

    QLabel* StatusWarning;

    // What `source` ("month", "todo", "memo", "note") read last that it could not read.
    void ShowUnreadable(const std::string& source, const std::vector<files::FileProblem>& problems);

private:
    Platform& platform_;
    UnreadableNotice unreadable_;
    files::LockWaiting lockWaitingBefore_;
};

} // namespace kal::qt
