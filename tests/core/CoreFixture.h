#pragma once

// Every core test runs against its own temporary folders: the per-user config
// folder through XDG_CONFIG_HOME and the executable's folder through the
// override, with a recorder in place of the message boxes.
#include "UiHooks.h"
#include "Utils.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class RecordingHooks : public UiHooks {
public:
    QStringList errors;    // "title|text"
    QStringList messages;
    void showError(const QString &title, const QString &text) override { errors << title + u'|' + text; }
    void showMessage(const QString &text) override { messages << text; }
    void setBusyCursor(bool) override {}
};

class CoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configHome.isValid() && exeDir.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
        TUtility::SetExeFolderOverride(exeDir.path());
        PortableMode = false;
        Application::resetTerminated();
        setUiHooks(&hooks);
    }

    void TearDown() override
    {
        setUiHooks(nullptr);
        Application::resetTerminated();
        PortableMode = false;
        TUtility::SetExeFolderOverride(QString());
        if (savedConfigHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfigHome);
    }

    QString userSettingsFile() const { return configHome.path() + "/Kal-Works/Lumaprog.ini"; }

    static void writeFile(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir configHome;
    QTemporaryDir exeDir;
    RecordingHooks hooks;
    TUtility utility;

private:
    QByteArray savedConfigHome;
};
