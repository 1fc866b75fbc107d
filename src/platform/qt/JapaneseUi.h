// Qt's own texts (the colour, font, file and print dialogs, standard buttons, the context menus
// of text fields) in Japanese, whatever language the desktop runs in.
#pragma once

#include <QTranslator>

#include <memory>

namespace kal::qt {

// Installs Qt's Japanese translations in the running application and makes Japanese the default
// locale; the translator stays installed while the returned object lives. Nothing when the
// translations are not on this system, and Qt's texts then stay in English.
std::unique_ptr<QTranslator> installJapaneseUi();

} // namespace kal::qt
