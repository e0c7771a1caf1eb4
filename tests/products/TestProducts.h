// The test product line as the tests see it: the facts each product's WiX source and the bundle
// descriptions in tests/bundles state, and where the build leaves the databases, transforms and test
// launchers (beside the test programs). Keep it in step with tests/products/*.wxs.
#pragma once

namespace TestProducts {

struct Product {
    const wchar_t* stem; // <stem>.msi and <stem>_<language id>.mst in the products folder
    const wchar_t* productName;
    const wchar_t* productCode;
    const wchar_t* packageCode;
    const wchar_t* productId;       // the database's ProductID
    const wchar_t* versionString;   // the database's ProductVersion
    const wchar_t* registrationKey; // below HKLM, 64-bit view
    // What the properties that ask a product for a test's needs name it by: FAIL_PACKAGE=<failName>
    // fails every operation (1603), FAIL_REMOVAL=<failName> only the removal (1603, nothing changed);
    // ASK_USER=<failName> makes the first installation ask a yes/no user message and register the
    // answer (IDYES, IDNO... as a number) as UserAnswer under registrationKey, Cancel ending it with 1602;
    // ASK_RESTART=<failName> makes any operation end with 3010.
    const wchar_t* failName;
};

inline constexpr Product kHalvora101 = {L"HalvoraServer101",
                                        L"Quenlis Halvora Server 10.1 (x64)",
                                        L"{1EA0D64A-7B20-4179-9BF7-2A9FD31AE894}",
                                        L"{FAE51685-E619-46CC-BB33-96FFA60CBD6C}",
                                        L"HV::Z",
                                        L"10.1.0.1",
                                        L"SOFTWARE\\Quenlis\\HalvoraServer\\Installation_v10_x64\\Setup",
                                        L"HalvoraServer"};
inline constexpr Product kHalvora100 = {L"HalvoraServer100",
                                        L"Quenlis Halvora Server 10.0 (x64)",
                                        L"{1BEEFFBE-965A-419D-BD41-0BBAB6A8A7C3}",
                                        L"{28342CFC-E379-4578-A385-74021CE44A7E}",
                                        L"HV::Z",
                                        L"10.0.0.4",
                                        L"SOFTWARE\\Quenlis\\HalvoraServer\\Installation_v10_x64\\Setup",
                                        L"HalvoraServer"};
inline constexpr Product kKestrum317 = {L"Kestrum317",
                                        L"Quenlis Kestrum 3.17 (x64)",
                                        L"{46BC85D8-173B-42A3-B70E-87E7DFA1E4B9}",
                                        L"{F715BFB7-8D6E-4CB4-8DB2-7519907E260C}",
                                        L"KS::Z",
                                        L"3.17",
                                        L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v3_x64\\Setup",
                                        L"Kestrum"};
inline constexpr Product kKestrum312 = {L"Kestrum312",
                                        L"Quenlis Kestrum 3.12 (x64)",
                                        L"{A190BB10-3DB1-4597-9520-55DD62C8FD46}",
                                        L"{4B917F27-DF18-4993-A082-A59044A9B23A}",
                                        L"KS::N",
                                        L"3.12",
                                        L"SOFTWARE\\Quenlis\\Kestrum\\Installation_v3_x64\\Setup",
                                        L"Kestrum"};
inline constexpr Product kZorvex2024 = {L"ZorvexXMLServer2024",
                                        L"Quenlis ZorvexXML Server 2024 rel. 1 (x64)",
                                        L"{E6C9E8BF-B8A4-4362-90B6-2A90F5946064}",
                                        L"{783F6E34-B8AA-4FBC-B6DC-653BC8C90ABC}",
                                        L"ZV::M",
                                        L"2024.01.00",
                                        L"SOFTWARE\\Quenlis\\ZorvexXMLServer\\Installation_v2024_x64\\Setup",
                                        L"ZorvexXMLServer"};
inline constexpr Product kPennix2024 = {L"PennixServer2024",
                                        L"Quenlis Pennix Server 2024 (x64)",
                                        L"{8F9D869F-CFDD-44D7-8E33-7A955FEB155D}",
                                        L"{FC1EE6E9-7F10-4E98-80E0-9734BD447999}",
                                        L"PN::Z",
                                        L"2024.01.00",
                                        L"SOFTWARE\\Quenlis\\PennixServer\\Installation_v2024_x64\\Setup",
                                        L"PennixServer"};

// The folder of the databases and transforms, relative to the test programs' folder.
inline constexpr const wchar_t* kProductsFolder = L"products";

// Test launchers beside the test programs, from tests/bundles.
inline constexpr const wchar_t* kDemoLauncher =
    L"QuenlisDemoSetup.exe"; // main, companion, ZorvexXML; 5 languages
inline constexpr const wchar_t* kTwoPackagesLauncher =
    L"TestTwoPackages.exe"; // main and companion; 5 languages
inline constexpr const wchar_t* kMissingTransformLauncher =
    L"TestMissingTransform.exe";                                               // demo without PACKAGE_0_2052
inline constexpr const wchar_t* kGermanOnlyLauncher = L"TestGermanOnly.exe";   // main only, "OS" in German
inline constexpr const wchar_t* kOldProductsLauncher = L"TestOldProducts.exe"; // Halvora 10.0, Kestrum 3.12
inline constexpr const wchar_t* kMissingPackageCodeLauncher =
    L"TestMissingPackageCode.exe";                                           // companion lacks it
inline constexpr const wchar_t* kCapitalX64Launcher = L"TestCapitalX64.exe"; // platform written "X64"
inline constexpr const wchar_t* kUnsafePackageCodeLauncher =
    L"TestUnsafePackageCode.exe"; // package code "..\.."
inline constexpr const wchar_t* kFullLineLauncher =
    L"TestFullLine.exe"; // main, companion, ZorvexXML, Pennix; 5 languages

} // namespace TestProducts
