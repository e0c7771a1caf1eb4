// The run's packages in manifest (or workload) order, the first one the main package. Built once by the
// package-list builder; afterwards the wizard's pages only read it, and the unpacking alone records the
// files it made through At().
#pragma once

#include "launcher/PackageInfo.h"

#include <deque>

class PackageList {
public:
    // Appends the record and gives it its index.
    void Add(PackageInfo package) {
        package.SetIndex(packages_.size());
        packages_.push_back(std::move(package));
    }
    void Clear() { packages_.clear(); }

    size_t size() const { return packages_.size(); }
    bool empty() const { return packages_.empty(); }
    const PackageInfo& operator[](size_t index) const { return packages_[index]; }
    PackageInfo& At(size_t index) { return packages_[index]; }
    // The main package, or null for an empty list.
    const PackageInfo* Main() const { return packages_.empty() ? nullptr : &packages_.front(); }

    std::deque<PackageInfo>::const_iterator begin() const { return packages_.begin(); }
    std::deque<PackageInfo>::const_iterator end() const { return packages_.end(); }

private:
    std::deque<PackageInfo> packages_; // a record stays where it is while others are added
};
