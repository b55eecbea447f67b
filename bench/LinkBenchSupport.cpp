#include "LinkBenchSupport.h"

#include "MemoryStream.h"
#include "ModuleSimulator.h"
#include "Utils.h"

#include <QFile>

#include <random>
#include <stdexcept>

namespace {
// How long the far end waits for the rest of a request before it gives up.
constexpr int RequestTimeoutMs = 2000;
constexpr char AnswerByte = 0x06;
constexpr int BitsPerByte = 10;  // start bit, 8 data bits, stop bit
constexpr double FlashDataPauseSeconds = 0.020;
}

BenchTexts::BenchTexts()
{
    if (!m_configHome.isValid() || !m_exeFolder.isValid())
        throw std::runtime_error("no temporary folder for the texts");
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(m_exeFolder.path());
    const QString library = QStringLiteral(LUMAPROG_TEST_LIB_DIR "/TT.lang.so");
    if (!QFile::copy(library, m_exeFolder.filePath(QStringLiteral("TT.lang.so"))))
        throw std::runtime_error("test language missing: " + library.toStdString());
    InitUtilsModule();
    Utility->IniWrite(QStringLiteral("ProgramOptions"), QStringLiteral("LanguageID"), QStringLiteral("TT"));
}

BenchTexts::~BenchTexts()
{
    FinalizeUtilsModule();
    TUtility::SetExeFolderOverride(QString());
}

QByteArray randomBytes(int size, unsigned seed)
{
    std::mt19937 generator(seed);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = char(generator());
    return bytes;
}

THexContainer imageOf(const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.write(bytes.constData(), int(bytes.size()));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("image.hex"));
    if (!THexContainer::SaveStreamToFile(stream, path))
        throw std::runtime_error("cannot write the image file");
    THexContainer image;
    image.LoadFromFile(path);
    image.Resize(int(bytes.size()) - 1);
    return image;
}

ScriptedFarEnd::ScriptedFarEnd(std::vector<Turn> turns)
    : m_turns(std::move(turns)), m_thread([this] { serve(); })
{
}

ScriptedFarEnd::~ScriptedFarEnd()
{
    finish();
}

bool ScriptedFarEnd::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_complete;
}

void ScriptedFarEnd::serve()
{
    for (const Turn &turn : m_turns) {
        if (m_pty.read(turn.receive, RequestTimeoutMs).size() < turn.receive)
            return;
        if (turn.send > 0)
            m_pty.write(QByteArray(turn.send, AnswerByte));
    }
    m_complete = true;
}

TModul BenchModule::definition()
{
    TModul modul;
    modul.Name = QString::fromLatin1(Name);
    modul.Categorie = 1;
    modul.FlashSize = FlashSize;
    modul.FlashPageSize = FlashPageSize;
    modul.EEPromSize = 1024;
    modul.EEPromPageSize = 4;
    return modul;
}

double ModuleLineUse::seconds() const
{
    return double(hostBytes + moduleBytes) * BitsPerByte / BenchModule::LineBaud
           + flashBlocks * FlashDataPauseSeconds;
}

ModuleLineUse moduleLineUse(const ModuleSimulator &module)
{
    ModuleLineUse use;
    use.hostBytes = module.received().size();
    for (const auto &exchange : module.exchanges()) {
        use.moduleBytes += exchange.answer.size();
        if (exchange.request.startsWith("IB") && exchange.request.endsWith('F')) {
            ++use.flashBlocks;
            use.pausesMs += exchange.pauseBeforeDataMs;
        }
    }
    return use;
}
