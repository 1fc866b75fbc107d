// Qt's own texts (the colour, font, file and print dialogs, standard buttons, the context menus
// of text fields) in Japanese, whatever language the desktop runs in.
#pragma once

#include "platform/Platform.h"

#include <QTranslator>

#include <memory>
#include <span>

namespace kal::qt {

// Makes Qt's system locale Japanese (sizes and dates in the file dialogs, the date pickers),
// whatever LANG and LC_ALL say. Called before the application object exists; the environment
// is left as it was, so programs started from Kalendra keep the user's own.
void useJapaneseSystemLocale();

// Installs Qt's Japanese translations in the running application and makes Japanese the default
// locale; the translator stays installed while the returned object lives. Nothing when the
// translations are not on this system, and Qt's texts then stay in English.
std::unique_ptr<QTranslator> installJapaneseUi();

// The interface's text in the face the panels draw their Japanese in, so that menus and panels
// show the same glyphs and the first frame loads one font file for its text, not three. The face
// is the first panel font's own one that has Japanese (the day numbers' font may be a Latin one);
// with none, the system's font stays. Called before any widget measures text, and again when the fonts
// change.
void followPanelJapaneseFace(std::span<const FontSpec> panelFonts);

} // namespace kal::qt
