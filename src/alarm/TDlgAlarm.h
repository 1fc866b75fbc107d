// The message window of the alarms and the time signal: small, always on top, centred on the
// screen, a text and OK. It opens without a nested event loop, so timer ticks never re-enter;
// messages that come while it is open are added to it, so at most one is on screen and none
// is lost.
#pragma once

#include "alarm/TimerDuties.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QScrollArea;

namespace kal {

class TDlgAlarm : public QDialog {
    Q_OBJECT
public:
    explicit TDlgAlarm(QWidget* parent = nullptr);

    QScrollArea* ScrollMsg;
    QLabel* LabelMsg;
    QPushButton* BtnOk;

    // The first message sets the window's look (alarm or time signal) and caption; a later one
    // is added below the others and takes over the caption.
    void addMessage(const AlarmMessage& message);
    int messageCount() const { return messages_; }

    void BtnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitToText();
    void centreOnScreen();

    MessageKind kind_ = MessageKind::Alarm;
    int messages_ = 0;
};

// The message text as the window shows it: LF CR, CR LF and a lone CR each end a line.
QString AlarmDisplayText(const std::string& utf8);

} // namespace kal
