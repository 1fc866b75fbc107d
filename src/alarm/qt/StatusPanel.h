// One panel of the status bar: an icon two pixels from the left and a text at 24 pixels.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>

namespace kal::qt {

class StatusPanel : public QFrame {
public:
    StatusPanel(const char* name, int width, QWidget* parent);

    void setContent(const QPixmap& icon, const QString& text);
    const QString& text() const { return text_; }
    bool hasIcon() const { return !icon_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap icon_;
    QString text_;
};

} // namespace kal::qt
