// The built-in product catalog: the server product families and their editions, read-only tables
// compiled into the program, and beside them what rules elsewhere know of the maker's product lines. Rows
// of the maker's desktop products are not carried, so lookups of their keys find nothing; the few desktop
// facts that rules need are named here as constants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Bits of ProductEdition::serverInterfaces: the server interfaces an installation of the edition brings,
// whose public properties the command-line help lists.
enum ServerInterface : unsigned {
    kCompanionInterface = 1u << 0,
    kZorvexXmlInterface = 1u << 1,
    kMuntacInterface = 1u << 2,
    kZorvexXbrlInterface = 1u << 3,
    kHalvoraAdminInterface = 1u << 4,
};

// Bits of ProductEdition::followUpTools: the tools the finish page offers once the edition is installed.
enum FollowUpTool : unsigned {
    kTaxonomyTool = 1u << 0,
    kSchemaTool = 1u << 1,
    kWorkflowSetupTool = 1u << 2,
};

// Where an edition installs when the user changes nothing, below "<program files>\Quenlis".
struct InstallFolder {
    std::wstring_view name;   // empty: the family's registry name
    bool carriesMajor = true; // the major version follows the name
    int sameAsKey = 0;        // not 0: installs where the editions with this key do, carried or not
};

struct ProductFamily {
    int index;
    std::wstring_view registryName;
    std::wstring_view lowerCaseName;
    std::wstring_view displayName;
};

struct ProductEdition {
    int key;
    std::wstring_view code;
    std::wstring_view edition;
    std::wstring_view fullName;
    std::wstring_view editionName;
    std::wstring_view registryName;
    int familyIndex;
    // Rows the catalog does not carry, made by callers, may leave these out.
    unsigned serverInterfaces = 0; // ServerInterface bits
    unsigned followUpTools = 0;    // FollowUpTool bits
    InstallFolder installFolder = {};

    // The family this edition belongs to; none when the family table has no such row.
    const ProductFamily* Family() const;
};

// How a product line numbers and registers its versions, by code. Lines without a row number their
// majors by year and register per major only.
struct VersionLine {
    std::wstring_view code;
    int32_t lowestMajor;  // no registration of the line lies below this major
    int32_t highestMinor; // registers per minor too, from this minor down to 0; -1: per major only
    // For a line registered per minor: above this major the default installation folder carries the
    // minor after the major.
    int32_t lastMajorWithoutMinorFolder;
};

namespace ProductCatalog {

// A product identifier, "<code>::<edition>", made at compile time from names below; without an edition,
// the beginning every identifier of the code shares. Rules that compare identifier texts use these.
class ProductId {
public:
    consteval explicit ProductId(std::wstring_view code, std::wstring_view edition = {}) {
        Append(code);
        Append(L"::");
        Append(edition);
    }
    constexpr std::wstring_view View() const { return {text_, size_}; }
    constexpr operator std::wstring_view() const { return View(); }

private:
    consteval void Append(std::wstring_view part) {
        for (wchar_t c : part)
            text_[size_++] = c; // a code too long for the room does not compile
    }

    wchar_t text_[24] = {};
    size_t size_ = 0;
};

// Every full name but the taxonomies' begins with the maker.
inline constexpr std::wstring_view kMakerPrefix = L"Quenlis ";

// The main server line. Its settings survive major upgrades.
inline constexpr int kMainServerFamily = 16;
inline constexpr std::wstring_view kMainServerCode = L"HV";
// The companion server, which the other servers' packages may carry; rules recognise its packages by the
// beginning of the identifier.
inline constexpr int kCompanionServerFamily = 18;
inline constexpr std::wstring_view kCompanionServerCode = L"KS";
inline constexpr std::wstring_view kCompanionOfflineEdition = L"F";
// The workflow server's advanced edition, which the wizard looks for among the packages.
inline constexpr int kWorkflowServerAdvancedKey = 42;

// Desktop lines, whose rows are not carried.
inline constexpr int kDesignerFamily = 9;
inline constexpr std::wstring_view kSuiteCode = L"PL";
inline constexpr std::wstring_view kSuiteName = L"Pallodar";
// A desktop line the suite installs: an installation of it made by the suite stands for the suite's
// edition kSuiteMemberEdition. Its older versions register the standard edition as "Z" although packages
// name it "S".
inline constexpr std::wstring_view kSuiteMemberCode = L"LF";
inline constexpr std::wstring_view kSuiteMemberEdition = L"E";
inline constexpr std::wstring_view kSuiteMemberPackagedStandard = L"S";
inline constexpr std::wstring_view kSuiteMemberRegisteredStandard = L"Z";
// The desktop lines whose user interface needs the WebView2 runtime.
inline constexpr std::wstring_view kWebView2ProductCodes[] = {L"QF", L"VK", L"TM", L"PK", L"CB"};

// The first major of the year-numbered lines.
inline constexpr int32_t kYearNumberedLowestMajor = 2018;

std::span<const ProductFamily> Families();
std::span<const ProductEdition> Editions();

const ProductFamily* FindFamily(int index);
// The first row with the key (keys repeat: the taxonomy row shares one).
const ProductEdition* FindByKey(int key);
// The last row, in table order, whose code and edition equal the given ones (letter case counts).
const ProductEdition* Find(std::wstring_view code, std::wstring_view edition);
// The line with the code, letter case not counting; none for a year-numbered line.
const VersionLine* FindVersionLine(std::wstring_view code);

// The full names of the editions that carry the interface, each once, in table order.
std::vector<std::wstring_view> FullNamesCarrying(ServerInterface serverInterface);
// The names, without the maker, of the editions that offer the tool, each once, in table order.
std::vector<std::wstring_view> NamesOffering(FollowUpTool tool);

} // namespace ProductCatalog
