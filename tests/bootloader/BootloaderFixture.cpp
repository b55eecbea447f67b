#include "BootloaderFixture.h"

#include "TestEnvironment.h"
#include "Utils.h"

namespace {
[[maybe_unused]] auto *const languageEnvironment =
    ::testing::AddGlobalTestEnvironment(new TestLanguageEnvironment);
constexpr int QuickTimeoutMs = 100;
}

void BootloaderTest::SetUp()
{
    CurrentComPort = sim.portPath();
    InitBootloaderModule();
    BootloaderTimeouts quick;
    quick.flashEraseCr = QuickTimeoutMs;
    quick.eepromEraseCr = QuickTimeoutMs;
    quick.address = QuickTimeoutMs;
    quick.programBlock = QuickTimeoutMs;
    quick.readBlock = QuickTimeoutMs;
    quick.start = QuickTimeoutMs;
    Bootloader->setTimeouts(quick);
    setMainWindowLink(&mainWindow);
    setConnectDialogControl(&dialog);
}

void BootloaderTest::TearDown()
{
    Bootloader->Close();
    FinalizeBootloaderModule();
    setConnectDialogControl(nullptr);
    setMainWindowLink(nullptr);
    BootloaderAbort = false;
}

TModul BootloaderTest::module(const QString &name)
{
    TModul modul;
    modul.Categorie = 1;
    modul.Name = name;
    modul.FlashSize = geometry().flashSize;
    modul.FlashPageSize = geometry().flashPageSize;
    modul.EEPromSize = geometry().eepromSize;
    modul.EEPromPageSize = geometry().eepromPageSize;
    return modul;
}

void BootloaderTest::openModuleInBootloader()
{
    sim.setEntersBootloaderAfter(0);
    ASSERT_TRUE(Bootloader->Open());
}

QByteArray addressFrame(std::uint32_t address)
{
    QByteArray frame("IA");
    frame += char(address >> 16);
    frame += char(address >> 8);
    frame += char(address);
    return frame;
}

QByteArray blockFrame(char command, int length, char memory)
{
    QByteArray frame("I");
    frame += command;
    frame += char(length >> 8);
    frame += char(length);
    frame += memory;
    return frame;
}
