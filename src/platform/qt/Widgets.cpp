#include "platform/qt/Widgets.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>

namespace kal::qt {
namespace {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler)
        : QObject(view), view_(view), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto* click = static_cast<QMouseEvent*>(event);
            if (click->button() == Qt::LeftButton)
                handler_(view_->indexAt(click->position().toPoint()));
        }
        return false;
    }

private:
    QAbstractItemView* view_;
    std::function<void(const QModelIndex&)> handler_;
};

} // namespace

QPushButton* namedButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    return row;
}

void onDoubleClick(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler)
{
    view->viewport()->installEventFilter(new DoubleClickFilter(view, std::move(handler)));
}

} // namespace kal::qt
