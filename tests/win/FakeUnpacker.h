// A stand-in for the package unpacking in the wizard tests. It writes no file but walks its list as the
// real unpacking does: the cancel flag polled between packages, a status text per package, the bar's
// bytes, the outcome. It can hold its first package until the test lets it go, and fail with a given
// result code. The test host owns it and the packages and choices it works on.
#pragma once

#include "launcher/SetupResult.h"
#include "support/Format.h"
#include "wizard/ExtractionProgressHandler_win.h"
#include "wizard/UnpackerIF.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class FakeUnpacker : public UnpackerIF {
public:
    FakeUnpacker(PackageList& packages, const SetupChoices& choices)
        : packages_(packages), choices_(choices) {}

    std::vector<UnpackEntry> BuildUnpackList(bool repair) override {
        ++lists;
        std::vector<UnpackEntry> list;
        for (size_t index : PackagesToUnpack(packages_, choices_, repair))
            list.push_back({&packages_.At(index), packageSize});
        return list;
    }

    SetupResult UnpackPackages(const std::vector<UnpackEntry>& list, ExtractionProgressHandler& receiver,
                               const UnpackRequest& request) override {
        ++passes;
        installsOrModifies = request.installsOrModifies;
        const auto cancelled = [&] { return request.cancel && request.cancel->load(); };
        if (cancelled())
            return SetupResult::Code(ResultCode::InstallFailed);
        uint64_t total = 0;
        for (const UnpackEntry& entry : list)
            total += entry.size;
        receiver.SetTotalBytes(total);
        uint64_t done = 0;
        size_t position = 0;
        for (const UnpackEntry& entry : list) {
            receiver.SetBytesDoneBefore(done);
            done += entry.size;
            if (cancelled())
                return SetupResult::Code(ResultCode::UserCancelled);
            if (request.showStatus)
                request.showStatus(position < statusTexts.size() ? statusTexts[position]
                                                                 : Format(L"Reading contents of package %s",
                                                                          entry.package->PackageData()));
            ++position;
            holding = hold.load();
            for (int waited = 0; hold && !cancelled() && waited < kHoldLimitMs; waited += 10)
                Sleep(10);
            holding = false;
            receiver.ReportBytes(static_cast<uint32_t>(entry.size));
            if (failWith != 0)
                return SetupResult::Code(failWith);
            entry.package->SetInstallerDatabase(L"C:\\unpacked\\" + entry.package->PackageCode() + L".msi");
            ++unpacked;
        }
        return SetupResult::Code(cancelled() ? ResultCode::UserCancelled : ResultCode::Success);
    }

    uint64_t packageSize = 1'000'000;
    // The status text of each package by its place in the list; past its end the usual line.
    std::vector<std::wstring> statusTexts;
    int32_t failWith = 0;             // the result of the first package; 0: every package succeeds
    std::atomic<bool> hold{false};    // the first package waits until this is cleared (or cancelled)
    std::atomic<bool> holding{false}; // the worker is waiting in a package now
    std::atomic<int> lists{0}, passes{0}, unpacked{0};
    std::atomic<bool> installsOrModifies{false};

private:
    static constexpr int kHoldLimitMs = 20'000;

    PackageList& packages_;
    const SetupChoices& choices_;
};
