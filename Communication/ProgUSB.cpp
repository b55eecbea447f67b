#include "ProgUSB.h"

#include "MainWindowLink.h"
#include "SerialPort.h"
#include "Utils.h"

TProgUSB *ProgUSB = nullptr;

namespace {
constexpr int TextLinkOpened = 3001;
constexpr int TextLinkNotOpened = 3002;
constexpr int TextLinkClosed = 3003;

std::unique_ptr<SerialPort> makePort()
{
    auto port = std::make_unique<SerialPort>();
    port->setPortName(CurrentComPort);
    port->setReadTimeout(TProgUSB::DefaultTimeout);
    port->setWriteTimeout(TProgUSB::DefaultTimeout);
    return port;
}
}

TProgUSB::TProgUSB() = default;
TProgUSB::~TProgUSB() = default;  // the port closes itself, without a log line

void TProgUSB::Init()
{
    ComPort = makePort();
}

bool TProgUSB::Open()
{
    if (DeviceInfo)
        DeviceInfo->Valid = false;
    // The port opens before the first line: each line lets the window handle
    // its events, and a Close from there (the window closing) must find the
    // port open to close it, not be overtaken by an open that follows it.
    ComPort->setPortName(CurrentComPort);
    ComPort->setBaudRate(BaudRate);
    try {
        ComPort->open();
    } catch (const SerialIoError &) {
        // A port that cannot be opened simply stays closed; the log says so.
    }
    Log(0, clBlack, QString());
    if (ComPort->isOpen()) {
        Log(0, clGray, Utility->Text(TextLinkOpened));
    } else {
        Log(0, clRed, Utility->Text(TextLinkNotOpened));
        Log(0, clBlack, QString());
    }
    return IsOpen();  // a Close during the lines above has the last word
}

void TProgUSB::Close()
{
    try {
        closePort(*ComPort);
    } catch (const std::exception &error) {
        logPortError(error);
        // The failed object may still hold the device; dropping it releases
        // what can be released, and the fresh one starts closed.
        ComPort = makePort();
    }
    Log(0, clGray, Utility->Text(TextLinkClosed));
    Log(0, clBlack, QString());
}

void TProgUSB::closePort(SerialPort &port)
{
    port.close();
}

void TProgUSB::logPortError(const std::exception &error)
{
    Log(0, clRed, QStringLiteral("COM PORT ERROR: %1").arg(QString::fromLocal8Bit(error.what())));
}

bool TProgUSB::IsOpen() const
{
    return ComPort && ComPort->isOpen();
}

template <typename Operation>
auto TProgUSB::deviceCall(Operation operation)
{
    try {
        return operation();
    } catch (const SerialIoError &error) {
        ComPort->close();
        logPortError(error);
        throw;
    }
}

bool TProgUSB::SendCommand(std::uint16_t code)
{
    if (!IsOpen())
        return false;
    const std::uint8_t word[2] = {std::uint8_t(code >> 8), std::uint8_t(code & 0xFF)};
    return deviceCall([&] {
        ComPort->flushInput();
        return ComPort->write(word, 2) == 2;
    });
}

bool TProgUSB::WaitAck(int timeoutMs)
{
    std::uint8_t ack = 0;
    return Read(&ack, 1, timeoutMs);
}

std::uint8_t TProgUSB::ReadStatus(int timeoutMs)
{
    std::uint8_t status = 0;
    return Read(&status, 1, timeoutMs) ? status : STATUS_DB_NO_ANSWER;
}

bool TProgUSB::Read(std::uint8_t *buffer, int count, int timeoutMs)
{
    if (!IsOpen())
        return false;
    ComPort->setReadTimeout(timeoutMs);
    return deviceCall([&] { return ComPort->read(buffer, count) == count; });
}

bool TProgUSB::Write(const std::uint8_t *buffer, int count)
{
    if (!IsOpen())
        return false;
    return deviceCall([&] { return ComPort->write(buffer, count) == count; });
}

void TProgUSB::Log(TFontStyles styles, TColor colour, const QString &text)
{
    if (MainWindowLink *window = mainWindowLink())
        window->addLogLine(styles, colour, text);
}

void InitProgUSBModule()
{
    ProgUSB = new TProgUSB;
    ProgUSB->Init();
}

void FinalizeProgUSBModule()
{
    delete ProgUSB;
    ProgUSB = nullptr;
}
