// Hosted-only: the parse cache over real files rewritten behind its back.
#include "ledgerline/KorvaneIni/ParseCache.h"

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using ParseCacheTest = ldgr::test::HostedWorld;

std::string ReadK(const char* path) {
    const std::int32_t hIniFile = KorvaneIni::OpenIni(path);
    char buffer[64];
    const std::int32_t count =
        KorvaneIni::GetIniString("A", "k", "", buffer, sizeof buffer, hIniFile);
    KorvaneIni::CloseIni(hIniFile);
    return std::string(buffer, static_cast<std::size_t>(count));
}

TEST_F(ParseCacheTest, ARewriteWithTheSameSizeAndTimeIsReadAfresh) {
    const std::string host = Host("drive_c/x.ini");
    const std::string other = Host("drive_c/y.ini");
    WriteHostFile(host, "[A]\r\nk=1");
    const auto stamp = std::filesystem::last_write_time(host);
    EXPECT_EQ(ReadK("C:\\x.ini"), "1");
    // Rewritten in place, its time stamp set back as "touch -r" sets it.
    WriteHostFile(host, "[A]\r\nk=2");
    std::filesystem::last_write_time(host, stamp);
    EXPECT_EQ(ReadK("C:\\x.ini"), "2");
    // Another file of the same size and time renamed over it.
    WriteHostFile(other, "[A]\r\nk=3");
    std::filesystem::last_write_time(other, stamp);
    std::filesystem::rename(other, host);
    EXPECT_EQ(ReadK("C:\\x.ini"), "3");
    EXPECT_EQ(ReadK("c:\\X.INI"), "3");
}

// Files go, the least recently opened first, once the kept ones together are larger than
// allowed.
TEST_F(ParseCacheTest, KeptFilesAreBoundedByTheirBytes) {
    KorvaneIni::ParseCache cache(12);
    WriteHostFile(Host("drive_c/a.ini"), "[A]\r\nk=1");
    WriteHostFile(Host("drive_c/b.ini"), "[A]\r\nk=2");
    const auto first = cache.Open("C:\\a.ini");
    EXPECT_EQ(cache.Open("C:\\a.ini"), first);
    cache.Open("C:\\b.ini");
    EXPECT_NE(cache.Open("C:\\a.ini"), first);
}

} // namespace
