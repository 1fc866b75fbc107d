#include "app/qt/WindowStart.h"

#include "app/TForm1.h"
#include "app/qt/InstanceGuard.h"
#include "platform/Files.h"
#include "platform/qt/JapaneseUi.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/TerminationSignal.h"
#include "platform/qt/X11Windows.h"
#include "settings/AppSettings.h"
#include "settings/DataFolders.h"

#include <QApplication>

#include <iostream>

namespace kal::qt {

int runWindow(int argc, char** argv, const std::string& programFolder, bool skipInstanceGuard)
{
    if (const std::string missing = CreateProgramFolder(programFolder); !missing.empty()) {
        std::cerr << "kalendra: " << missing << "\n";
        return 1;
    }

    // X11 also serves Wayland sessions through XWayland, where placement, stay-on-top and
    // opacity work.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    useJapaneseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kalendra");
    QApplication::setDesktopFileName("org.example.Kalendra");
    QApplication::setQuitOnLastWindowClosed(false);
    typeWindowsOnShow(&app);

    InstanceGuard guard;
    if (!skipInstanceGuard &&
        guard.acquire(QString::fromStdString(programFolder)) == InstanceGuard::Outcome::OtherWoken)
        return 0;

    std::unique_ptr<QTranslator> japanese = installJapaneseUi();
    QtPlatform platform;
    ExecDialogRunner dialogs;
    Services services{platform, dialogs};

    // Before the window exists: a window made earlier keeps the font it was made with. The
    // settings file is read once, here, for the window too.
    IniFile settings(SettingsPath(programFolder));
    settings.load();
    followPanelJapaneseFace(storedPanelFonts(settings));
    TForm1 form(services, programFolder);
    platform.setParentWindow(&form);
    if (int exitCode = form.FormCreate(std::move(settings)))
        return exitCode;
    QObject::connect(&guard, &InstanceGuard::wakeRequested, &form, &TForm1::WMCopyData);
    QObject::connect(&form, &TForm1::closed, &app, &QApplication::quit);
    // The end of the session saves the layout and the ToDo ticks and asks nothing.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SessionSave(); });
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, &form, &TForm1::LogOff);
    form.ShowAtStart();
    return app.exec();
}

} // namespace kal::qt
