// The INI library: reading rules, the buffer contract, handles and the parse cache.
#include "ledgerline/KorvaneIni/KorvaneIni.h"

#include "config/ConfigDoubles.h"
#include "ledgerline/platform/Error.h"
#include "support/FaultyFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

using ldgr::test::ConfigWorld;

constexpr const char* kPath = "C:\\Ledgerline\\Config.ini";
constexpr const char* kMissing = "<missing>";

// The value GetIniString gives through a buffer as large as the suite's callers use.
std::string Read(std::int32_t hIniFile, const char* sSection, const char* sKey) {
    char buffer[2048];
    const std::int32_t count =
        KorvaneIni::GetIniString(sSection, sKey, kMissing, buffer, sizeof buffer, hIniFile);
    return std::string(buffer, static_cast<std::size_t>(count));
}

// Key k of section A, read through a handle of its own.
std::string ReadK(const char* path) {
    const std::int32_t hIniFile = KorvaneIni::OpenIni(path);
    const std::string value = Read(hIniFile, "A", "k");
    KorvaneIni::CloseIni(hIniFile);
    return value;
}

class KorvaneIniTest : public ::testing::Test {
protected:
    // Opens content as the file at kPath; the handle is closed by the test.
    std::int32_t OpenWith(std::string content) {
        world.files.Put(kPath, std::move(content));
        return KorvaneIni::OpenIni(kPath);
    }

    ConfigWorld world;
};

// What, the file's content, section, key and the value expected.
const std::tuple<const char*, const char*, const char*, const char*, const char*> kLookups[] = {
    {"mixed line ends", "[A]\r\n\r\rk=1\n\nm=2", "A", "m", "2"},
    {"CR alone ends a header", "[A]\rk=1", "A", "k", "1"},
    {"CR alone ends an entry", "[A]\r\nk=1\rm=2", "A", "m", "2"},
    {"byte-order mark before the first header", "\xEF\xBB\xBF[A]\r\nk=1", "A", "k", "1"},
    {"byte-order mark only at the very start", "[A]\r\n\xEF\xBB\xBFk=1", "A", "k", kMissing},
    {"indented comment line", "[A]\r\n \t; k=1\r\nk=2", "A", "k", "2"},
    {"semicolon inside a value is kept", "[A]\r\nk=a ; b", "A", "k", "a ; b"},
    {"section name ignores case", "[General]\r\nVersion=2", "GENERAL", "version", "2"},
    {"names ignore blanks around them", "[ A ]\r\n  k  =  v  ", " a\t", "\tK ", "v"},
    {"header name ends at the first bracket", "[A]]x\r\nk=1", "A", "k", "1"},
    {"header without closing bracket", "[A\r\nk=1", "A", "k", "1"},
    {"split at the first equals sign", "[A]\r\nk = a=b", "A", "k", "a=b"},
    {"empty value", "[A]\r\nk=", "A", "k", ""},
    {"line without equals sign ignored", "[A]\r\nk\r\nk=2", "A", "k", "2"},
    {"first key wins", "[A]\r\nk=1\r\nK=2", "A", "k", "1"},
    {"first section wins", "[A]\r\nk=1\r\n[B]\r\nj=3\r\n[a]\r\nk=2\r\nm=4", "A", "m", kMissing},
    {"later section after a repeated one", "[A]\r\n[A]\r\n[B]\r\nj=3", "B", "j", "3"},
    {"key of another section", "[A]\r\nk=1\r\n[B]\r\nj=2", "B", "k", kMissing},
    {"absent section", "[A]\r\nk=1", "C", "k", kMissing},
    {"entries before the first header", "k=0\r\n[A]\r\nk=1", "", "k", "0"},
    {"code-page letters kept", "[A]\r\nk=caf\xE9", "A", "k", "caf\xE9"},
};

TEST_F(KorvaneIniTest, LookupsFollowTheReadingRules) {
    for (const auto& [what, content, section, key, expected] : kLookups) {
        const std::int32_t hIniFile = OpenWith(content);
        EXPECT_EQ(Read(hIniFile, section, key), expected) << what;
        KorvaneIni::CloseIni(hIniFile);
    }
}

