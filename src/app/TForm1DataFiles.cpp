// The data folders as the window meets them: while another process holds a folder's lock the
// window shows a busy cursor and says so in the status bar; a file that exists but cannot be read
// is named in the status bar and once in a message box, and its month is not edited.
#include "app/TForm1.h"

#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

namespace kal {

void TForm1::CreateDataFileNotices()
{
    StatusWarning = new QLabel(statusBar());
    StatusWarning->setObjectName("StatusWarning");
    StatusWarning->setTextFormat(Qt::PlainText);
    StatusWarning->setStyleSheet("color: #c00000;");
    StatusWarning->setVisible(false);
    statusBar()->addWidget(StatusWarning, 1);

    files::LockWaiting waiting;
    waiting.started = [this](const std::string& folder) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // Over the whole bar, for a long folder name.
        statusBar()->showMessage(qt::fromUtf8(files::lockWaitingText(folder)));
        // The wait runs on this thread: the text is drawn now, not when the loop comes back.
        statusBar()->repaint();
    };
    waiting.finished = [this] {
        QGuiApplication::restoreOverrideCursor();
        statusBar()->clearMessage();
    };
    lockWaitingBefore_ = files::setLockWaiting(std::move(waiting));
}

void TForm1::ShowStatusWarning()
{
    const QString text = qt::fromUtf8(unreadable_.statusText());
    StatusWarning->setText(text);
    StatusWarning->setToolTip(text);
    StatusWarning->setVisible(!text.isEmpty());
}

void TForm1::ShowUnreadable(const std::string& source, const std::vector<files::FileProblem>& problems)
{
    const std::vector<files::FileProblem> fresh = unreadable_.update(source, problems);
    ShowStatusWarning();
    if (!fresh.empty())
        services_.platform.messageBox(kUnreadableCaption, UnreadableNotice::messageText(fresh), MessageIcon::Warning,
                                      MessageButtons::Ok);
}

} // namespace kal
