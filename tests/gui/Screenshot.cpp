// Draws the main window as the program shows it, in one language, into a PNG:
//   gui_screenshot <program folder> <language id> <page 0..5> <output.png> [target system]
// The target system is the stored choice: 0 the development board (default), 1 a module.
// The program folder holds the language libraries and Ressourcen/ (build/bin).
#include "ProgUSB.h"
#include "Sleep.h"
#include "Utils.h"
#include "uMain.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QElapsedTimer>

#include <cstdio>

namespace {
constexpr int SettleMs = 300;
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: gui_screenshot <program folder> <language id> <page> <output.png>\n");
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(QString::fromLocal8Bit(argv[1]));
    InitUtilsModule();
    InitProgUSBModule();
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("LanguageID"),
                      QString::fromLocal8Bit(argv[2]));
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("LastShowedPage"),
                      QString::fromLocal8Bit(argv[3]));
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("Targetsystem"),
                      QString::fromLocal8Bit(argc > 5 ? argv[5] : "0"));
    // The start-up pauses only show the splash.
    setSleepFunction([](int) {});
    int result = 0;
    {
        TMainFrm window;
        window.resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
        window.show();
        window.AddLogLine(fsBold, clBlue, QStringLiteral("Device found:"));
        window.AddLogLine(0, clGreen, QStringLiteral("OK"));
        // Let the window lay itself out and paint before it is drawn into the picture.
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < SettleMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, SettleMs);
        if (!window.grab().save(QString::fromLocal8Bit(argv[4])))
            result = 1;
    }
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
    return result;
}
