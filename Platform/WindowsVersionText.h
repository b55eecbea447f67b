#pragma once

#include <QString>
#include <cstdint>

// What the Windows description is made of: the version record and the
// probes that refine it. Each field holds what the system reported, or what
// counts as absent when it reported nothing.
struct WindowsVersionFacts {
    bool versionRead = true;     // false when neither version record could be read
    bool extended = true;        // the extended record: suite mask and product type are valid
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // 0 Win32s, 1 the Windows 95 family, 2 the NT family
    QString serviceText {};        // e.g. "Service Pack 2"
    std::uint16_t suiteMask = 0;
    std::uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
    int architecture = -1;         // 6 Itanium, 9 x64; anything else is neither
    bool tabletPc = false;
    bool mediaCenter = false;
    bool starter = false;
    bool serverR2 = false;
    bool mediaPlayerAbsent = false;
    bool fundamentalsInstalled = false;
    double mediaCenterVersion = 0;
    QString productOptions {};     // read only without the extended record
    bool nt4HotfixPresent = false;
    QString wmiCaption {};         // empty when the query gave none
};

// The product name, edition, preview or service-pack text and build number,
// for Win32s, the Windows 95 family and the NT family up to 6.0. Newer
// versions get no name: only the service text and the build part.
QString GetWindowsVersionText(const WindowsVersionFacts &facts);
