// Hosted-only: the parse cache over real files, which a program may rewrite with the same size
// and time stamp, or replace by another file under the same name.
#include "KorvaneIni/KorvaneIni.h"
#include "support/posix/HostedWorld.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using ParseCache = ldgr::test::HostedWorld;

std::string ReadK(const char* path) {
    const std::int32_t hIniFile = KorvaneIni::OpenIni(path);
    char buffer[64];
    const std::int32_t count =
        KorvaneIni::GetIniString("A", "k", "", buffer, sizeof buffer, hIniFile);
    KorvaneIni::CloseIni(hIniFile);
    return std::string(buffer, static_cast<std::size_t>(count));
}

TEST_F(ParseCache, ARewriteWithTheSameSizeAndTimeIsReadAfresh) {
    const std::string host = Host("drive_c/x.ini");
    const std::string other = Host("drive_c/y.ini");
    WriteHostFile(host, "[A]\r\nk=1");
    struct stat before {};
    ASSERT_EQ(stat(host.c_str(), &before), 0);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    EXPECT_EQ(ReadK("C:\\x.ini"), "1");
    // Rewritten in place, its time stamp set back as "touch -r" sets it.
    WriteHostFile(host, "[A]\r\nk=2");
    ASSERT_EQ(utimensat(AT_FDCWD, host.c_str(), times, 0), 0);
    EXPECT_EQ(ReadK("C:\\x.ini"), "2");
    // Another file of the same size and time renamed over it.
    WriteHostFile(other, "[A]\r\nk=3");
    ASSERT_EQ(utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
    std::filesystem::rename(other, host);
    EXPECT_EQ(ReadK("C:\\x.ini"), "3");
    EXPECT_EQ(ReadK("c:\\X.INI"), "3");
}

} // namespace
