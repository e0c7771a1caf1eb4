// The machine as the server configuration sees it: registered services, the data and program folders,
// files, and texts in the current language. The data folder is asked for once and kept.
#pragma once

#include "server/ServerConfigurationList.h"

#include <functional>
#include <optional>

class WindowsServerFacts : public ServerFactsIF {
public:
    explicit WindowsServerFacts(std::function<std::wstring(unsigned)> loadString)
        : loadString_(std::move(loadString)) {}

    std::optional<ServiceFacts> QueryService(const std::wstring& serviceName) override;
    std::wstring DataFolder() override;
    std::wstring ProgramFolder() override;
    bool Exists(const std::wstring& path) override;
    std::wstring LoadString(unsigned id) override { return loadString_(id); }

private:
    std::function<std::wstring(unsigned)> loadString_;
    std::optional<std::wstring> dataFolder_;
};
