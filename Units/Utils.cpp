// The core module's globals and their life cycle.
#include "Utils.h"

TUtility *Utility = nullptr;
TDeviceInfo *DeviceInfo = nullptr;
QString CurrentComPort;
QString UartComPort;
bool PortableMode = false;
bool BootloaderAbort = false;

void InitUtilsModule()
{
    Utility = new TUtility;
    DeviceInfo = new TDeviceInfo;
    DeviceInfo->Clear();
}

void FinalizeUtilsModule()
{
    delete Utility;
    Utility = nullptr;
    delete DeviceInfo;
    DeviceInfo = nullptr;
    if (PortableMode)
        DeleteTempFiles();
    CurrentComPort.clear();
    UartComPort.clear();
}
