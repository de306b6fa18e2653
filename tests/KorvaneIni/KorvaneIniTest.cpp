// The INI library: reading rules, the buffer contract, handles and the parse cache.
#include "ledgerline/KorvaneIni/KorvaneIni.h"

#include "config/ConfigDoubles.h"
#include "support/FaultyFiles.h"

#include <gtest/gtest.h>
#include <string>

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

struct Lookup {
    const char* what;
    const char* file;
    const char* section = "A";
    const char* key = "k";
    const char* value = kMissing;
};

const Lookup kLookups[] = {
    {.what = "mixed line ends", .file = "[A]\r\n\r\rk=1\n\nm=2", .key = "m", .value = "2"},
    {.what = "CR alone ends a header", .file = "[A]\rk=1", .value = "1"},
    {.what = "CR alone ends an entry", .file = "[A]\r\nk=1\rm=2", .key = "m", .value = "2"},
    {.what = "byte-order mark at the start", .file = "\xEF\xBB\xBF[A]\r\nk=1", .value = "1"},
    {.what = "byte-order mark only at the very start", .file = "[A]\r\n\xEF\xBB\xBFk=1"},
    {.what = "indented comment line", .file = "[A]\r\n \t; k=1\r\nk=2", .value = "2"},
    {.what = "semicolon inside a value is kept", .file = "[A]\r\nk=a ; b", .value = "a ; b"},
    {.what = "letter case", .file = "[Gen]\nVer=2", .section = "GEN", .key = "ver", .value = "2"},
    {.what = "blanks", .file = "[ A ]\n k  =  v ", .section = " a\t", .key = "\tK ", .value = "v"},
    {.what = "header name ends at the first bracket", .file = "[A]]x\r\nk=1", .value = "1"},
    {.what = "unclosed header opens no section", .file = "[A]\n[B\nm=2", .key = "m", .value = "2"},
    {.what = "an indented header", .file = "k=0\r\n \t[A]\r\nk=1", .value = "1"},
    {.what = "a bracket after other text opens no section", .file = "[A]\nx[B]\nk=1", .value = "1"},
    {.what = "split at the first equals sign", .file = "[A]\r\nk = a=b", .value = "a=b"},
    {.what = "empty value", .file = "[A]\r\nk=", .value = ""},
    {.what = "empty key", .file = "[A]\r\n = v", .key = "", .value = "v"},
    {.what = "line without equals sign ignored", .file = "[A]\r\nk\r\nk=2", .value = "2"},
    {.what = "first key wins", .file = "[A]\r\nk=1\r\nK=2", .value = "1"},
    {.what = "first section wins", .file = "[A]\nk=1\n[B]\nj=3\n[a]\nk=2\nm=4", .key = "m"},
    {.what = "a repeated header's lines go to no section",
     .file = "[A]\nk=1\n[B]\nj=3\n[a]\nk=2\nm=4",
     .section = "B",
     .key = "m"},
    {.what = "after a repeated header", .file = "[A]\n[A]\n[B]\nk=3", .section = "B", .value = "3"},
    {.what = "key of another section", .file = "[A]\r\nk=1\r\n[B]\r\nj=2", .section = "B"},
    {.what = "absent section", .file = "[A]\r\nk=1", .section = "C"},
    {.what = "before any header", .file = "k=0\n[A]\nk=1", .section = "", .value = "0"},
    {.what = "code-page letters kept", .file = "[A]\r\nk=caf\xE9", .value = "caf\xE9"},
};

TEST_F(KorvaneIniTest, LookupsFollowTheReadingRules) {
    for (const Lookup& row : kLookups) {
        const std::int32_t hIniFile = OpenWith(row.file);
        EXPECT_EQ(Read(hIniFile, row.section, row.key), row.value) << row.what;
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
    struct Copy {
        const char* key;
        std::int32_t size;
        std::string expected;
    };
    const Copy copies[] = {
        {.key = "k", .size = 0, .expected = ""},
        {.key = "k", .size = 1, .expected = ""},
        {.key = "k", .size = 5, .expected = "valu"},
        {.key = "k", .size = 6, .expected = "value"},
        {.key = "gone", .size = 0, .expected = ""},
        {.key = "gone", .size = 1, .expected = ""},
        {.key = "gone", .size = 8, .expected = "default"},
        {.key = "gone", .size = 9, .expected = "default!"},
    };
    for (const Copy& row : copies) {
        SCOPED_TRACE(std::string(row.key) + " through a buffer of " + std::to_string(row.size));
        std::string buffer(32, '#');
        const std::int32_t count =
            KorvaneIni::GetIniString("A", row.key, "default!", buffer.data(), row.size, hIniFile);
        EXPECT_EQ(buffer.substr(0, static_cast<std::size_t>(count)), row.expected);
        EXPECT_EQ(buffer[static_cast<std::size_t>(count)], row.size > 0 ? '\0' : '#');
        EXPECT_EQ(buffer.find_first_not_of('#', static_cast<std::size_t>(row.size)),
                  std::string::npos);
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
    EXPECT_EQ(KorvaneIni::CloseIni(first), 1);
    EXPECT_EQ(Read(second, "A", "k"), "new");
    EXPECT_EQ(Read(first, "A", "k"), kMissing);
    EXPECT_EQ(Read(0, "A", "k"), kMissing);
    const std::int32_t third = OpenWith("[A]");
    EXPECT_NE(third, first);
    EXPECT_EQ(KorvaneIni::CloseIni(first), 0) << "closed already";
    KorvaneIni::CloseIni(second);
    KorvaneIni::CloseIni(third);
}

TEST_F(KorvaneIniTest, AChangedFileIsParsedAgain) {
    struct Change {
        const char* what;
        const char* content;
        bool keepTime;
    };
    const Change changes[] = {
        {.what = "same size, new time", .content = "[A]\r\nk=2", .keepTime = false},
        {.what = "new size, new time", .content = "[A]\r\nk=22", .keepTime = false},
        {.what = "new size, time kept", .content = "[A]\r\nk=333", .keepTime = true},
    };
    world.files.Put(kPath, "[A]\r\nk=1");
    ReadK(kPath);
    for (const Change& row : changes) {
        if (row.keepTime) {
            world.files.PutAt(kPath, row.content, world.files.LastWriteTime(kPath));
        } else {
            world.files.Put(kPath, row.content);
        }
        EXPECT_EQ("[A]\r\nk=" + ReadK(kPath), row.content) << row.what;
    }
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
