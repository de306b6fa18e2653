// The Win32 platform layer against the real system (Windows build only).
#include "ledgerline/platform/Platform.h"
#include "ledgerline/platform/win32/Win32.h"
#include "support/ErrorOf.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace {

using ldgr::test::ErrorOf;
using platform::OpenMode;
using platform::ShareMode;

// A fresh folder under the user's temporary folder, removed with everything in it.
class Win32Folder : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
        m_sFolder = std::string(temp) + "ldgr" + std::to_string(GetCurrentProcessId()) + "." +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(std::filesystem::create_directory(m_sFolder));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_sFolder, ignored);
    }

    std::string Path(const std::string& name) const { return m_sFolder + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes,
               OpenMode mode = OpenMode::Output) const {
        const auto file = platform::Files().OpenText(Path(name), mode);
        file->Write(bytes);
        file->Close();
    }
    std::string Read(const std::string& name) const {
        return platform::Files().OpenText(Path(name), OpenMode::Input)->ReadAll();
    }

    std::string m_sFolder;
};

// A sharing violation is told apart from missing rights; unknown codes are 75. After a failed
// flush only a full disk is 61: anything else means the data was lost (57).
TEST(Win32Errors, CodesBecomeClassicNumbers) {
    const std::tuple<DWORD, std::int32_t, bool, std::int32_t> cases[] = {
        {ERROR_SHARING_VIOLATION, 70, true, 57},
        {ERROR_ACCESS_DENIED, 70, false, 57},
        {ERROR_CALL_NOT_IMPLEMENTED, 75, false, 57},
        {ERROR_HANDLE_DISK_FULL, 61, false, 61}};
    for (const auto& [code, number, sharing, flushNumber] : cases) {
        const ldgr::Error error = platform::win32::ErrorFromCode(code);
        EXPECT_EQ(error.Number(), number) << code;
        EXPECT_EQ(error.IsSharingViolation(), sharing) << code;
        EXPECT_EQ(platform::win32::FlushErrorFromCode(code).Number(), flushNumber) << code;
    }
}

TEST_F(Win32Folder, BoundedReadsStopWhereAskedOrAtTheEnd) {
    Write("lines.txt", "abc\r\ndef");
    const auto file = platform::Files().OpenText(Path("lines.txt"), OpenMode::Input);
    EXPECT_EQ(file->ReadAtMost(4), "abc\r");
    EXPECT_EQ(file->ReadAtMost(100), "\ndef");
    EXPECT_EQ(file->ReadAtMost(100), "");
}

