// CSetupApp: the launcher's one application object. It owns the setup log and the setup context (all the
// run shares) for the whole process, chooses the run mode by the fixed table of checks and runs it;
// ExitInstance cleans up and returns the exit code. Nothing below this folder knows it.
#pragma once

#include "launcher/SetupContext.h"
#include "launcher/SetupLogFile_win.h"
#include "launcher/StringTable_win.h"
#include "launcher/UsageTable.h"
#include "support/Handle_win.h"

#include <string>

class CSetupApp {
public:
    // Parses the process command line (the whole text, program name first), opens the log and writes
    // the start line.
    explicit CSetupApp(const std::wstring& processCommandLine);
    CSetupApp(const CSetupApp&) = delete;
    CSetupApp& operator=(const CSetupApp&) = delete;
    ~CSetupApp();

    // Runs the chosen mode to its end. False: do not run a message loop, go to ExitInstance.
    bool InitInstance();
    // Clean-up; returns the result code, which becomes the process exit code.
    int ExitInstance();

private:
    static bool HasMessageQueue();
    void RunValidation();
    void RunUsage();
    // False when the run stopped at once (nothing is reported then).
    bool RunExtractAll();
    void RunSetup();

    SetupLogWriter log_;
    SetupContext context_{log_, ResourceStringSource()};
    std::wstring rawArguments_;
    UsageTable usage_;                 // built once the start language is chosen
    KernelHandle singleInstanceMutex_; // held until the process ends
    bool initialisationFinished_ = false;
};
