#pragma once

// Images are read in a temporary folder, with the test language library as
// the text source so that the text of id 16 reads exactly "T16", and with a
// recorder in place of the busy cursor.
#include "Exceptions.h"
#include "HexContainer.h"
#include "UiHooks.h"
#include "Utils.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class CursorRecorder : public UiHooks {
public:
    int busy = 0;     // current nesting
    int shown = 0;    // how often the hourglass was shown
    void showError(const QString &, const QString &) override {}
    void showMessage(const QString &) override {}
    void setBusyCursor(bool on) override
    {
        busy += on ? 1 : -1;
        shown += on ? 1 : 0;
    }
};

class HexFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_configHome.isValid() && m_exeFolder.isValid() && m_files.isValid());
        m_savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
        TUtility::SetExeFolderOverride(m_exeFolder.path());
        const QString library = qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + "/TT.lang.so";
        ASSERT_TRUE(QFile::copy(library, m_exeFolder.filePath("TT.lang.so"))) << library.toStdString();
        InitUtilsModule();
        Utility->IniWrite("ProgramOptions", "LanguageID", "TT");
        setUiHooks(&cursor);
    }

    void TearDown() override
    {
        setUiHooks(nullptr);
        FinalizeUtilsModule();
        TUtility::SetExeFolderOverride(QString());
        if (m_savedConfigHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_savedConfigHome);
    }

    // Writes content to a file of the temporary folder and returns its path.
    QString writeFile(const QString &name, const QByteArray &content)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }

    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QString filePath(const QString &name) const { return m_files.filePath(name); }

    // Loads Intel HEX text (lines joined with CR LF) into image.
    void load(THexContainer &image, const QByteArray &text)
    {
        image.LoadFromFile(writeFile("image.hex", text));
    }

    CursorRecorder cursor;

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_exeFolder;
    QTemporaryDir m_files;
    QByteArray m_savedConfigHome;
};

// All stored texts of a line, "FF" where it holds nothing: the line as a hex view shows it.
inline QString lineText(const THexLine &line)
{
    QString text;
    for (int column = 1; column <= THexLine::Columns; ++column)
        text += line.GetByte(column);
    return text;
}
