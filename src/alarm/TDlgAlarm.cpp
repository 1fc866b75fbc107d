#include "alarm/TDlgAlarm.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include <algorithm>

namespace kal {
namespace {

// The window's size and button place for each kind; it grows when the text needs more room.
struct WindowLook {
    int width;
    int height;
    int buttonLeft;
    int pointSize; // 0: the window's own font
};
constexpr WindowLook kAlarmLook{305, 160, 115, 0};
constexpr WindowLook kSignalLook{200, 110, 56, 10};

constexpr int kMargin = 16;      // the text's place from the top left
constexpr int kButtonSpace = 56; // from the button's top to the bottom
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kTextGap = 8; // between the text and the button

const WindowLook& lookOf(MessageKind kind)
{
    return kind == MessageKind::Signal ? kSignalLook : kAlarmLook;
}

} // namespace

QString AlarmDisplayText(const std::string& utf8)
{
    QString text = qt::fromUtf8(utf8);
    text.replace("\n\r", "\n");
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

TDlgAlarm::TDlgAlarm(QWidget* parent) : QDialog(parent)
{
    setObjectName("TDlgAlarm");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);

    ScrollMsg = new QScrollArea(this);
    ScrollMsg->setObjectName("ScrollMsg");
    ScrollMsg->setFrameShape(QFrame::NoFrame);
    ScrollMsg->setWidgetResizable(true);
    ScrollMsg->viewport()->setAutoFillBackground(false);
    LabelMsg = new QLabel;
    LabelMsg->setObjectName("LabelMsg");
    // Schedule titles and places are user data, never markup.
    LabelMsg->setTextFormat(Qt::PlainText);
    LabelMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelMsg->setAutoFillBackground(false);
    LabelMsg->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ScrollMsg->setWidget(LabelMsg);

    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgAlarm::BtnOkClick);
}

void TDlgAlarm::addMessage(const AlarmMessage& message)
{
    QString text = AlarmDisplayText(message.text);
    if (messages_ == 0) {
        kind_ = message.kind;
        if (int points = lookOf(kind_).pointSize) {
            QFont font = LabelMsg->font();
            font.setPointSize(points);
            LabelMsg->setFont(font);
        }
    } else {
        text = LabelMsg->text() + "\n\n" + text;
    }
    ++messages_;
    setWindowTitle(qt::fromUtf8(message.caption));
    LabelMsg->setText(text);
    fitToText();
}

void TDlgAlarm::fitToText()
{
    const WindowLook& look = lookOf(kind_);
    const QSize text = LabelMsg->sizeHint();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int width = std::clamp(text.width() + 2 * kMargin, look.width, std::max(look.width, area.width() * 9 / 10));
    const int height = std::clamp(kMargin + text.height() + kTextGap + kButtonSpace, look.height,
                                  std::max(look.height, area.height() * 8 / 10));
    setFixedSize(width, height);
    ScrollMsg->setGeometry(kMargin, kMargin, width - 2 * kMargin, height - kMargin - kTextGap - kButtonSpace);
    BtnOk->setGeometry(look.buttonLeft + (width - look.width) / 2, height - kButtonSpace, kButtonWidth, kButtonHeight);
    centreOnScreen();
}

void TDlgAlarm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The frame is known only once the window is shown.
    centreOnScreen();
}

void TDlgAlarm::centreOnScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TDlgAlarm::BtnOkClick()
{
    accept();
}

} // namespace kal
