// Draws the main window or one of its dialogs as the program shows it, in one language, into a PNG:
//   gui_screenshot <program folder> <language id> <page 0..5> <output.png> [target system] [images] [action]
// The target system is the stored choice: 0 the development board (default), 1 a module.
// The program folder holds the language libraries and Ressourcen/ (build/bin).
// With "images" the settings name a flash and an EEPROM file, written for the
// run, as the last files: the window starts with both loaded.
// The action, with the ATmega328P chosen: "bits" opens the bit editor for
// the high fuse byte; "warning" draws the fuse warning dialog instead of the
// window; "write=<port>" writes the flash to a board on that port (board_sim)
// first, as the settings' port key and the button do; "dialog=<board|options|about>"
// draws that dialog instead, with no board attached; "connect=<language id>" draws
// the bootloader connect dialog shown once in the window's language, then again
// after the options dialog chose the other language; "question" draws the
// question that closing the window asks and "open-flash" the file dialog of the
// flash file's open button, both as the program shows them (Qt's own texts in
// the chosen language), with the settings folder as the last flash folder.
#include "ChooseLanguage.h"
#include "ConnectBootloaderDialog.h"
#include "DialogSupport.h"
#include "HexContainer.h"
#include "MemoryStream.h"
#include "ProgUSB.h"
#include "RealDialogs.h"
#include "Sleep.h"
#include "UiServices.h"
#include "Utils.h"
#include "uMain.h"
#include "u_AboutBox.h"
#include "u_DeviceSettings.h"
#include "u_MyMessageDlg.h"
#include "u_Options.h"

#include <QApplication>
#include <QDialog>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int SettleMs = 300;
constexpr int FlashBytes = 3000;
constexpr int EepromBytes = 200;
const QString Device = QStringLiteral("ATmega328P");
const QString WriteAction = QStringLiteral("write=");
const QString DialogAction = QStringLiteral("dialog=");
const QString ConnectAction = QStringLiteral("connect=");
const QString QuestionAction = QStringLiteral("question");
const QString OpenFlashAction = QStringLiteral("open-flash");

// A message would wait for a click that never comes: it is printed instead,
// a question answered No and a file dialog cancelled.
class PrintedUi : public UiServices {
public:
    bool askYesNo(QWidget *, const QString &text) override { return print(text); }
    bool warnYesNo(QWidget *, const QString &text) override { return print(text); }
    void showError(QWidget *, const QString &, const QString &text) override { print(text); }
    void showMessage(QWidget *, const QString &text) override { print(text); }
    void showWarning(QWidget *, const QString &, const QString &text) override { print(text); }
    QString saveFileName(QWidget *, const FileDialogRequest &) override { return {}; }
    QString openFileName(QWidget *, const FileDialogRequest &) override { return {}; }

private:
    static bool print(const QString &text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); return false; }
};

void writeSetting(const char *section, const char *key, const QString &value)
{
    Utility->IniWrite(QString::fromLatin1(section), QString::fromLatin1(key), value);
}

void settle()
{
    // Let the window lay itself out and paint before it is drawn into the picture.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < SettleMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, SettleMs);
}

// The warning before fuse bytes that leave both SPIEN and JTAGEN unprogrammed.
bool grabWarning(const QString &fileName)
{
    TMyMessageDlgFrm dialog;
    for (const auto &[label, text] : {std::pair<QLabel *, int>{dialog.Label1, 5003}, {dialog.Label3, 5004}})
        label->setText(Utility->Text(text));
    dialog.Label2->setText(Utility->Text(5012) + QStringLiteral("\r\n") + Utility->Text(5014));
    for (const auto &[button, text] : {std::pair<QPushButton *, int>{dialog.btn_Yes, 5009}, {dialog.btn_Abort, 5011}})
        button->setText(Utility->Text(text));
    dialog.show();
    settle();
    return dialog.grab().save(fileName);
}

// The dialog runs as the menu runs it; its modal loop only draws it.
bool grabDialog(const QString &name, const QString &fileName)
{
    bool saved = false;
    SetModalRunner([&](QDialog &dialog) {
        dialog.show();
        settle();
        saved = dialog.grab().save(fileName);
        return int(QDialog::Rejected);
    });
    const QMap<QString, void (*)(QWidget *)> dialogs = {
        {"board", &TDeviceSettingsForm::Execute}, {"options", &TOptionsFrm::Execute}, {"about", &TAboutBox::Execute}};
    dialogs.value(name, &TAboutBox::Execute)(MainFrm);
    SetModalRunner({});
    return saved;
}

