// Builds the run's package list once, into the setup context: the packages described by the launcher's
// manifest (or, without one, by the workload file), each resolved against the catalog, its installed
// state detected, its folder and any database an earlier run unpacked found, and its default selection
// made; in the setup mode the subPackages= option then changes the selection. Nothing else writes the
// list; the selection is the context's choices from then on.
#pragma once

#include "launcher/ManifestResources_win.h"
#include "launcher/SetupContext.h"
#include "launcher/Workload.h"

class PackageListBuilder : private WorkloadTargetIF {
public:
    explicit PackageListBuilder(SetupContext& context) : context_(context) {}

    // The list from the manifest, else from the workload. False: the list cannot be used.
    bool Build(const ManifestResources& manifest);
    // The selection of the subPackages= option, with its log lines.
    void ApplySubPackageSelection();

private:
    // Builds a record (installed state, default selection, package folder, a database found again) and
    // appends it. Refuses a package code that is no plain folder name.
    bool Add(PackageDescription description);

    // WorkloadTargetIF
    void WriteLog(int level, const std::wstring& line) override { context_.log.WriteLine(level, line); }
    void AddPackage(PackageDescription description) override { Add(std::move(description)); }
    void SetNamedValue(const std::wstring& name, const std::wstring& value) override {
        context_.namedValues[name] = value;
    }

    SetupContext& context_;
};
