#include "launcher/Workload.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct RecordingTarget : WorkloadTargetIF {
    void WriteLog(int level, const std::wstring& line) override { log.push_back({level, line}); }
    void AddPackage(PackageDescription description) override { packages.push_back(std::move(description)); }
    void SetNamedValue(const std::wstring& name, const std::wstring& value) override { named[name] = value; }

    std::vector<std::pair<int, std::wstring>> log;
    std::vector<PackageDescription> packages;
    std::map<std::wstring, std::wstring> named;
};

// A package object; extra members are spliced in as written.
std::string Package(const std::string& code, const std::string& data, const std::string& extra = "") {
    return "{\"productName\":\"Product " + code + "\",\"productCode\":\"{P-" + code +
           "}\",\"packageCode\":\"" + code +
           "\",\"productId\":\"HV::Z\",\"productPlatform\":\"x64\",\"productVersion\":\"10.1.0.1\"," +
           "\"packageData\":\"" + data + "\"" + extra + "}";
}

} // namespace

TEST(Workload, FailuresAndTheirLines) {
    ScratchFolder folder;
    folder.Write("a.cab", "MSCF");
    folder.Write("b.cab", "MSCF");
    const std::string a = folder.Path("a.cab"), b = folder.Path("b.cab");
    const std::wstring notJson = L"Workload is not a proper JSON package array object.\r\n";
    const auto notArray = [&](const std::string& name) {
        return L"Workload '" + folder.WidePath(name) + L"' is not a proper JSON package array object.\r\n";
    };
    struct Case {
        const char* name;
        std::string content;
        bool result;
        size_t packages;
        std::wstring line; // the one failure line; empty when none
    };
    const Case cases[] = {
        {"root is an array", "[" + Package("{A}", a) + "]", false, 0, notJson},
        {"not JSON", "packages: none", false, 0, notJson},
        {"empty file", "", false, 0, notJson},
        {"packages is an object", "{\"packages\":{}}", false, 0, notArray("packages is an object")},
        {"packages missing", "{\"Packages\":[]}", false, 0, notArray("packages missing")},
        {"packages empty", "{\"packages\":[]}", false, 0,
         L"Workload '" + folder.WidePath("packages empty") + L"' doesn't contain any pakages.\r\n"},
        {"element not an object", "{\"packages\":[" + Package("{A}", a) + ",\"x\"]}", false, 1, notJson},
        {"version is a number",
         "{\"packages\":[" + Package("{A}", a) +
             ",{\"productName\":\"B\",\"productCode\":\"\","
             "\"packageCode\":\"{B}\",\"productId\":\"KS::Z\",\"productPlatform\":\"x64\",\"productVersion\":"
             "3.17,"
             "\"packageData\":\"" +
             b + "\"}]}",
         false, 1, notJson},
        {"member missing", "{\"packages\":[{\"productName\":\"A\"}]}", false, 0, notJson},
        {"data file missing",
         "{\"packages\":[" + Package("{A}", folder.Path("none.cab")) + "," + Package("{B}", b) + "]}", false,
         2, L""},
        {"data is a folder", "{\"packages\":[" + Package("{A}", folder.Path("")) + "]}", false, 1, L""},
        {"data empty", "{\"packages\":[" + Package("{A}", "") + "]}", false, 1, L""},
        {"package code empty", "{\"packages\":[" + Package("{A}", a) + "," + Package("", b) + "]}", false, 1,
         L"VNT (c): Package 1 has no usable package code ''.\r\n"},
        {"package code climbs out", "{\"packages\":[" + Package("..\\\\..\\\\Windows", a) + "]}", false, 0,
         L"VNT (c): Package 0 has no usable package code '..\\\\..\\\\Windows'.\r\n"},
        {"package code with a drive", "{\"packages\":[" + Package("C:x", a) + "]}", false, 0,
         L"VNT (c): Package 0 has no usable package code 'C:x'.\r\n"},
        {"two good packages", "{\"packages\":[" + Package("{A}", a) + "," + Package("{B}", b) + ",]}", true,
         2, L""},
    };
    for (const auto& c : cases) {
        folder.Write(c.name, c.content);
        RecordingTarget target;
        EXPECT_EQ(c.result, ReadWorkload(folder.WidePath(c.name), target)) << c.name;
        EXPECT_EQ(c.packages, target.packages.size()) << c.name;
        if (c.line.empty()) {
            EXPECT_TRUE(target.log.empty()) << c.name;
        } else {
            ASSERT_EQ(1u, target.log.size()) << c.name;
            EXPECT_EQ(1, target.log[0].first) << c.name;
            EXPECT_EQ(c.line, target.log[0].second) << c.name;
        }
    }
}

