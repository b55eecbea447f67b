#include "GuiFixture.h"

#include "DefinitionTable.h"
#include "DialogSupport.h"
#include "MemoryStream.h"
#include "ProgUSB.h"
#include "ScreenCursor.h"
#include "Sleep.h"
#include "UiHooks.h"

#include <QDialog>
#include <QDir>

namespace {
// The program folder: the test language beside the program's own languages and pictures.
class ProgramFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        folders = std::make_unique<TemporaryProgramFolders>();
        ASSERT_TRUE(folders->installTestLanguage());
        const QDir bin(qEnvironmentVariable("LUMAPROG_BIN_DIR")), exe(folders->exeFolder());
        for (const QString name : {"EN.lang.so", "DE.lang.so", "Ressourcen"})
            ASSERT_TRUE(QFile::link(bin.filePath(name), exe.filePath(name)));
        InitUtilsModule();
        InitProgUSBModule();
    }
    void TearDown() override
    {
        FinalizeProgUSBModule();
        FinalizeUtilsModule();
        folders.reset();
    }
    std::unique_ptr<TemporaryProgramFolders> folders;
};

ProgramFolderEnvironment *environment = static_cast<ProgramFolderEnvironment *>(
    ::testing::AddGlobalTestEnvironment(new ProgramFolderEnvironment));
}

const QByteArray TestDefinitions = R"(
[Chip B]
FlashSize=1024
FlashPageSize=64
EEPromSize=64
EEPromPageSize=4
Signatur=1E9307
DefaultFuseLow=E1
DefaultFuseHigh=D9
FuseHigh=RSTDISBL WDTON SPIEN CKOPT EESAVE BOOTSZ1 BOOTSZ0 BOOTRST
FuseExt=1 1 1 1 1 1 1 1
[chip a]
Base=Chip B
DefaultFuseHigh=FF
DefaultFuseExt=FF
FuseExt=1 1 1 1 1 1 1 JTAGEN
[Module 1]
Base=Chip B
Categorie=-1
FlashSize=-33
EEPromPageSize=0
)";

void chooseEntry(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QRect entryRect(TMainFrm &window, int node)
{
    return window.vst_Auswahl->visualRect(window.vst_Auswahl->model()->index(node, 0));
}

void clickEntry(TMainFrm &window, int node)
{
    QTest::mouseClick(window.vst_Auswahl->viewport(), Qt::LeftButton, {}, entryRect(window, node).center());
}

QString logText(const TMainFrm &window)
{
    return window.redt_Status->toPlainText();
}

QString joined(std::initializer_list<QVariant> values)
{
    QStringList texts;
    for (const QVariant &value : values) {
        EXPECT_TRUE(value.canConvert<QString>()) << value.typeName();
        texts << value.toString();
    }
    return texts.join(u'|');
}

QString GuiTest::definitionFile()
{
    return environment->folders->exeFolder() + '/' + QString::fromLatin1(DefinitionFileName);
}

bool ScriptedUi::ask(const QString &text)
{
    questions << text;
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void GuiTest::SetUp()
{
    ASSERT_TRUE(configHome.isValid());
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    writeOptions({{"LanguageID", "TT"}});
    setUiServices(&ui);
    setSleepFunction([](int) {});
    OperationIdle = true;
    PortableMode = false;
    CurrentComPort.clear();
    Application::resetTerminated();
    // The menu's dialogs end at once, as Cancel would end them, unless a test scripts them.
    SetModalRunner([](QDialog &) { return int(QDialog::Rejected); });
}

void GuiTest::TearDown()
{
    ScreenCursor::setDefault();
    QFile::remove(definitionFile());
    setSleepFunction({});
    setUiServices(nullptr);
    SetModalRunner({});
    OperationIdle = true;
}

std::unique_ptr<TMainFrm> GuiTest::showWindow()
{
    auto window = createWindow();
    window->resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
    window->show();
    return window;
}

void GuiTest::writeOptions(std::initializer_list<std::pair<const char *, const char *>> keys)
{
    for (const auto &[key, value] : keys)
        writeSetting(QStringLiteral("ProgramOptions"), key, value);
}

QString GuiTest::readSetting(const QString &section, const QString &key)
{
    QString value;
    Utility->IniRead(section, key, QStringLiteral("<missing>"), value);
    return value;
}

void GuiTest::writeDefinitions(const QByteArray &table)
{
    ASSERT_TRUE(WriteDefinitionFile(definitionFile(), ParseDefinitionTable(table)));
}

QString GuiTest::writeHexFile(const QString &name, int size, int seed)
{
    TMemoryStream stream;
    stream.write(pattern(size, seed).constData(), size);
    const QString path = files.filePath(name);
    EXPECT_TRUE(THexContainer::SaveStreamToFile(stream, path));
    return path;
}
