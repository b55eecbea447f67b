// Each simulator program, told nothing else, serves a device of the
// program's own list: one the user can choose and the program accepts.
#include "AsciiText.h"
#include "Bootloader.h"
#include "ComponentStream.h"
#include "DefinitionFile.h"
#include "SimulatorDefaults.h"

#include <gtest/gtest.h>

namespace {
// Reads the definition file the build ships as the program reads it.
void readShippedDefinitions(std::vector<std::unique_ptr<TModul>> &definitions)
{
    RegisterClass(QStringLiteral("TModul"));
    const QString path = qEnvironmentVariable("LUMAPROG_BIN_DIR") + '/' + DefinitionFileName;
    const DefinitionFileResult result =
        ReadDefinitionFile(path, [&](std::unique_ptr<TModul> d) { definitions.push_back(std::move(d)); });
    ASSERT_EQ(result, DefinitionFileResult::Read) << path.toStdString();
}

// How a definition reads in a failure message.
QString described(const TModul &d)
{
    return QStringLiteral("%1 (signature %2, flash %3/%4, EEPROM %5/%6)")
        .arg(d.Name, d.Signatur)
        .arg(d.FlashSize).arg(d.FlashPageSize).arg(d.EEPromSize).arg(d.EEPromPageSize);
}
}

TEST(SimulatorDefaults, ServeAModuleAndAMicrocontrollerOfTheProgramsList)
{
    std::vector<std::unique_ptr<TModul>> definitions;
    ASSERT_NO_FATAL_FAILURE(readShippedDefinitions(definitions));
    const ModuleSimulator::Geometry &module = SimulatorDefaults::ModuleGeometry;
    bool moduleListed = false, boardListed = false;
    QStringList listed;
    for (const auto &d : definitions) {
        listed << described(*d);
        // The bootloader link accepts the module whose identifier begins with the definition's name in capitals.
        if (d->Categorie != 0)
            moduleListed |= tKalworksBootloader::IdentMatches(AsciiUpper(d->Name).toUtf8(),
                                                              SimulatorDefaults::ModuleIdentifier)
                            && d->FlashSize == module.flashSize && d->FlashPageSize == module.flashPageSize
                            && d->EEPromSize == module.eepromSize && d->EEPromPageSize == module.eepromPageSize;
        else
            boardListed |= d->Signatur == SimulatorDefaults::BoardSignature;
    }
    EXPECT_TRUE(moduleListed) << "module_sim serves " << SimulatorDefaults::ModuleIdentifier << " with flash "
                              << module.flashSize << '/' << module.flashPageSize << " and EEPROM " << module.eepromSize
                              << '/' << module.eepromPageSize << "; the list has:\n"
                              << listed.join('\n').toStdString();
    EXPECT_TRUE(boardListed) << "board_sim answers signature " << SimulatorDefaults::BoardSignature
                             << "; the list has:\n" << listed.join('\n').toStdString();
}
