#include "launcher/SetupMode.h"

namespace {
constexpr int32_t kUiLevelFullBits = 5;
constexpr int32_t kUiLevelMask = 0x0F;
} // namespace

bool IsFullUserInterface(int32_t uiLevel) {
    return (uiLevel & kUiLevelFullBits) == kUiLevelFullBits;
}

bool SetupMode::IsFullUserInterface() const {
    return ::IsFullUserInterface(uiLevel);
}

int32_t RemovalUiLevel(int32_t launcherUiLevel) {
    return (launcherUiLevel & kUiLevelMask) == UiLevel::None ? UiLevel::None : UiLevel::Basic;
}

SetupMode ModeOf(const CSetupAppCommandLineInfo& commandLine) {
    SetupMode mode;
    mode.uninstallRequested = commandLine.uninstall;
    mode.repairRequested = commandLine.repair;
    mode.uiLevel = commandLine.uiLevel;
    mode.extract = commandLine.extract;
    mode.oemMode = commandLine.oemMode;
    return mode;
}
