#include "app/qt/DataFileNotices.h"

#include "platform/qt/ElidedLabel.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QThread>

namespace kal::qt {

DataFileNotices::DataFileNotices(Platform& platform, QStatusBar* bar) : QObject(bar), platform_(platform)
{
    StatusWarning = new ElidedLabel(bar);
    StatusWarning->setObjectName("StatusWarning");
    StatusWarning->setStyleSheet("color: #c00000;");
    StatusWarning->setVisible(false);
    bar->addWidget(StatusWarning, 1);

    files::LockWaiting waiting;
    waiting.started = [bar](const std::string& folder) {
        // A sync waits on its own thread and shows its own progress.
        if (QThread::currentThread() != bar->thread())
            return;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // Over the whole bar, for a long folder name.
        bar->showMessage(fromUtf8(files::lockWaitingText(folder)));
        // The wait runs on this thread: the text is drawn now, not when the loop comes back.
        bar->repaint();
    };
    waiting.finished = [bar] {
        if (QThread::currentThread() != bar->thread())
            return;
        QGuiApplication::restoreOverrideCursor();
        bar->clearMessage();
    };
    lockWaitingBefore_ = files::setLockWaiting(std::move(waiting));
}

DataFileNotices::~DataFileNotices()
{
    files::setLockWaiting(std::move(lockWaitingBefore_));
}

void DataFileNotices::ShowUnreadable(const std::string& source, const std::vector<files::FileProblem>& problems)
{
    const std::vector<files::FileProblem> fresh = unreadable_.update(source, problems);
    const QString text = fromUtf8(unreadable_.statusText());
    StatusWarning->setText(text);
    StatusWarning->setToolTip(text);
    StatusWarning->setVisible(!text.isEmpty());
    if (!fresh.empty())
        platform_.messageBox(kUnreadableCaption, UnreadableNotice::messageText(fresh), MessageIcon::Warning,
                             MessageButtons::Ok);
}

} // namespace kal::qt
