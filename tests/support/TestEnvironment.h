#pragma once

// Tests never touch the user's own settings or the program's folder: they
// point the program at temporary folders (settings through XDG_CONFIG_HOME,
// the executable's folder through the test-only override) and, where texts
// are asserted, read them from the test language, which answers "T<id>".
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Points the program at two fresh folders for its lifetime and back at the
// settings folder it saw before when it ends.
class TemporaryProgramFolders {
public:
    TemporaryProgramFolders();
    ~TemporaryProgramFolders();
    TemporaryProgramFolders(const TemporaryProgramFolders &) = delete;
    TemporaryProgramFolders &operator=(const TemporaryProgramFolders &) = delete;

    bool isValid() const { return m_configHome.isValid() && m_exeFolder.isValid(); }
    QString configHome() const { return m_configHome.path(); }
    QString exeFolder() const { return m_exeFolder.path(); }

    // Copies the test language into the executable's folder as <languageId>.lang.so.
    bool installTestLanguage(const QString &languageId = QStringLiteral("TT"));

private:
    QTemporaryDir m_configHome;
    QTemporaryDir m_exeFolder;
    QByteArray m_savedConfigHome;
};

// The core services running on temporary folders with the test language chosen.
class TestLanguageSession {
public:
    TestLanguageSession();
    ~TestLanguageSession();
    TestLanguageSession(const TestLanguageSession &) = delete;
    TestLanguageSession &operator=(const TestLanguageSession &) = delete;

    bool isValid() const { return m_valid; }

private:
    TemporaryProgramFolders m_folders;
    bool m_valid = false;
};

// One test language session for a whole test program:
// ::testing::AddGlobalTestEnvironment(new TestLanguageEnvironment).
class TestLanguageEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE((m_session = std::make_unique<TestLanguageSession>())->isValid()); }
    void TearDown() override { m_session.reset(); }

private:
    std::unique_ptr<TestLanguageSession> m_session;
};

// Writes a file, making its folder first; a failure fails the test.
void writeFile(const QString &path, const QByteArray &content);
// A file's bytes, empty when it cannot be read.
QByteArray readFile(const QString &path);
