#include "platform/qt/FontChoice.h"

#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>

namespace kal::qt {
namespace {

bool sameStyle(const QFont& a, const QFont& b)
{
    return a.bold() == b.bold() && a.italic() == b.italic();
}

} // namespace

FontChoice::FontChoice(QFontDialog& dialog, const FontSpec& stored) : dialog_(dialog), stored_(stored)
{
    // Qt's own dialog, so that the effects can go.
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
        if (!group->findChildren<QCheckBox*>().isEmpty())
            group->hide();
    // The dialog lists only installed families; a stored name it lacks is shown as the family
    // the system draws for it instead of the dialog's first entry.
    QFont font = toQFont(stored);
    font.setFamily(QFontInfo(font).family());
    dialog.setCurrentFont(font);
    shown_ = dialog.currentFont();
}

FontSpec FontChoice::chosen() const
{
    const QFont selected = dialog_.currentFont();
    FontSpec out = fromQFont(selected, stored_.color);
    if (selected.family() != shown_.family())
        return out;
    out.name = stored_.name;
    if (sameStyle(selected, shown_))
        out.style = stored_.style;
    return out;
}

} // namespace kal::qt
