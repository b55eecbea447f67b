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
    // The identification keeps its own time-out, which the module's timing depends on.
    Bootloader->setTimeouts({BootloaderTimeouts().identification, QuickTimeoutMs, QuickTimeoutMs, QuickTimeoutMs,
                             QuickTimeoutMs, QuickTimeoutMs, QuickTimeoutMs});
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
