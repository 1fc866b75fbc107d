// The keyboard's way through the main window's panels: F6 and Shift+F6 move the focus to the next
// and the previous panel shown, as desktop programs do, and Tab follows the same order. After a
// change of display mode the focus never stays on a hidden widget.
#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace kal::qt {

class PanelFocus : public QObject {
    Q_OBJECT
public:
    // The panels in their order; the list is asked each time, as the shown grid changes.
    PanelFocus(QWidget* window, std::function<std::vector<QWidget*>()> panels);

    void next() { move(1); }
    void previous() { move(-1); }
    // Tab and Shift+Tab pass from panel to panel in the same order.
    void chainTabs();
    // The focus leaves a hidden or disabled widget for the first panel shown.
    void keepVisible();

private:
    void move(int step);

    QWidget* window_;
    std::function<std::vector<QWidget*>()> panels_;
};

} // namespace kal::qt
