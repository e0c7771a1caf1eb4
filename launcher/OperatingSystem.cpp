#include "launcher/OperatingSystem.h"

#include "StringIds.h"
#include "launcher/SetupLog.h"
#include "support/Format.h"

#include <limits>

namespace {

// Manifests of older product lines name their minimum by these words instead of a number.
constexpr std::wstring_view kOsWordNT = L"WinNT";
constexpr std::wstring_view kOsVersionNT = L"4.0";
constexpr std::wstring_view kOsWordXP = L"WinXP";
constexpr std::wstring_view kOsVersionXP = L"5.1.2";
// The one restriction word the launcher knows; it is accepted and changes nothing.
constexpr std::wstring_view kRestrictionWorkstationOnly = L"WSOnly";

// Leading decimal digits after optional white space; a piece that does not start with a number is 0,
// and a number too large for the field stays at its largest value instead of wrapping around.
uint32_t ReadVersionNumber(std::wstring_view piece) {
    size_t i = 0;
    while (i < piece.size() && (piece[i] == L' ' || piece[i] == L'\t'))
        ++i;
    if (i < piece.size() && piece[i] == L'+')
        ++i;
    uint64_t value = 0;
    for (; i < piece.size() && piece[i] >= L'0' && piece[i] <= L'9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(piece[i] - L'0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(value);
}

std::wstring BaseName(const WindowsVersion& v, uint8_t productType, uint16_t suiteMask,
                      const MachineFacts& machine) {
    const bool workstation = productType == WindowsProductType::Workstation;
    switch (static_cast<uint64_t>(v.major) * 10 + v.minor) {
    case 50:
        return L"Windows 2000";
    case 51:
        return L"Windows XP";
    case 52:
        if (machine.isServer2003R2)
            return L"Windows Server 2003 R2";
        if (suiteMask & WindowsSuite::StorageServer)
            return L"Windows Storage Server 2003";
        if (suiteMask & WindowsSuite::HomeServer)
            return L"Windows Home Server";
        if (workstation && machine.nativeArchitecture == ProcessorArchitecture::AMD64)
            return L"Windows XP Professional x64 Edition";
        return L"Windows Server 2003";
    case 60:
        return workstation ? L"Windows Vista" : L"Windows Server 2008";
    case 61:
        return workstation ? L"Windows 7" : L"Windows Server 2008 R2";
    case 62:
        return workstation ? L"Windows 8" : L"Windows Server 2012";
    case 100:
        return Format(L"Windows %d.%d.%d", v.major, v.minor, v.build);
    default:
        return Format(L"Windows %d.%d", v.major, v.minor);
    }
}

} // namespace

bool Is64BitArchitecture(uint16_t nativeArchitecture) {
    return nativeArchitecture == ProcessorArchitecture::AMD64 ||
           nativeArchitecture == ProcessorArchitecture::ARM64 ||
           nativeArchitecture == ProcessorArchitecture::IA64;
}

std::wstring SystemName(const WindowsVersion& version, uint8_t productType, uint16_t suiteMask,
                        const MachineFacts& machine) {
    std::wstring name = BaseName(version, productType, suiteMask, machine);
    if (version.servicePackMajor != 0) {
        name += Format(L" ServicePack %d", version.servicePackMajor);
        if (version.servicePackMinor != 0)
            name += Format(L".%d", version.servicePackMinor);
    }
    return name;
}

OsRequirement ParseOsRequirement(std::wstring_view osText) {
    if (osText == kOsWordNT)
        osText = kOsVersionNT;
    else if (osText == kOsWordXP)
        osText = kOsVersionXP;

    OsRequirement requirement;
    const size_t slash = osText.find(L'/');
    const std::wstring_view versionPart = osText.substr(0, slash);
    if (slash != std::wstring_view::npos)
        requirement.restriction = std::wstring(osText.substr(slash + 1));

    uint32_t* const fields[] = {&requirement.minimum.major, &requirement.minimum.minor,
                                &requirement.minimum.servicePackMajor, &requirement.minimum.servicePackMinor};
    size_t start = 0;
    for (uint32_t* field : fields) {
        if (start > versionPart.size())
            break;
        const size_t dot = versionPart.find(L'.', start);
        const size_t end = dot == std::wstring_view::npos ? versionPart.size() : dot;
        *field = ReadVersionNumber(versionPart.substr(start, end - start));
        start = end + 1;
    }
    return requirement;
}

std::optional<int> IntroductionTextIdFor(const WindowsVersion& minimum) {
    struct Row {
        uint32_t major, minor;
        std::optional<uint32_t> third; // empty: any
        unsigned textId;
    };
    static constexpr Row kRows[] = {
        {5, 1, 3, StringId::IntroductionFromXpSp3},     {6, 0, std::nullopt, StringId::IntroductionFromVista},
        {6, 1, 0, StringId::IntroductionFromWindows7},  {6, 1, 1, StringId::IntroductionFromWindows7Sp1},
        {6, 2, 0, StringId::IntroductionFromWindows10},
    };
    for (const Row& row : kRows) {
        if (row.major == minimum.major && row.minor == minimum.minor &&
            (!row.third || *row.third == minimum.servicePackMajor))
            return row.textId;
    }
    return std::nullopt;
}

OsCheckOutcome DecideOperatingSystem(const OsFacts& facts, std::wstring_view osText,
                                     const std::function<void(int level, const std::wstring& line)>& log) {
    OsCheckOutcome outcome;
    log(kLogLevelProgress, L"VNT (c): Determining OS version\r\n");
    outcome.detectedName = SystemName(facts.detected, facts.productType, facts.suiteMask, facts.machine);
    log(kLogLevelProgress, Format(L"VNT (c): found %s\r\n", outcome.detectedName));

    const OsRequirement requirement = ParseOsRequirement(osText);
    WindowsVersion required = requirement.minimum;
    required.build = 0;
    outcome.requiredName = SystemName(required, WindowsProductType::Workstation, 0, facts.machine);
    log(kLogLevelProgress,
        Format(L"VNT (c): Expect at least %s %s\r\n", outcome.requiredName, requirement.restriction));

    if (required.major == 0) {
        log(kLogLevelOperation, L"VNT (c): Not checking OS version since no minimum version specified.\r\n");
        outcome.passed = true;
        return outcome;
    }

    outcome.introductionTextId = IntroductionTextIdFor(required);
    if (!outcome.introductionTextId)
        log(kLogLevelProgress, L"VNT (c): Default text for supported OSes used.\r\n");

    log(kLogLevelProgress, L"VNT (c): Checking OS version\r\n");
    // The service-pack minor and the build are deliberately not compared: a minimum names a service
    // pack, and every build of a service pack is meant to qualify.
    const WindowsVersion& detected = facts.detected;
    if (detected.major != required.major) {
        if (detected.major < required.major)
            return outcome;
    } else if (detected.minor != required.minor) {
        if (detected.minor < required.minor)
            return outcome;
    } else if (detected.servicePackMajor < required.servicePackMajor) {
        return outcome;
    }

    if (!requirement.restriction.empty() && requirement.restriction != kRestrictionWorkstationOnly)
        log(kLogLevelOperation, L"VNT (c): Unsupported OS restriction selection!\r\n");
    log(kLogLevelProgress, L"VNT (c): OS version found to be correct.\r\n");
    outcome.passed = true;
    return outcome;
}
