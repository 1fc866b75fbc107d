// kalendra [/2] [--home DIR] [--help | COMMAND ARGUMENTS...]
#include "app/TForm1.h"
#include "app/qt/InstanceGuard.h"
#include "commands/CommandLine.h"
#include "commands/qt/HeadlessCommands.h"
#include "platform/Files.h"
#include "platform/qt/JapaneseUi.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/TerminationSignal.h"

#include <QApplication>
#include <QDate>
#include <QDir>

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string executableFolder()
{
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    buffer[n] = '\0';
    return kal::files::folderOf(buffer);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    kal::CommandLine commandLine = kal::parseCommandLine(arguments, kal::qt::headlessCommandOptions());
    if (!commandLine.error.empty()) {
        std::cerr << "kalendra: " << commandLine.error << "\n"
                  << "使い方: kalendra [/2] [--home フォルダ] [--help | コマンド 引数...]\n";
        return kal::kExitUsage;
    }
    if (commandLine.help) {
        kal::printHelp(std::cout, kal::qt::headlessCommands());
        return kal::kExitOk;
    }

    kal::ProgramFolderInputs inputs{commandLine.home, environment("KALENDRA_HOME"), executableFolder(),
                                    environment("XDG_DATA_HOME"), environment("HOME")};
    const std::string programFolder = kal::chooseProgramFolder(inputs);

    if (!commandLine.command.empty()) {
        const QDate today = QDate::currentDate();
        kal::HeadlessContext context{programFolder, kal::Date{today.year(), today.month(), today.day()}, std::cout,
                                     std::cerr};
        return kal::qt::runHeadlessCommand(commandLine.command, context, commandLine.commandArguments);
    }

    if (!kal::files::folderExists(programFolder)) {
        if (kal::files::IoResult made = kal::files::createFolders(programFolder); !made) {
            std::cerr << "kalendra: cannot create " << programFolder << ": " << made.reason << "\n";
            return 1;
        }
    }

    // X11 also serves Wayland sessions through XWayland, where placement, stay-on-top and
    // opacity work.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    kal::qt::useJapaneseSystemLocale();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kalendra");
    QApplication::setDesktopFileName("org.example.Kalendra");
    QApplication::setQuitOnLastWindowClosed(false);

    kal::qt::InstanceGuard guard;
    if (!commandLine.skipInstanceGuard &&
        guard.acquire(QString::fromStdString(programFolder)) == kal::qt::InstanceGuard::Outcome::OtherWoken)
        return 0;

    std::unique_ptr<QTranslator> japanese = kal::qt::installJapaneseUi();
    kal::qt::QtPlatform platform;
    kal::qt::ExecDialogRunner dialogs;
    kal::qt::Services services{platform, dialogs};

    kal::TForm1 form(services, programFolder);
    platform.setParentWindow(&form);
    if (int exitCode = form.FormCreate())
        return exitCode;
    QObject::connect(&guard, &kal::qt::InstanceGuard::wakeRequested, &form, &kal::TForm1::WMCopyData);
    QObject::connect(&form, &kal::TForm1::closed, &app, &QApplication::quit);
    // The end of the session saves the layout and the ToDo ticks and asks nothing.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.SessionSave(); });
    kal::qt::TerminationSignal termination;
    QObject::connect(&termination, &kal::qt::TerminationSignal::received, &form, &kal::TForm1::LogOff);
    form.ShowAtStart();
    return app.exec();
}
