#include "OperationsFixture.h"

void OperationsTest::SetUp()
{
    ProgLinkTest::SetUp();
    window.powerOption = 0;  // leave the target on after success: only failures switch it off
    snapshot.modul = target();
    makeImage(snapshot.flashImage, snapshot.modul->FlashSize, {{0, flashData}});
    makeImage(snapshot.eepromImage, snapshot.modul->EEPromSize, {{0, eepromData}});
    snapshot.flashImage.ImageMisfit = snapshot.eepromImage.ImageMisfit = false;
    snapshot.fuses = {"E2", "D9", "FF", "FC"};
    snapshot.eraseBeforeWrite = snapshot.verifyFlashAfterWrite = snapshot.verifyEepromAfterWrite = true;
    snapshot.autoSteps = {true, true, true, true, true, true, true, true};
}

std::string OperationsTest::trace() const
{
    static const std::map<std::uint16_t, QString> names = {
        {CMD_GET_INFO, "info"}, {CMD_READ_SIGNATURE, "sig"}, {CMD_WRITE_FLASH, "wflash"}, {CMD_WRITE_EEPROM, "weep"},
        {CMD_READ_FLASH, "rflash"}, {CMD_READ_EEPROM, "reep"}, {CMD_WRITE_FUSE, "wfuse"}, {CMD_READ_FUSE, "rfuse"},
        {CMD_LEAVE_PROGRAMMING, "leave"}, {CMD_ENTER_PROGRAMMING, "enter"}, {CMD_CHIP_ERASE, "erase"},
        {CMD_RESET_TARGET, "reset"}};
    QStringList words;
    QString last;
    int count = 0;
    for (const auto &exchange : sim->exchanges()) {
        const bool on = exchange.request.startsWith(bytes("abcd"));
        const QString name = exchange.command == CMD_TARGET_POWER ? (on ? "on" : "off") : names.at(exchange.command);
        count = name == last ? count + 1 : 1;
        if (count > 1)
            words.removeLast();
        words << (count > 1 ? name + '*' + QString::number(count) : name);
        last = name;
    }
    return words.join(u' ').toStdString();
}

QStringList OperationsTest::logTexts() const
{
    QStringList texts;
    for (const LogLine &entry : window.log)
        texts << entry.text;
    return texts;
}