TEST(Workload, MissingFileAndEmptyOption) {
    ScratchFolder folder;
    RecordingTarget none;
    EXPECT_TRUE(ReadWorkload(L"", none));
    EXPECT_TRUE(none.log.empty() && none.packages.empty());

    RecordingTarget missing;
    EXPECT_FALSE(ReadWorkload(folder.WidePath("gone.json"), missing));
    ASSERT_EQ(1u, missing.log.size());
    EXPECT_EQ(L"Workload file '" + folder.WidePath("gone.json") + L"' does not exist.\r\n",
              missing.log[0].second);
}

TEST(Workload, PackageFields) {
    ScratchFolder folder;
    folder.Write("main.cab", "MSCF");
    folder.Write("tax.dat", "x");
    // Lines are joined without their line ends, so a member may even be split across lines.
    const std::string content =
        "{\"packages\":[\r\n" +
        Package("{A}", folder.Path("main.cab"), ",\"EVERGREEN_DOWNLOADER\":\"first.exe\"") +
        ",\n{\"productName\":\"Quenlis Kestrum 3.17 (x64)\",\"productCode\":\"{K}\",\"packageCode\":\"{B}\","
        "\"productId\":\"KS::Z\",\"productPlatform\":\"X64\",\"productVersion\":\"3.17\",\"installerType\":"
        "\"taxo\n"
        "nomy\",\"packageData\":\"" +
        folder.Path("tax.dat") +
        "\",\"packageLangDataPattern\":\"tax_%s.mst\",\"EVERGREEN_DOWNLOADER\":\"second.exe\",\"other\":[1,{}"
        "]}\n"
        "], \"ignored\": true}\n";
    folder.Write("w.json", content);
    RecordingTarget target;
    ASSERT_TRUE(ReadWorkload(folder.WidePath("w.json"), target));
    ASSERT_EQ(2u, target.packages.size());
    const PackageDescription& main = target.packages[0];
    EXPECT_TRUE(main.main);
    EXPECT_EQ(L"Product {A}", main.productName);
    EXPECT_EQ(L"{P-{A}}", main.productCode);
    EXPECT_EQ(L"{A}", main.packageCode);
    EXPECT_EQ(L"HV::Z", main.productId);
    EXPECT_TRUE(main.is64Bit);
    EXPECT_EQ(L"10.1.0.1", main.version);
    EXPECT_EQ(L"msi", main.installerType);
    EXPECT_EQ(folder.WidePath("main.cab"), main.packageData);
    EXPECT_EQ(L"", main.languageDataPattern);

    const PackageDescription& sub = target.packages[1];
    EXPECT_FALSE(sub.main);
    EXPECT_FALSE(sub.is64Bit); // "X64" is not "x64"
    EXPECT_EQ(L"taxonomy", sub.installerType);
    EXPECT_EQ(L"tax_%s.mst", sub.languageDataPattern);
    EXPECT_EQ(L"second.exe", target.named.at(L"EVERGREEN_DOWNLOADER")); // the later package wins
    EXPECT_TRUE(target.log.empty());
}
