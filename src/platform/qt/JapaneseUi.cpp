#include "platform/qt/JapaneseUi.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace kal::qt {

std::unique_ptr<QTranslator> installJapaneseUi()
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(japanese, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

} // namespace kal::qt
