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
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: dialog_screenshot <program folder> <language id> <board|options|about> <out.png>\n");
        return 2;
    }
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(args[1]);
    InitUtilsModule();
    InitProgUSBModule();
    Utility->IniWrite(SettingsSection::ProgramOptions, QStringLiteral("LanguageID"), args[2]);
    setSleepFunction([](int) {});
    bool saved = false;
    SetModalRunner([&](QDialog &dialog) {
        dialog.show();
        QTest::qWait(300);  // the dialog lays itself out and paints
        saved = dialog.grab().save(args[4]);
        return int(QDialog::Rejected);
    });
    TMainFrm window;
    CurrentComPort = settings.filePath(QStringLiteral("no-board"));
    if (args[3] == QLatin1String("board"))
        TDeviceSettingsForm::Execute();
    else if (args[3] == QLatin1String("options"))
        TOptionsFrm::Execute();
    else
        TAboutBox::Execute();
    return saved ? 0 : 1;
}
