#pragma once

// Every core test runs against its own temporary folders: the per-user config
// folder through XDG_CONFIG_HOME and the executable's folder through the
// override, with a recorder in place of the message boxes.
#include "Recorders.h"
#include "TestEnvironment.h"
#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <type_traits>

class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folders.isValid());
        PortableMode = false;
        Application::resetTerminated();
        setUiHooks(&hooks);
    }

    void TearDown() override
    {
        setUiHooks(nullptr);
        Application::resetTerminated();
        PortableMode = false;
    }

    // What IniRead gives, starting from a value other than a Boolean default so
    // that a read which sets nothing shows.
    template <typename T> T read(const char *section, const char *key, const T &def)
    {
        T value{};
        if constexpr (std::is_same_v<T, bool>)
            value = !def;
        utility.IniRead(section, key, def, value);
        return value;
    }

    QString userSettingsFile() const { return folders.configHome() + "/Kal-Works/Lumaprog.ini"; }

    TemporaryProgramFolders folders;
    RecordingUiHooks hooks;
    TUtility utility;
};
