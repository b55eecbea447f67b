// The settings the main window reads at creation and writes at its close query.
#include "uMain.h"

#include "PortChooser.h"
#include "RadioGroup.h"
#include "SettingsValues.h"
#include "TargetSystemCombo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {
constexpr int DefaultSpiSpeed = 5;
constexpr int DefaultTargetVoltage = 1;
constexpr int LastPowerOption = 2;

const QString ProgrammingOptions = QStringLiteral("ProgrammingOptions");
using SettingsSection::ProgramOptions;
const QString Interface = QStringLiteral("Interface");
const QString System = QStringLiteral("System");

struct BoxSetting {
    QCheckBox *TMainFrm::*box;
    const char *key;
    bool byDefault;
};

// The automatic-run and manual boxes, in the order they are read and written.
const BoxSetting ProgrammingBoxes[] = {
    {&TMainFrm::chk_CheckSignature, "AutoProg_CheckSignature", true},
    {&TMainFrm::chk_EraseChip, "AutoProg_ChipErase", true},
    {&TMainFrm::chk_ProgramFlash, "AutoProg_ProgramFlash", true},
    {&TMainFrm::chk_VerifyFlash, "AutoProg_VerifyFlash", true},
    {&TMainFrm::chk_ProgramEEProm, "AutoProg_ProgramEeprom", false},
    {&TMainFrm::chk_VerifyEEProm, "AutoProg_VerifyEeprom", true},
    {&TMainFrm::chk_ProgramFuseBits, "AutoProg_ProgramFuseBits", false},
    {&TMainFrm::chk_ProgramLockBits, "AutoProg_ProgramLockBits", false},
    {&TMainFrm::chk_ManualVerifyFlash, "ManualProg_VerifyFlash", true},
    {&TMainFrm::chk_ManualVerifyEeprom, "ManualProg_VerifyEeprom", true},
    {&TMainFrm::chk_EraseDeviceBefor, "ManualProg_ChipEraseBeforeProg", true},
};
const BoxSetting ModuleBoxes[] = {
    {&TMainFrm::chk_Module_VerifyFlash, "ManualProg_VerifyFlashInModul", true},
    {&TMainFrm::chk_Module_VerifyEeprom, "ManualProg_VerifyEepromInModul", true},
    {&TMainFrm::chk_Module_StartApplication, "ManualProg_Modul_StartApplication", true},
};
}

TMainFrm::Placement TMainFrm::PlaceWindow(bool firstStart, Placement stored, QSize screen)
{
    if (firstStart) {
        return {(screen.width() - MinimumWidth) / 2, (screen.height() - MinimumHeight) / 2,
                MinimumWidth, MinimumHeight};
    }
    Placement place = stored;
    place.left = std::max(place.left, 0);
    place.top = std::max(place.top, 0);
    place.width = std::max(place.width, MinimumWidth);
    place.height = std::max(place.height, MinimumHeight);
    if (place.left + place.width > screen.width()) {
        place.width = MinimumWidth;
        place.left = screen.width() - MinimumWidth;
    }
    if (place.top + place.height > screen.height()) {
        place.height = MinimumHeight;
        place.top = screen.height() - MinimumHeight;
    }
    return place;
}

