#pragma once

// Images are read in a temporary folder, with the test language library as
// the text source so that the text of id 16 reads exactly "T16", and with a
// recorder in place of the busy cursor.
#include "Exceptions.h"
#include "HexContainer.h"
#include "Recorders.h"
#include "TestEnvironment.h"

class HexFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_session.isValid() && m_files.isValid());
        setUiHooks(&cursor);
    }
    void TearDown() override { setUiHooks(nullptr); }

    QString filePath(const QString &name) const { return m_files.filePath(name); }
    // Writes content to a file of the temporary folder and returns its path.
    QString writeFile(const QString &name, const QByteArray &content)
    {
        ::writeFile(filePath(name), content);
        return filePath(name);
    }
    // Loads Intel HEX text into image.
    void load(THexContainer &image, const QByteArray &text) { image.LoadFromFile(writeFile("image.hex", text)); }

    RecordingUiHooks cursor;

private:
    TestLanguageSession m_session;
    QTemporaryDir m_files;
};

// All stored texts of a line, "FF" where it holds nothing: the line as a hex view shows it.
inline QString lineText(const THexLine &line)
{
    QString text;
    for (int column = 1; column <= THexLine::Columns; ++column)
        text += line.GetByte(column);
    return text;
}
