// What the run was told to do beyond the package list, in one place: which packages take part (the default
// selection, then subPackages= and the user's ticks), the installed products a quick install replaces,
// and the property strings the wizard's pages compose for the installer. The application owns it; pages
// read and write it through their frame.
#pragma once

#include "launcher/PackageInfo.h"
#include "launcher/ProductRecord.h"

#include <string>
#include <vector>

class SetupChoices {
public:
    // Whether the package takes part; a package never selected does not.
    bool Selected(const PackageInfo& package) const { return Selected(package.Index()); }
    bool Selected(size_t index) const { return index < selected_.size() && selected_[index]; }
    void Select(const PackageInfo& package, bool selected) { Select(package.Index(), selected); }
    void Select(size_t index, bool selected) {
        if (index >= selected_.size())
            selected_.resize(index + 1, false);
        selected_[index] = selected;
    }

    // The installed products a quick install replaces (filled by the welcome page); a non-empty list makes
    // every later page without work of its own pass on.
    std::vector<ProductRecord> quickInstallList;
    // The backup options, service configuration and workflow options strings the install appends.
    std::wstring backupOptions, serviceConfiguration, workflowOptions;

private:
    std::vector<bool> selected_;
};