// The connect dialog as a module operation shows it, before and after the language changed.
bool grabConnectDialog(TMainFrm &window, const QString &languageId, const QString &fileName)
{
    TForm1 dialog(&window);
    dialog.showConnectDialog();
    settle();
    dialog.closeConnectDialog();
    chooseLanguageInOptions(window, languageId);
    dialog.showConnectDialog();
    settle();
    return dialog.grab().save(fileName);
}

// The program's own dialog that `open` shows, drawn and then cancelled.
bool grabProgramDialog(const std::function<void()> &open, const QString &fileName)
{
    bool saved = false;
    whileFirstDialogShown(open, [&](QDialog &dialog) {
        settle();
        saved = dialog.grab().save(fileName);
    });
    return saved;
}

void act(TMainFrm &window, const QString &action)
{
    const int device = window.cbb_Microcontroller->findText(Device);
    window.cbb_Microcontroller->setCurrentIndex(device);
    emit window.cbb_Microcontroller->activated(device);
    if (action == QStringLiteral("bits"))
        window.btn_ChangeHigh->click();
    if (action.startsWith(WriteAction)) {
        window.UpdateControls();
        window.btn_WriteFlash->click();
    }
}

// Counting bytes with a gap, so that the view shows data, empty bytes and text.
QString writeImage(const QString &path, int size)
{
    TMemoryStream stream;
    for (int i = 0; i < size; ++i) {
        const char byte = i % 256 < 32 ? char(0xFF) : char(i);
        stream.write(&byte, 1);
    }
    return THexContainer::SaveStreamToFile(stream, path) ? path : QString();
}

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
    writeSetting("ProgramOptions", "LanguageID", QString::fromLocal8Bit(argv[2]));
    writeSetting("ProgramOptions", "LastShowedPage", QString::fromLocal8Bit(argv[3]));
    writeSetting("ProgramOptions", "Targetsystem", QString::fromLocal8Bit(argc > 5 ? argv[5] : "0"));
    if (argc > 6 && qstrcmp(argv[6], "images") == 0) {
        writeSetting("ProgramOptions", "LastFlashFile", writeImage(settings.filePath("blink.hex"), FlashBytes));
        writeSetting("ProgramOptions", "LastEEpromFile", writeImage(settings.filePath("blink.eep"), EepromBytes));
    }
    const QString action = argc > 7 ? QString::fromLocal8Bit(argv[7]) : QString();
    if (action.startsWith(WriteAction))
        writeSetting("Interface", "ProgrammerCom", action.mid(WriteAction.size()));
    if (action.startsWith(DialogAction) || action.startsWith(ConnectAction))
        writeSetting("Interface", "ProgrammerCom", settings.filePath("no-board"));
    if (action == OpenFlashAction)
        writeSetting("ProgramOptions", "LastFlashDir", settings.path());
    // The start-up pauses only show the splash.
    setSleepFunction([](int) {});
    PrintedUi printedUi;
    setUiServices(&printedUi);
    bool saved = false;
    {
        TMainFrm window;
        window.resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
        window.show();
        window.AddLogLine(fsBold, clBlue, QStringLiteral("Device found:"));
        window.AddLogLine(0, clGreen, QStringLiteral("OK"));
        settle();
        if (!action.isEmpty())
            act(window, action);
        settle();
        const QString fileName = QString::fromLocal8Bit(argv[4]);
        saved = action == QStringLiteral("warning")     ? grabWarning(fileName)
                : action.startsWith(DialogAction)  ? grabDialog(action.mid(DialogAction.size()), fileName)
                : action.startsWith(ConnectAction) ? grabConnectDialog(window, action.mid(ConnectAction.size()), fileName)
                : action == QuestionAction         ? grabProgramDialog([&] { window.close(); }, fileName)
                : action == OpenFlashAction
                    ? grabProgramDialog([&] { window.btn_OpenFlashFile->click(); }, fileName)
                    : window.grab().save(fileName);
    }
    setUiServices(nullptr);
    FinalizeProgUSBModule();
    FinalizeUtilsModule();
    return saved ? 0 : 1;
}