// What is not a file on a disk (here the null device) is refused at once with 75.
TEST_F(Win32Folder, FailuresCarryTheClassicNumbers) {
    auto& files = platform::Files();
    Write("a.txt", "a");
    Write("b.txt", "b");
    Write("r.txt", "r");
    SetFileAttributesA(Path("r.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    files.CreateFolder(Path("sub"));
    const std::tuple<const char*, std::int32_t, std::function<void()>> cases[] = {
        {"read a missing file", 53, [&] { files.OpenText(Path("none.txt"), OpenMode::Input); }},
        {"write in a missing folder", 76,
         [&] { files.OpenText(Path("none\\x.txt"), OpenMode::Output); }},
        {"open a folder as a file", 75, [&] { files.OpenText(Path("sub"), OpenMode::Append); }},
        {"create an existing folder", 75, [&] { files.CreateFolder(Path("sub")); }},
        {"create a folder in a missing one", 76, [&] { files.CreateFolder(Path("x\\y")); }},
        {"move onto an existing file", 58,
         [&] { files.MoveFileNoReplace(Path("a.txt"), Path("b.txt")); }},
        {"delete a folder", 75, [&] { files.DeleteFile(Path("sub")); }},
        {"copy a folder", 75, [&] { files.CopyFile(Path("sub"), Path("c.txt")); }},
        {"copy onto a folder", 70, [&] { files.CopyFile(Path("a.txt"), Path("sub")); }},
        {"copy a missing file", 53, [&] { files.CopyFile(Path("none.txt"), Path("c.txt")); }},
        {"replace a read-only file", 70, [&] { files.OpenText(Path("r.txt"), OpenMode::Replace); }},
        {"replace a folder", 75, [&] { files.OpenText(Path("sub"), OpenMode::Replace); }},
        {"append to the null device", 75, [&] { files.OpenText("NUL", OpenMode::Append); }},
        {"copy the null device", 75, [&] { files.CopyFile("NUL", Path("c.txt")); }},
    };
    for (const auto& [what, number, operation] : cases) {
        EXPECT_EQ(ErrorOf(operation), number) << what;
    }
    EXPECT_EQ(Read("a.txt"), "a");
    EXPECT_EQ(Read("b.txt"), "b");
    EXPECT_EQ(files.FindAll(Path("*")).size(), 6u); // ., .., a.txt, b.txt, r.txt, sub
    SetFileAttributesA(Path("r.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The service-log probe: an exclusive open succeeds alone and is refused while another handle
// has the file, whatever sharing that handle allows; so is a rewrite.
TEST_F(Win32Folder, ExclusiveOpenSeesAnyOtherOpen) {
    const auto open = [&](OpenMode mode, ShareMode share) {
        return ErrorOf([&] { platform::Files().OpenText(Path("ldgrsrvc.txt"), mode, share); });
    };
    EXPECT_EQ(open(OpenMode::Append, ShareMode::Exclusive), 0);
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        const platform::win32::KernelHandle other(
            CreateFileA(Path("ldgrsrvc.txt").c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(other.IsValid());
        EXPECT_EQ(open(OpenMode::Input, ShareMode::Exclusive), 70) << sharing;
        EXPECT_EQ(open(OpenMode::Replace, ShareMode::DenyNone), 70) << sharing;
    }
}

// A reader with full sharing does not keep a rewrite or a copy from replacing the file: where the
// system cannot rename over an open file (Wine, older Windows) the move waits for it.
TEST_F(Win32Folder, ReplaceAndCopyReplaceAFileAnotherProgramReads) {
    auto& files = platform::Files();
    Write("Config.ini", "new");
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"replace", [&] { Write("ldgrmake.ini", "new", OpenMode::Replace); }},
        {"copy", [&] { files.CopyFile(Path("Config.ini"), Path("ldgrmake.ini")); }},
    };
    for (const auto& [what, operation] : cases) {
        Write("ldgrmake.ini", "old");
        platform::win32::KernelHandle reader(
            CreateFileA(Path("ldgrmake.ini").c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(reader.IsValid());
        const std::jthread release([&] {
            Sleep(200);
            reader.Close();
        });
        EXPECT_EQ(ErrorOf(operation), 0) << what;
        EXPECT_EQ(Read("ldgrmake.ini"), "new") << what;
    }
    EXPECT_EQ(files.FindAll(Path("*.tmp")).size(), 0u);
}

// Output and Replace keep the hidden and system attributes of the file they rewrite (Windows
// refuses to create a file over a hidden one; a move brings the new file's attributes).
TEST_F(Win32Folder, RewritesOfAHiddenOrSystemFileKeepItsAttributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const OpenMode mode : {OpenMode::Output, OpenMode::Replace}) {
        for (const DWORD attributes :
             {kKept, DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_NORMAL}}) {
            SCOPED_TRACE((mode == OpenMode::Output ? "Output " : "Replace ") +
                         std::to_string(attributes));
            Write("spldir.txt", "old");
            SetFileAttributesA(Path("spldir.txt").c_str(), attributes);
            Write("spldir.txt", "new", mode);
            EXPECT_EQ(GetFileAttributesA(Path("spldir.txt").c_str()) & kKept, attributes & kKept);
            EXPECT_EQ(Read("spldir.txt"), "new");
            SetFileAttributesA(Path("spldir.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

// A rewrite reaches its target only through Close: a file left unclosed changes nothing and
// leaves no temporary behind.
TEST_F(Win32Folder, ReplaceChangesTheTargetOnlyWhenClosed) {
    auto& files = platform::Files();
    Write("Config.ini", "old");
    files.OpenText(Path("Config.ini"), OpenMode::Replace)->Write("half");
    files.OpenText(Path("new.ini"), OpenMode::Replace)->Write("half");
    EXPECT_EQ(Read("Config.ini"), "old");
    EXPECT_FALSE(files.FindFirst(Path("new.ini")));
    Write("Config.ini", "whole", OpenMode::Replace);
    EXPECT_EQ(Read("Config.ini"), "whole");
    EXPECT_EQ(files.FindAll(Path("*.tmp")).size(), 0u);
}

// A file whose full path fits the system's limit is rewritten whole and copied onto like any
// other, however long the name of the temporary beside it: here a target of 259 characters, the
// longest a path can be.
TEST_F(Win32Folder, TemporariesFitWhereTheirTargetFits) {
    const std::string name = "a.ini";
    std::string folder = m_sFolder;
    while (folder.size() + 1 + name.size() < MAX_PATH - 1) {
        const std::size_t room = MAX_PATH - 1 - folder.size() - 1 - name.size() - 1;
        folder += "\\" + std::string(std::min<std::size_t>(room, 200), 'd');
        ASSERT_TRUE(std::filesystem::create_directory(folder)) << folder;
    }
    const std::string target = folder + "\\" + name;
    ASSERT_EQ(target.size(), std::size_t{MAX_PATH - 1});
    auto& files = platform::Files();
    const auto write = [&](const std::string& text, OpenMode mode) {
        const auto file = files.OpenText(target, mode);
        file->Write(text);
        file->Close();
    };
    write("in place", OpenMode::Output);
    write("whole", OpenMode::Replace);
    EXPECT_EQ(files.OpenText(target, OpenMode::Input)->ReadAll(), "whole");
    Write("source.ini", "copied");
    files.CopyFile(Path("source.ini"), target);
    EXPECT_EQ(files.OpenText(target, OpenMode::Input)->ReadAll(), "copied");
    // A job record's way: made under a longer name beside its number, then moved there; and one
    // left behind, deleted.
    const std::string temporary = folder + "\\~job0123456789012345.tmp";
    for (const bool moved : {true, false}) {
        files.OpenText(temporary, OpenMode::CreateNew)->Close();
        moved ? files.MoveFileNoReplace(temporary, folder + "\\1.prt")
              : files.DeleteFile(temporary);
    }
    EXPECT_TRUE(files.FindFirst(folder + "\\1.prt"));
    EXPECT_EQ(files.FindAll(folder + "\\*.tmp").size(), 0u);
}

// The manifest names every Windows up to 11, so the version query tells the system's own
// version (ntdll's) instead of the 6.2 told to programs without an entry for it.
TEST(Win32System, VersionQueryTellsTheSystemsOwnVersion) {
    using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionCall>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(rtlGetVersion, nullptr);
    OSVERSIONINFOW system{};
    system.dwOSVersionInfoSize = sizeof system;
    ASSERT_EQ(rtlGetVersion(&system), 0);
    const auto version = platform::Sys().Version();
    ASSERT_TRUE(version);
    EXPECT_EQ(std::make_pair(version->major, version->minor),
              std::make_pair(static_cast<unsigned>(system.dwMajorVersion),
                             static_cast<unsigned>(system.dwMinorVersion)));
}

// A rename held up by another program is tried again (both ways of renaming share this loop);
// any other failure is final at once.
TEST(Win32Rename, HeldTargetsAreTriedAgainOtherFailuresNot) {
    struct Case {
        DWORD failure = 0;
        int failures = 0; // before the rename succeeds
        int calls = 0;
    };
    const Case cases[] = {
        {.failure = ERROR_ACCESS_DENIED, .failures = 2, .calls = 3},
        {.failure = ERROR_SHARING_VIOLATION, .failures = 100, .calls = 20},
        {.failure = ERROR_PATH_NOT_FOUND, .failures = 100, .calls = 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        int calls = 0;
        DWORD last = 0;
        const DWORD answer = platform::win32::RetryWhileHeld(
            [&] { return last = ++calls > c.failures ? DWORD{ERROR_SUCCESS} : c.failure; });
        EXPECT_EQ(answer, last);
        EXPECT_EQ(calls, c.calls);
    }
}

// A character the code page lacks becomes "?", never a look-alike naming another file; bytes
// 0x80 to 0x9F are code-page characters (the euro sign) in the UTF-8 message-box log. A system
// whose ANSI code page is UTF-8 gets every character; a conversion the system refuses is an
// error, never an empty text.
TEST(Win32Text, ConversionsGoThroughTheCodePage) {
    EXPECT_EQ(platform::win32::FromWide(L"a\u0141b\uFF02c"), "a?b?c");
    EXPECT_EQ(platform::win32::FromWide(L"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(platform::win32::ToUtf8("\x80 caf\xE9"), "\xE2\x82\xAC caf\xC3\xA9");
    EXPECT_EQ(platform::win32::ToCodePage(L"j\u00F6rg \u0141", CP_UTF8), "j\xC3\xB6rg \xC5\x81");
    EXPECT_THROW(platform::win32::ToCodePage(L"x", 12345), ldgr::Error);
}

} // namespace
