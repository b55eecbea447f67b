#include "TestEnvironment.h"

#include "Utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const char ConfigHomeVariable[] = "XDG_CONFIG_HOME";
}

TemporaryProgramFolders::TemporaryProgramFolders()
    : m_savedConfigHome(qgetenv(ConfigHomeVariable))
{
    EXPECT_TRUE(isValid()) << "no temporary folders";
    qputenv(ConfigHomeVariable, QFile::encodeName(configHome()));
    TUtility::SetExeFolderOverride(exeFolder());
}

TemporaryProgramFolders::~TemporaryProgramFolders()
{
    TUtility::SetExeFolderOverride(QString());
    if (m_savedConfigHome.isNull())
        qunsetenv(ConfigHomeVariable);
    else
        qputenv(ConfigHomeVariable, m_savedConfigHome);
}

bool TemporaryProgramFolders::installTestLanguage(const QString &languageId)
{
    const QString library = qEnvironmentVariable("LUMAPROG_TEST_LIB_DIR") + QStringLiteral("/TT.lang.so");
    const bool copied = QFile::copy(library, m_exeFolder.filePath(languageId + QStringLiteral(".lang.so")));
    EXPECT_TRUE(copied) << "cannot copy " << library.toStdString();
    return copied;
}

TestLanguageSession::TestLanguageSession()
{
    m_valid = m_folders.isValid() && m_folders.installTestLanguage();
    InitUtilsModule();
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("LanguageID"), QStringLiteral("TT"));
}

TestLanguageSession::~TestLanguageSession()
{
    FinalizeUtilsModule();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(content), content.size()) << path.toStdString();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
