// Draws one dialog as the program shows it, in one language, into a PNG:
//   dialog_screenshot <program folder> <language id> <board|options|about> <output.png>
// The program folder holds the language libraries and Ressourcen/ (build/bin).
// No board is attached, so the board settings dialog shows its no-board display.
#include "DialogSupport.h"
#include "ProgUSB.h"
#include "Sleep.h"
#include "Utils.h"
#include "uMain.h"
#include "u_AboutBox.h"
#include "u_DeviceSettings.h"
#include "u_Options.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int SettleMs = 300;
}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: dialog_screenshot <program folder> <language id> <board|options|about> <out.png>\n");
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(QString::fromLocal8Bit(argv[1]));
    InitUtilsModule();
    InitProgUSBModule();
    Utility->IniWrite(SettingsSection::ProgramOptions, QStringLiteral("LanguageID"), QString::fromLocal8Bit(argv[2]));
    setSleepFunction([](int) {});
    const QString which = QString::fromLocal8Bit(argv[3]);
    const QString output = QString::fromLocal8Bit(argv[4]);
    bool saved = false;
    SetModalRunner([&](QDialog &dialog) {
        dialog.show();
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < SettleMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, SettleMs);
        saved = dialog.grab().save(output);
        return int(QDialog::Rejected);
    });
    {
        TMainFrm window;
        CurrentComPort = settings.filePath(QStringLiteral("no-board"));
        if (which == QLatin1String("board"))
            TDeviceSettingsForm::Execute();
        else if (which == QLatin1String("options"))
            TOptionsFrm::Execute();
        else
            TAboutBox::Execute();
    }
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
    return saved ? 0 : 1;
}
