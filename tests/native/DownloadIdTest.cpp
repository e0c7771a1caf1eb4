#include "launcher/DownloadId.h"

#include <gtest/gtest.h>

namespace {
std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}
} // namespace

// The first run of exactly ten decimal digits; longer and shorter runs are skipped whole.
TEST(DownloadId, FindsTheFirstRunOfExactlyTenDigits) {
    const struct {
        std::wstring fileName, id;
    } cases[] = {
        {L"Setup_1234567890.exe", L"1234567890"},
        {L"1234567890", L"1234567890"},
        {L"1234567890.exe", L"1234567890"},
        {L"setup1234567890", L"1234567890"},
        {L"Setup_12345678901.exe", L""}, // eleven
        {L"Setup_123456789.exe", L""},   // nine
        {L"Setup_123456789012345678901.exe", L""},
        {L"12345678901_0987654321.exe", L"0987654321"}, // the eleven are skipped, the ten after them count
        {L"123456789_1234567890_5555555555", L"1234567890"},
        {L"1234567890x0987654321", L"1234567890"},
        {L"Setup.exe", L""},
        {L"", L""},
        // Only ASCII digits count.
        {L"\x0661\x0662\x0663\x0664\x0665\x0666\x0667\x0668\x0669\x0660.exe", L""},
        {L"\xFF11\xFF12\xFF13\xFF14\xFF15\xFF16\xFF17\xFF18\xFF19\xFF10", L""},
        {L"12345\xFF11"
         L"67890",
         L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.id, FindDownloadId(c.fileName)) << Narrow(c.fileName);
}

TEST(DownloadId, AppendsOnlyNewIdentifiers) {
    const struct {
        std::wstring existing, id, stored;
    } cases[] = {
        {L"", L"1234567890", L"1234567890"},
        {L"1234567890", L"1234567890", L"1234567890"}, // a second run of the same file leaves one entry
        {L"1111111111", L"2222222222", L"1111111111,2222222222"},
        {L"1111111111,2222222222", L"1111111111", L"1111111111,2222222222"},
        {L",1111111111,,2222222222,", L"3333333333", L"1111111111,2222222222,3333333333"},
        {L",,", L"1234567890", L"1234567890"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.stored, AppendDownloadId(c.existing, c.id)) << Narrow(c.existing);
}
