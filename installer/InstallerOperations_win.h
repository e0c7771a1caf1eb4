// One package's operations against Windows Installer: the user-interface level set before each, the
// command line's transforms applied to each package database once, the log lent to the installer for the
// operation, the external handler that answers the packages' user messages in a message box, and the
// restart codes read as success. Borrows the log; owns the list of databases it has transformed.
#pragma once

#include "launcher/LogSink.h"
#include "launcher/PackageInfo.h"

#include <cstdint>
#include <set>
#include <string>

class InstallerOperations {
public:
    // messageTitle: the title of the message boxes that carry the packages' user messages.
    InstallerOperations(LogSinkIF& log, int32_t uiLevel, uint32_t reinstallMode,
                        std::wstring commandLineTransforms, std::wstring messageTitle);

    // MsiInstallProductW on the package's database with the whole property string; the installer error,
    // a restart counted as success (0).
    int32_t RunInstaller(const PackageInfo& package, const std::wstring& properties);
    // MsiReinstallProductW with the reinstall mode; 1603 without a product code.
    int32_t ReinstallProduct(const PackageInfo& package);
    // The package's database is new (unpacked again): the command line's transforms apply to it again.
    void ForgetTransforms(const std::wstring& database) { transformed_.erase(database); }

private:
    void ApplyCommandLineTransforms(const PackageInfo& package);
    int32_t CountRestartAsSuccess(uint32_t error);

    LogSinkIF& log_;
    int32_t uiLevel_;
    uint32_t reinstallMode_;
    std::wstring transforms_;
    std::wstring messageTitle_;
    std::set<std::wstring> transformed_; // databases that have the command line's transforms
};

// The external user-interface handler: a user message (top byte 3) goes to a message box with the buttons,
// icon and default button of its type, whose answer goes back; any other kind returns 0, so that Windows
// Installer's own interface handles it. `context` is the box's title (a wide string).
int __stdcall InstallerMessageHandler(void* context, unsigned int messageType, const wchar_t* message);
