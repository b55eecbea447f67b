#include "WindowsVersionText.h"

#include <initializer_list>

namespace {
constexpr std::uint32_t Win32s = 0;
constexpr std::uint32_t Windows95Family = 1;
constexpr std::uint32_t NtFamily = 2;
constexpr std::uint8_t Workstation = 1;
constexpr std::uint8_t DomainController = 2;
constexpr std::uint8_t Server = 3;
constexpr int Itanium = 6;
constexpr int X64 = 9;
constexpr std::uint16_t SuiteEnterprise = 0x0002;
constexpr std::uint16_t SuiteDatacenter = 0x0080;
constexpr std::uint16_t SuitePersonal = 0x0200;
constexpr std::uint16_t SuiteWeb = 0x0400;

struct BuildText {
    std::initializer_list<int> builds;
    const char *text;
};

// The text of the first row that holds the build, or "".
QString byBuild(int build, std::initializer_list<BuildText> rows)
{
    for (const BuildText &row : rows) {
        for (const int candidate : row.builds) {
            if (candidate == build)
                return QString::fromUtf8(row.text);
        }
    }
    return {};
}

bool is(const WindowsVersionFacts &f, std::uint32_t major, std::uint32_t minor)
{
    return f.major == major && f.minor == minor;
}

bool sameText(const QString &a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString windows95Text(const WindowsVersionFacts &f, int build)
{
    const QChar letter = f.serviceText.size() > 1 ? f.serviceText.at(1) : QChar();
    QString text;
    if (is(f, 4, 0)) {
        text = QStringLiteral("Microsoft Windows 95");
        if (build == 950 && letter == u'A')
            text += QStringLiteral(" OSR1 ");
        else
            text += byBuild(build, {{{122}, " Beta (Codename: Chicago) "},
                                    {{189}, " Beta 2 (Codename: Chicago) Sept. 1994 "},
                                    {{347}, " Beta 3 (Codename: Chicago) März 1995 "},
                                    {{480}, " Beta 4 (Codename: Chicago) Mai 1995 "},
                                    {{999}, "B Beta (Codename: Nashville) "},
                                    {{1111}, "B OSR2 "},
                                    {{1212, 1213}, "B OSR2.1 "},
                                    {{1214}, "C OSR2.5 "}});
    } else if (is(f, 4, 10)) {
        text = QStringLiteral("Microsoft Windows 98 ");
        if (letter == u'A' || letter == u'B')
            text += QStringLiteral("SE ");
        text += byBuild(build, {{{1387}, " Developer Release (Codename: Memphis) "},
                                {{1488}, " Beta 1 (Codename: Memphis) "},
                                {{1629}, " Beta 3 (Codename: Memphis) "}});
    } else if (is(f, 4, 90)) {
        text = QStringLiteral("Microsoft Windows Millennium Edition");
        text += byBuild(build, {{{2380, 2394}, " Beta 1 (Codename: Georgia) "},
                                {{2419}, " Beta 2 (Codename: Georgia) "},
                                {{2513}, " Beta 3 (Codename: Georgia) "}});
    }
    return text + QStringLiteral(" (Build: %1 )").arg(build);
}

QString ntName(const WindowsVersionFacts &f, int build)
{
    const bool workstation = f.productType == Workstation;
    if (is(f, 6, 0)) {
        if (!workstation)
            return QStringLiteral("Microsoft Windows Server (Longhorn) ");
        const QString preview = byBuild(build, {{{3683, 3706, 3718}, "Microsoft Windows M3 (Codename: Longhorn) "},
                                                {{4008, 4011}, "Microsoft Windows M4 (Codename: Longhorn) "},
                                                {{4015, 4029}, "Microsoft Windows M5 (Codename: Longhorn) "},
                                                {{4051, 4053}, "Microsoft Windows M6 (Codename: Longhorn) "},
                                                {{4074}, "Microsoft Windows WinHEC (Codename: Longhorn) "},
                                                {{5048}, "Microsoft Windows (Codename: Longhorn) "}});
        if (!preview.isEmpty())
            return preview;
        return f.wmiCaption + byBuild(build, {{{5112}, " Beta 1 (Codename: Longhorn) "},
                                              {{5384}, " Beta 2 (Codename: Longhorn) "},
                                              {{5600, 5728}, " RC 1 (Codename: Longhorn) "},
                                              {{5744}, " RC 2 (Codename: Longhorn) "},
                                              {{6000}, " RTM "}});
    }
    if (is(f, 5, 2)) {
        if (f.serverR2)
            return QStringLiteral("Microsoft Windows Server 2003 R2 ");
        if (workstation && f.architecture == X64)
            return QStringLiteral("Microsoft Windows XP Professional x64 Edition ");
        if (workstation && f.architecture == Itanium)
            return QStringLiteral("Microsoft Windows XP Professional 64-Bit Edition 2003 for Itanium");
        return QStringLiteral("Microsoft Windows Server 2003 ");
    }
    if (is(f, 5, 1))
        return QStringLiteral("Microsoft Windows XP ");
    if (is(f, 5, 0))
        return QStringLiteral("Microsoft Windows 2000 ");
    if (f.major < 5)
        return QStringLiteral("Microsoft Windows NT ");
    return {};
}

// The edition of a server, or of any system on x64, by suite.
QString serverEdition(const WindowsVersionFacts &f)
{
    if (f.productType != DomainController && f.productType != Server)
        return {};
    const bool datacenter = f.suiteMask & SuiteDatacenter;
    const bool enterprise = f.suiteMask & SuiteEnterprise;
    if (is(f, 5, 2) && f.architecture == Itanium)
        return datacenter ? QStringLiteral("Datacenter Edition for Itanium-based Systems ")
             : enterprise ? QStringLiteral("Enterprise Edition for Itanium-based Systems ")
                          : QStringLiteral("Standard Edition for Itanium-based Systems ");
    if (is(f, 5, 2) && f.architecture == X64)
        return datacenter ? QStringLiteral("Datacenter x64 Edition ")
             : enterprise ? QStringLiteral("Enterprise x64 Edition ")
                          : QStringLiteral("Standard x64 Edition");
    if (is(f, 5, 2))
        return datacenter ? QStringLiteral("Datacenter Edition ")
             : enterprise ? QStringLiteral("Enterprise Edition ")
             : f.suiteMask == SuiteWeb ? QStringLiteral("Web Edition ")
                                       : QStringLiteral("Standard Edition ");
    if (is(f, 5, 0))
        return datacenter ? QStringLiteral("Datacenter Server ")
             : enterprise ? QStringLiteral("Advanced Server ")
                          : QStringLiteral("Server ");
    return enterprise ? QStringLiteral("Server 4.0, Enterprise Edition ") : QStringLiteral("Server 4.0 ");
}

QString withMediaPlayerMark(const WindowsVersionFacts &f, const char *edition)
{
    return QString::fromUtf8(edition) + (f.mediaPlayerAbsent ? QStringLiteral("N ") : QString());
}

// Appends the edition of an XP workstation, or replaces the text for Fundamentals.
void xpEdition(const WindowsVersionFacts &f, int build, QString &text)
{
    text += byBuild(build, {{{2296}, " Beta 1 (Codename: Whistler) "},
                            {{2462, 2463}, " Beta 2 (Codename: Whistler) "},
                            {{2505}, " RC 1 (Codename: Whistler) "},
                            {{2599}, " RTM Candidate (Codename: Whistler) "}});
    if (f.mediaCenter) {
        text += QStringLiteral("Media Center Edition ");
        const double v = f.mediaCenterVersion;
        if (v >= 2 && v < 3)
            text += QStringLiteral("2004 ");
        else if (v >= 3 && v <= 4)
            text += QStringLiteral("2005 ");
    } else if (f.tabletPc) {
        text += sameText(f.serviceText, "Service Pack 2") ? QStringLiteral("Tablet PC Edition 2005 ")
                                                          : QStringLiteral("Tablet PC Edition ");
    } else if (f.starter) {
        text += QStringLiteral("Starter Edition ");
    } else if (f.fundamentalsInstalled) {
        text = QStringLiteral("Windows Fundamentals for Legacy PCs ");
    } else {
        text += withMediaPlayerMark(f, "Professional ");
    }
}

void workstationEdition(const WindowsVersionFacts &f, int build, QString &text)
{
    if (f.major == 4) {
        text += QStringLiteral("4.0 Workstation ");
    } else if (f.suiteMask & SuitePersonal) {
        text += withMediaPlayerMark(f, "Home Edition ");
    } else if (is(f, 5, 1)) {
        xpEdition(f, build, text);
    } else if (is(f, 5, 0)) {
        const QString preview = byBuild(build, {{{1663, 1671}, " Beta 1 (Codename: NT 5.0) "},
                                                {{1877}, " Beta 2 (Codename: NT 5.0) "},
                                                {{2031}, " Beta 3 (Codename: NT 5.0) "},
                                                {{2072}, " Beta für DEC-Alpha-Prozessoren (Codename: NT 5.0) "},
                                                {{2128}, " RC 2 (Codename: NT 5.0) "},
                                                {{2183}, " RC 3 (Codename: NT 5.0) "}});
        if (build == 5111)
            text = QStringLiteral("Windows Neptune ( Developers Release ) ");
        else
            text += preview.isEmpty() ? QStringLiteral("Professional ") : preview;
    }
}

QString ntText(const WindowsVersionFacts &f, int build)
{
    QString text = ntName(f, build);
    if (f.extended) {
        if (f.productType != Workstation || f.architecture == X64)
            text += serverEdition(f);
        else
            workstationEdition(f, build, text);
    } else {
        if (sameText(f.productOptions, "WINNT"))
            text += QStringLiteral("Workstation ");
        else if (sameText(f.productOptions, "LANMANNT"))
            text += QStringLiteral("Server ");
        else if (sameText(f.productOptions, "SERVERNT"))
            text += QStringLiteral("Advanced Server ");
        text += QStringLiteral("%1.%2").arg(f.major).arg(f.minor);
    }
    const qint32 wholeBuild = qint32(f.buildNumber);
    if (f.major == 4 && sameText(f.serviceText, "Service Pack 6") && f.nt4HotfixPresent)
        return text + QStringLiteral("Service Pack 6a (Build %1)").arg(wholeBuild);
    return text + QStringLiteral("%1 (Build %2)").arg(f.serviceText, QString::number(wholeBuild));
}
}

QString GetWindowsVersionText(const WindowsVersionFacts &facts)
{
    if (!facts.versionRead)
        return QStringLiteral("Fehler bei der Ermittlung der Windows-Version");
    const int build = int(facts.buildNumber & 0xFFFF);
    switch (facts.platformId) {
    case Win32s:
        return QStringLiteral("Microsoft Win32s");
    case Windows95Family:
        return windows95Text(facts, build);
    case NtFamily:
        return ntText(facts, build);
    default:
        return {};
    }
}
