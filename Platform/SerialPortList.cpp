#include "SerialPort.h"

#include <QSerialPortInfo>

QStringList SerialPort::availablePorts()
{
    QStringList paths;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        paths << info.systemLocation();
    return paths;
}
