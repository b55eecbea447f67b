#include "LinkBenchSupport.h"

#include "MemoryStream.h"
#include "ModuleSimulator.h"
#include "ProgUSB.h"
#include "SerialPort.h"
#include "Utils.h"

#include <QElapsedTimer>
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

ProgrammerLink::ProgrammerLink()
{
    InitProgUSBModule();
}

ProgrammerLink::~ProgrammerLink()
{
    FinalizeProgUSBModule();
}

TModul atmega2560()
{
    TModul modul;
    modul.Name = QStringLiteral("ATmega2560");
    modul.FlashSize = Atmega2560FlashSize;
    modul.FlashPageSize = Atmega2560FlashPageSize;
    modul.EEPromSize = Atmega2560EepromSize;
    modul.EEPromPageSize = 8;
    modul.FlashDelay = 10;
    modul.EEPromDelay = 10;
    return modul;
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

// A command with a request block is acknowledged by one byte; a page block
// is preceded by one status.
Replay replayOf(const BoardSimulator &board, std::size_t firstExchange)
{
    const std::vector<BoardSimulator::Exchange> exchanges = board.exchanges();
    Replay replay;
    for (auto e = exchanges.begin() + qsizetype(firstExchange); e != exchanges.end(); ++e) {
        const char commandWord[] = {char(e->command >> 8), char(e->command & 0xFF)};
        const QByteArray word(commandWord, sizeof commandWord);
        if (e->request.isEmpty()) {
            replay.push_back({word, e->answered});
            continue;
        }
        replay.push_back({word, e->answered.left(1)});
        if (e->pageBlock.isEmpty()) {
            replay.push_back({e->request, e->answered.mid(1)});
            continue;
        }
        replay.push_back({e->request, e->answered.mid(1, 1)});
        replay.push_back({e->pageBlock, e->answered.mid(2)});
    }
    return replay;
}

double replayExchanges(const QString &portPath, const Replay &replay)
{
    QByteArray recorded;
    for (const ReplayTurn &turn : replay)
        recorded += turn.answer;
    QByteArray answers(recorded.size(), '\0');
    char *in = answers.data();
    QElapsedTimer clock;
    clock.start();
    SerialPort port;
    port.setPortName(portPath);
    port.setBaudRate(TProgUSB::BaudRate);
    port.open();
    for (const ReplayTurn &turn : replay) {
        const int answerSize = int(turn.answer.size());
        if (port.write(turn.request.constData(), int(turn.request.size())) != turn.request.size()
            || port.read(in, answerSize) != answerSize)
            throw std::runtime_error("the replay fell short");
        in += answerSize;
    }
    port.close();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (answers != recorded)
        throw std::runtime_error("the replay was answered otherwise than the operation");
    return seconds;
}

Turns asOneStream(const Replay &replay)
{
    ScriptedFarEnd::Turn stream {0, 0};
    for (const ReplayTurn &turn : replay) {
        stream.receive += int(turn.request.size());
        stream.send += int(turn.answer.size());
    }
    return {stream};
}

double moveBytes(const Turns &turns)
{
    ScriptedFarEnd farEnd(turns);
    SerialPort port;
    port.setPortName(farEnd.portPath());
    port.setBaudRate(TProgUSB::BaudRate);
    port.open();
    QByteArray out;
    QByteArray in;
    QElapsedTimer clock;
    clock.start();
    for (const auto &turn : turns) {
        out.resize(turn.receive);
        in.resize(turn.send);
        if (port.write(out.constData(), turn.receive) != turn.receive
            || port.read(in.data(), turn.send) != turn.send)
            throw std::runtime_error("pseudo-terminal baseline fell short");
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!farEnd.finish())
        throw std::runtime_error("pseudo-terminal baseline incomplete");
    return seconds;
}
