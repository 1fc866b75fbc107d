// Typing into a window test's controls.
#pragma once

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QWidget>

namespace kal::test {

// Characters arrive one at a time, as an input method commits them.
inline void typeText(QWidget* edit, const QString& text)
{
    for (QChar c : text) {
        QInputMethodEvent event;
        event.setCommitString(QString(c));
        QCoreApplication::sendEvent(edit, &event);
    }
}

} // namespace kal::test