TEST_F(KorvaneIniTest, ManySectionsAreAllFound) {
    std::string content;
    for (int n = 1; n <= 40; ++n) {
        content += "[S" + std::to_string(n) + "]\r\nk=" + std::to_string(n) + "\r\n";
    }
    const std::int32_t hIniFile = OpenWith(content);
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(Read(hIniFile, ("s" + std::to_string(n)).c_str(), "K"), std::to_string(n));
    }
    KorvaneIni::CloseIni(hIniFile);
}

TEST_F(KorvaneIniTest, NothingIsWrittenBeyondTheGivenSize) {
    const std::int32_t hIniFile = OpenWith("[A]\r\nk=value\r\n");
    const std::tuple<const char*, std::int32_t, std::string> cases[] = {
        {"k", 0, ""},    {"k", 1, ""},           {"k", 5, "valu"},        {"k", 6, "value"},
        {"gone", 1, ""}, {"gone", 8, "default"}, {"gone", 9, "default!"}, {"gone", 0, ""},
    };
    for (const auto& [key, size, expected] : cases) {
        SCOPED_TRACE(std::string(key) + " size " + std::to_string(size));
        std::string buffer(32, '#');
        const std::int32_t count =
            KorvaneIni::GetIniString("A", key, "default!", buffer.data(), size, hIniFile);
        EXPECT_EQ(buffer.substr(0, static_cast<std::size_t>(count)), expected);
        EXPECT_EQ(buffer[static_cast<std::size_t>(count)], size > 0 ? '\0' : '#');
        EXPECT_EQ(buffer.find_first_not_of('#', static_cast<std::size_t>(size)), std::string::npos);
    }
    KorvaneIni::CloseIni(hIniFile);
}

TEST_F(KorvaneIniTest, NullArgumentsAndUnreadableFilesAreAnsweredSafely) {
    world.files.Put("C:\\cfg\\a.ini", "[A]");
    for (const char* path : std::initializer_list<const char*>{
             nullptr, "", "C:\\cfg\\missing.ini", "C:\\cfg\\*.ini", "C:\\cfg\\a.in?"}) {
        EXPECT_EQ(KorvaneIni::OpenIni(path), 0) << path;
    }
    const std::int32_t hIniFile = OpenWith("[A]\r\nk=1");
    char buffer[8] = {};
    EXPECT_EQ(KorvaneIni::GetIniString(nullptr, nullptr, nullptr, buffer, 8, hIniFile), 0);
    EXPECT_EQ(KorvaneIni::GetIniString("A", "k", "d", nullptr, 8, hIniFile), 0);
    EXPECT_EQ(KorvaneIni::GetIniString("A", "k", "d", buffer, -5, hIniFile), 0);
    KorvaneIni::CloseIni(hIniFile);
}

// Each handle keeps the file as it was opened, even once deleted; a closed one reads as empty
// and its number is not given out again.
TEST_F(KorvaneIniTest, HandlesAreIndependentOutliveTheirFileAndStaleOnesReadAsEmpty) {
    const std::int32_t first = OpenWith("[A]\r\nk=old");
    const std::int32_t second = OpenWith("[A]\r\nk=new");
    ASSERT_NE(first, 0);
    EXPECT_NE(first, second);
    world.files.Remove(kPath);
    EXPECT_EQ(Read(first, "A", "k"), "old");
    KorvaneIni::CloseIni(first);
    EXPECT_EQ(Read(second, "A", "k"), "new");
    EXPECT_EQ(Read(first, "A", "k"), kMissing);
    EXPECT_EQ(Read(0, "A", "k"), kMissing);
    const std::int32_t third = OpenWith("[A]");
    EXPECT_NE(third, first);
    KorvaneIni::CloseIni(second);
    KorvaneIni::CloseIni(third);
}

