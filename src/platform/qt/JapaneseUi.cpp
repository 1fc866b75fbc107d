#include "platform/qt/JapaneseUi.h"

#include "platform/qt/QtText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>

#include <algorithm>
#include <clocale>
#include <optional>
#include <vector>

namespace kal::qt {
namespace {

// Sets a variable for a while; the old value (or its absence) comes back at the end.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const char* value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

// The face fontconfig resolves the font to, when that face has Japanese; empty otherwise.
QString ownJapaneseFace(const QFont& font)
{
    const QString face = QFontInfo(font).family();
    return QFontDatabase::writingSystems(face).contains(QFontDatabase::Japanese) ? face : QString();
}

} // namespace

void useJapaneseSystemLocale()
{
    // The C library follows the user's own settings, as the application object would set it.
    std::setlocale(LC_ALL, "");
    // Qt reads these once, when the system locale is first asked for.
    const EnvironmentOverride all("LC_ALL", "ja_JP.UTF-8");
    const EnvironmentOverride language("LANGUAGE", "ja");
    (void)QLocale::system();
}

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

void followPanelJapaneseFace(std::span<const FontSpec> panelFonts)
{
    // Resolved once for the fonts given: asking fontconfig is a good part of a start.
    static std::vector<FontSpec> resolvedFor;
    if (std::equal(panelFonts.begin(), panelFonts.end(), resolvedFor.begin(), resolvedFor.end()))
        return;
    resolvedFor.assign(panelFonts.begin(), panelFonts.end());
    QFont interfaceFont = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    for (const FontSpec& panelFont : panelFonts) {
        if (const QString face = ownJapaneseFace(toQFont(panelFont)); !face.isEmpty()) {
            // Its Latin letters too: the system's face would be one more font file to load.
            interfaceFont.setFamily(face);
            break;
        }
    }
    // Setting it again would lay every widget out anew.
    if (QGuiApplication::font() == interfaceFont)
        return;
    // The default only: the fonts a desktop theme gives menus, labels or buttons of their own
    // stay (QApplication::setFont would drop them).
    QGuiApplication::setFont(interfaceFont);
    QEvent changed(QEvent::ApplicationFontChange);
    for (QWidget* widget : QApplication::allWidgets())
        QCoreApplication::sendEvent(widget, &changed);
}

} // namespace kal::qt
