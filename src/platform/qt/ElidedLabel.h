// A one-line label that gives way to its neighbours: where it is narrower than its text, the
// text ends in "…" instead of running under the next widget.
#pragma once

#include <QLabel>

namespace kal::qt {

class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as drawn at the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kal::qt