TEST_F(KorvaneIniTest, AFileIsParsedAgainOnlyWhenItChanged) {
    world.files.Put(kPath, "[A]\r\nk=1");
    EXPECT_EQ(ReadK(kPath), "1");
    EXPECT_EQ(ReadK("c:\\LEDGERLINE\\config.INI"), "1"); // the same file in another case
    EXPECT_EQ(world.files.reads, 1);
    world.files.Put(kPath, "[A]\r\nk=2"); // same size, new time
    EXPECT_EQ(ReadK(kPath), "2");
    world.files.Put(kPath, "[A]\r\nk=22"); // new size, new time
    EXPECT_EQ(ReadK(kPath), "22");
    world.files.PutAt(kPath, "[A]\r\nk=333", world.files.LastWriteTime(kPath));
    EXPECT_EQ(ReadK(kPath), "333");
    EXPECT_EQ(world.files.reads, 4);
    // A file is kept once however often it changed, so the others stay kept beside it.
    world.files.Put("C:\\other.ini", "[A]\r\nk=o");
    EXPECT_EQ(ReadK("C:\\other.ini"), "o");
    for (int n = 0; n < 9; ++n) {
        world.files.Put(kPath, "[A]\r\nk=" + std::to_string(n));
        EXPECT_EQ(ReadK(kPath), std::to_string(n));
    }
    EXPECT_EQ(ReadK("C:\\other.ini"), "o");
    EXPECT_EQ(world.files.reads, 4 + 1 + 9);
}

// A writer rewrites the file in place and sets its time stamp back, and the read comes while it
// is part-way: what the read met is not kept under the version seen before it, so once the
// writer is done the finished file is read, though it has that version again.
TEST_F(KorvaneIniTest, AReadThatMetAWriterIsNotKept) {
    const std::uint64_t stamp = 132000000000000000ull;
    world.files.PutAt(kPath, "[A]\r\nk=1", stamp);
    ldgr::test::FaultyFiles files(world.files);
    files.Before(ldgr::test::FileCall::OpenToRead, 1,
                 [&] { world.files.PutAt(kPath, "[A]\r\n", stamp); });
    files.Before(ldgr::test::FileCall::Version, 2,
                 [&] { world.files.PutAt(kPath, "[A]\r\nk=2", stamp); });
    const platform::ScopedServices services({.files = &files});
    EXPECT_EQ(ReadK(kPath), kMissing);
    EXPECT_EQ(ReadK(kPath), "2");
}

// A handle's file as parsed against another file now: the comparison start-up makes between
// its working copy and the shared file.
TEST_F(KorvaneIniTest, ParsedBytesAreComparedWithAnotherFile) {
    const std::int32_t hIniFile = OpenWith("[A]\r\nk=1");
    world.files.Put("C:\\same.ini", "[A]\r\nk=1");
    world.files.Put("C:\\other.ini", "[A]\r\nk=2");
    world.files.Put(kPath, "[A]\r\nk=1;"); // changed after the parse
    EXPECT_TRUE(KorvaneIni::HoldsParsedBytes(hIniFile, "C:\\same.ini"));
    EXPECT_FALSE(KorvaneIni::HoldsParsedBytes(hIniFile, "C:\\other.ini"));
    EXPECT_FALSE(KorvaneIni::HoldsParsedBytes(hIniFile, kPath));
    EXPECT_THROW(KorvaneIni::HoldsParsedBytes(hIniFile, "C:\\missing.ini"), ldgr::Error);
    KorvaneIni::CloseIni(hIniFile);
    EXPECT_FALSE(KorvaneIni::HoldsParsedBytes(hIniFile, "C:\\same.ini"));
}

// The section found last is remembered for the next read through any handle, but only for the
// file it was found in: in the second file A is another section.
TEST_F(KorvaneIniTest, TheSectionFoundLastServesOnlyItsOwnFile) {
    world.files.Put("C:\\b.ini", "[B]\r\nk=b\r\n[A]\r\nk=a2");
    world.files.Put(kPath, "[A]\r\nk=a1");
    EXPECT_EQ(ReadK(kPath), "a1");
    EXPECT_EQ(ReadK("C:\\b.ini"), "a2");
    KorvaneIni::ForgetParsedFiles();
    EXPECT_EQ(ReadK(kPath), "a1");
}

} // namespace