void TMainFrm::readPlacement()
{
    const bool firstStart = ReadBoolSetting(System, QStringLiteral("FirstStart"), true);
    Placement stored{-1, -1, -1, -1};
    if (!firstStart) {
        stored = {ReadIntSetting(System, QStringLiteral("WindowLeft"), -1),
                  ReadIntSetting(System, QStringLiteral("WindowTop"), -1),
                  ReadIntSetting(System, QStringLiteral("WindowWidth"), -1),
                  ReadIntSetting(System, QStringLiteral("WindowHeight"), -1)};
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(MinimumWidth, MinimumHeight);
    const Placement place = PlaceWindow(firstStart, stored, screenSize);
    // Position of the frame, size of the client area: the same convention is written back.
    move(place.left, place.top);
    resize(place.width, place.height);
}

void TMainFrm::readCheckBoxes()
{
    for (const BoxSetting &setting : ProgrammingBoxes)
        (this->*setting.box)->setChecked(
            ReadBoolSetting(ProgrammingOptions, QString::fromLatin1(setting.key), setting.byDefault));
    for (const BoxSetting &setting : ModuleBoxes)
        (this->*setting.box)->setChecked(
            ReadBoolSetting(ProgrammingOptions, QString::fromLatin1(setting.key), setting.byDefault));
}

void TMainFrm::readPortList()
{
    CurrentComPort = ReadTextSetting(Interface, QStringLiteral("ProgrammerCom"), QString::fromLatin1(DefaultComPort));
    ComboBox1->refill();
    ComboBox1->selectCurrentPort();
    UartComPort = ReadTextSetting(Interface, QStringLiteral("UartCom"), QString::fromLatin1(DefaultComPort));
}

void TMainFrm::readTargetSystem()
{
    const int stored = ReadIntSetting(ProgramOptions, QStringLiteral("Targetsystem"), 0);
    cbb_Targetsystem->setCurrentIndex(
        stored >= 0 && stored < cbb_Targetsystem->count() ? stored : -1);
    if (stored == 0)
        SetTargetMode(BoardTarget);
    else if (stored == 1)
        SetTargetMode(ModuleTarget);
    else
        SetTargetMode(NoTarget);
    Action_BoardSettings->setEnabled(TargetMode == BoardTarget);
}

void TMainFrm::selectStoredDefinition(QComboBox *list, const QString &key,
                                      const std::vector<QLabel *> &labels)
{
    const int stored = ReadIntSetting(ProgramOptions, key, 0);
    if (list->count() == 0) {
        list->setCurrentIndex(-1);
        list->setEnabled(false);
        for (QLabel *label : labels)
            label->hide();
        return;
    }
    // A stored index past the end (the definition file shrank) falls back to the first item.
    list->setCurrentIndex(stored >= list->count() ? 0 : std::max(stored, -1));
    if (list->currentIndex() >= 0)
        emit list->activated(list->currentIndex());
}

void TMainFrm::readSettings()
{
    readCheckBoxes();
    readPortList();
    const int spi = ReadIntSetting(ProgramOptions, QStringLiteral("SPI_Speed"), DefaultSpiSpeed);
    cbb_SPI->setCurrentIndex(spi < cbb_SPI->count() ? std::max(spi, -1) : cbb_SPI->count() - 1);
    readTargetSystem();
    selectStoredDefinition(cbb_Microcontroller, QStringLiteral("Microcontroller"),
                           {Label_MC_EepromMemory, Label_MC_FlashMemory, Label_mc_signature});
    selectStoredDefinition(cbb_MicrocontrollerModule, QStringLiteral("MicrocontrollerModul"),
                           {Label22, Label23});
    int voltage = ReadIntSetting(ProgramOptions, QStringLiteral("TargetVoltage"), DefaultTargetVoltage);
    if (voltage > LastPowerOption)
        voltage = DefaultTargetVoltage;
    RadioGroup_Power->setItemIndex(voltage);
}

void TMainFrm::writeSettings()
{
    Utility->IniWrite(System, QStringLiteral("WindowLeft"), x());
    Utility->IniWrite(System, QStringLiteral("WindowTop"), y());
    Utility->IniWrite(System, QStringLiteral("WindowWidth"), width());
    Utility->IniWrite(System, QStringLiteral("WindowHeight"), height());
    Utility->IniWrite(System, QStringLiteral("FirstStart"), false);
    Utility->IniWrite(Interface, QStringLiteral("ProgrammerCom"), CurrentComPort);
    Utility->IniWrite(Interface, QStringLiteral("UartCom"), UartComPort);
    for (const BoxSetting &setting : ProgrammingBoxes)
        Utility->IniWrite(ProgrammingOptions, QString::fromLatin1(setting.key),
                          (this->*setting.box)->isChecked());
    Utility->IniWrite(ProgramOptions, QStringLiteral("SPI_Speed"), cbb_SPI->currentIndex());
    Utility->IniWrite(ProgramOptions, QStringLiteral("Microcontroller"),
                      cbb_Microcontroller->currentIndex());
    Utility->IniWrite(ProgramOptions, QStringLiteral("TargetVoltage"),
                      RadioGroup_Power->itemIndex());
    Utility->IniWrite(ProgramOptions, QStringLiteral("MicrocontrollerModul"),
                      cbb_MicrocontrollerModule->currentIndex());
    for (const BoxSetting &setting : ModuleBoxes)
        Utility->IniWrite(ProgrammingOptions, QString::fromLatin1(setting.key),
                          (this->*setting.box)->isChecked());
}
