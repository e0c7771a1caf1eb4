// Names of Windows versions and the decision whether the running Windows meets the minimum that a
// launcher's "OS" manifest text asks for. The Windows layer queries the facts and hands them in; the
// naming, the parsing of the "OS" text, the comparison and the log lines are decided here.
#pragma once

#include "StringIds.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// A Windows version as the version query reports it (service pack and build as 16-bit values there).
struct WindowsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t servicePackMajor = 0;
    uint32_t servicePackMinor = 0;
    uint32_t build = 0;
};

namespace WindowsProductType {
constexpr uint8_t Workstation = 1; // VER_NT_WORKSTATION; domain controllers and servers are 2 and 3
}

namespace WindowsSuite {
constexpr uint16_t StorageServer = 0x2000;
constexpr uint16_t HomeServer = 0x8000;
} // namespace WindowsSuite

namespace ProcessorArchitecture {
constexpr uint16_t IA64 = 6;
constexpr uint16_t AMD64 = 9;
constexpr uint16_t ARM64 = 12;
} // namespace ProcessorArchitecture

// Facts of the running machine, not of a version, that some names depend on.
struct MachineFacts {
    bool isServer2003R2 = false; // the system metric SM_SERVERR2 (89) is non-zero
    uint16_t nativeArchitecture = 0;
};

bool Is64BitArchitecture(uint16_t nativeArchitecture);

// "Windows 7", "Windows Server 2008 R2", "Windows 10.0.19045", "Windows 6.3", each followed by
// " ServicePack <major>[.<minor>]" when a service pack is installed.
std::wstring SystemName(const WindowsVersion& version, uint8_t productType, uint16_t suiteMask,
                        const MachineFacts& machine);

// The "OS" text: a minimum version "major.minor.spMajor.spMinor" (missing or non-numeric pieces read
// as 0), optionally followed by "/" and a restriction word.
struct OsRequirement {
    WindowsVersion minimum;
    std::wstring restriction;
};
OsRequirement ParseOsRequirement(std::wstring_view osText);

// The welcome text chosen by the minimum version; empty keeps the default text.
std::optional<int> IntroductionTextIdFor(const WindowsVersion& minimum);

struct OsFacts {
    WindowsVersion detected; // all zero when the version query failed
    uint8_t productType = WindowsProductType::Workstation;
    uint16_t suiteMask = 0;
    MachineFacts machine;
};

struct OsCheckOutcome {
    bool passed = false;
    std::wstring detectedName;
    std::wstring requiredName;
    std::optional<int> introductionTextId; // empty: keep the current one
};

// Decides the check and writes its log lines, in order, through log(level, line).
OsCheckOutcome DecideOperatingSystem(const OsFacts& facts, std::wstring_view osText,
                                     const std::function<void(int level, const std::wstring& line)>& log);

// What the run keeps of the operating-system check.
struct SystemFacts {
    WindowsVersion version;
    bool is64Bit = false;
    std::wstring detectedName, requiredName;
    // The fresh-install greeting chosen by the minimum Windows version.
    unsigned introductionStringId = StringId::InstallIntroduction;
};
