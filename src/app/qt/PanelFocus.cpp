#include "app/qt/PanelFocus.h"

#include <QAction>
#include <QApplication>
#include <QTabBar>
#include <QWidget>

namespace kal::qt {
namespace {

bool takesFocus(const QWidget* widget)
{
    return widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus);
}

// The widget of a panel that takes the focus: the panel itself, the one of it that last had the
// focus, or its first such widget, a list before its tabs (a tab widget passes its focus on to
// them).
QWidget* focusTarget(QWidget* panel)
{
    if (!panel || !panel->isVisible())
        return nullptr;
    if (takesFocus(panel))
        return panel;
    if (QWidget* last = panel->focusWidget(); last && takesFocus(last) && !qobject_cast<QTabBar*>(last))
        return last;
    QWidget* tabs = nullptr;
    for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain())
        if (panel->isAncestorOf(w) && takesFocus(w)) {
            if (!qobject_cast<QTabBar*>(w) && !w->focusProxy())
                return w;
            tabs = tabs ? tabs : w;
        }
    return tabs;
}

// The panel holding the focus, or -1.
int panelOf(const std::vector<QWidget*>& panels, const QWidget* focus)
{
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (focus && panels[i] && (panels[i] == focus || panels[i]->isAncestorOf(focus)))
            return static_cast<int>(i);
    return -1;
}

} // namespace

PanelFocus::PanelFocus(QWidget* window, std::function<std::vector<QWidget*>()> panels)
    : QObject(window), window_(window), panels_(std::move(panels))
{
    for (auto [key, step] :
         {std::pair{QKeySequence(Qt::Key_F6), 1}, std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F6), -1}}) {
        auto* action = new QAction(window);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, [this, forward = step] { move(forward); });
        window->addAction(action);
    }
}

void PanelFocus::move(int step)
{
    const std::vector<QWidget*> panels = panels_();
    const int count = static_cast<int>(panels.size());
    const int from = panelOf(panels, QApplication::focusWidget());
    int index = from < 0 ? (step > 0 ? -1 : 0) : from;
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (QWidget* target = focusTarget(panels[static_cast<std::size_t>(index)])) {
            target->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void PanelFocus::chainTabs()
{
    // Each panel's widgets keep their own order; the panels follow one another.
    std::vector<QWidget*> chain;
    for (QWidget* panel : panels_()) {
        if (!panel)
            continue;
        if (panel->focusPolicy() & Qt::TabFocus)
            chain.push_back(panel);
        for (QWidget* w = panel->nextInFocusChain(); w && w != panel; w = w->nextInFocusChain())
            if (panel->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
                chain.push_back(w);
    }
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void PanelFocus::keepVisible()
{
    QWidget* focus = window_->focusWidget();
    if (focus && focus->isVisible() && focus->isEnabled())
        return;
    for (QWidget* panel : panels_())
        if (QWidget* target = focusTarget(panel)) {
            target->setFocus(Qt::OtherFocusReason);
            return;
        }
}

} // namespace kal::qt
