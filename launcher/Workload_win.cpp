// The workload branch of the package list: the portable workload reader, connected to the application's
// log, package list and named values.
#include "launcher/SetupApp_win.h"
#include "launcher/Workload.h"

bool CSetupApp::LoadWorkloadPackages() {
    class Target : public WorkloadTargetIF {
    public:
        explicit Target(CSetupApp& app) : app_(app) {}
        // The line is data: a path holding "%" must not act as a placeholder.
        void WriteLog(int level, const std::wstring& line) override { app_.WriteLog(level, L"%s", line); }
        void AddPackage(PackageDescription description) override { app_.AddPackage(std::move(description)); }
        void SetNamedValue(const std::wstring& name, const std::wstring& value) override {
            app_.SetNamedValue(name, value);
        }

    private:
        CSetupApp& app_;
    };
    Target target(*this);
    return ReadWorkload(commandLine_.workload, target);
}
