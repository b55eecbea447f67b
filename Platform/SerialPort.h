#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// A device error while the port is in use: unplugged, hung up, failed I/O.
class SerialIoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A serial port on POSIX termios: raw 8N1 at any baud rate, no flow control,
// DTR and RTS cleared where the device allows it, used exclusively.
class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    void setPortName(const QString &name) { m_portName = name; }
    const QString &portName() const { return m_portName; }
    void setBaudRate(int baud) { m_baudRate = baud; }
    int baudRate() const { return m_baudRate; }
    // A read of n bytes allows this many milliseconds for the whole block.
    void setReadTimeout(int milliseconds) { m_readTimeout = milliseconds; }
    int readTimeout() const { return m_readTimeout; }
    void setWriteTimeout(int milliseconds) { m_writeTimeout = milliseconds; }
    int writeTimeout() const { return m_writeTimeout; }

    // Opens and configures the port and discards pending input;
    // throws SerialIoError naming the port and the reason.
    void open();
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // Reads up to count bytes until all have come or the read time-out has
    // passed since the call began; returns the number read. Throws
    // SerialIoError when the device fails or hangs up.
    int read(void *buffer, int count);
    // Writes count bytes within the write time-out; returns the number written.
    int write(const void *buffer, int count);
    // Discards input that has arrived but not been read.
    void flushInput();

    // The system's serial ports as full device paths.
    static QStringList availablePorts();

private:
    QString m_portName;
    int m_baudRate = 9600;
    int m_readTimeout = 2000;
    int m_writeTimeout = 2000;
    int m_fd = -1;
};
