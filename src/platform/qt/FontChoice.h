// The font dialog on a stored font: it opens on that font, or on what the system draws for a
// name it lacks, offers no effects the settings cannot keep (underline, strike-out), and gives
// back the stored font as it was wherever the user changed nothing.
#pragma once

#include "platform/Platform.h"

#include <QFont>

class QFontDialog;

namespace kal::qt {

class FontChoice {
public:
    FontChoice(QFontDialog& dialog, const FontSpec& stored);

    // The dialog's current selection in stored form: a family or style left as shown keeps
    // the stored name or style; the colour is always kept.
    FontSpec chosen() const;

private:
    QFontDialog& dialog_;
    FontSpec stored_;
    QFont shown_; // what the dialog selected when it opened
};

} // namespace kal::qt
