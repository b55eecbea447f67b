#include "OperationsFixture.h"

#include "ProgUSB.h"

#include <map>

bool ScriptedPrompts::confirmWarning(const WarningDialogTexts &texts)
{
    asked << QStringLiteral("warning: %1|%2|%3|%4|%5")
                 .arg(texts.heading, texts.subHeading, texts.body, texts.yesText, texts.abortText);
    return goOn;
}

QString ScriptedPrompts::saveFileName(const SaveFileRequest &request)
{
    asked << QStringLiteral("save: %1|%2|%3").arg(request.title, request.filter, request.defaultSuffix);
    return fileName;
}

bool ScriptedPrompts::warnYesNo(const QString &text)
{
    asked << QStringLiteral("overwrite: ") + text;
    return overwrite;
}

void ScriptedPrompts::showError(const QString &text)
{
    asked << QStringLiteral("error: ") + text;
}

void OperationsTest::SetUp()
{
    ProgLinkTest::SetUp();
    window.powerOption = 0;  // leave the target on after success: only failures switch it off
    snapshot.modul = target();
    const TModul &modul = *snapshot.modul;
    flashData = pattern(2 * modul.FlashPageSize, 1);
    eepromData = pattern(2 * modul.EEPromPageSize, 2);
    makeImage(snapshot.flashImage, modul.FlashSize, {{0, flashData}});
    makeImage(snapshot.eepromImage, modul.EEPromSize, {{0, eepromData}});
    snapshot.flashImage.ImageMisfit = false;
    snapshot.eepromImage.ImageMisfit = false;
    snapshot.fuses = {QStringLiteral("E2"), QStringLiteral("D9"), QStringLiteral("FF"), QStringLiteral("FC")};
}

QString OperationsTest::trace() const
{
    static const std::map<std::uint16_t, QString> names = {
        {CMD_GET_INFO, "info"}, {CMD_READ_SIGNATURE, "sig"}, {CMD_WRITE_FLASH, "wflash"},
        {CMD_WRITE_EEPROM, "weep"}, {CMD_READ_FLASH, "rflash"}, {CMD_READ_EEPROM, "reep"},
        {CMD_WRITE_FUSE, "wfuse"}, {CMD_READ_FUSE, "rfuse"}, {CMD_LEAVE_PROGRAMMING, "leave"},
        {CMD_ENTER_PROGRAMMING, "enter"}, {CMD_CHIP_ERASE, "erase"}, {CMD_RESET_TARGET, "reset"}};
    std::vector<std::pair<QString, int>> runs;
    for (const auto &exchange : sim->exchanges()) {
        const QString name = exchange.command != CMD_TARGET_POWER ? names.at(exchange.command)
            : exchange.request.startsWith(bytes("abcd"))          ? QStringLiteral("on")
                                                                   : QStringLiteral("off");
        if (!runs.empty() && runs.back().first == name)
            ++runs.back().second;
        else
            runs.emplace_back(name, 1);
    }
    QStringList words;
    for (const auto &[name, count] : runs)
        words << (count == 1 ? name : QStringLiteral("%1*%2").arg(name).arg(count));
    return words.join(u' ');
}

QStringList OperationsTest::logTexts() const
{
    QStringList texts;
    for (const LogLine &entry : window.log)
        texts << entry.text;
    return texts;
}

int OperationsTest::redLines() const
{
    return int(std::count_if(window.log.begin(), window.log.end(), [](const LogLine &l) { return l.colour == clRed; }));
}
