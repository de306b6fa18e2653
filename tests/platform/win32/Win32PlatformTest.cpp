// The Win32 platform layer against the real system (Windows build only: calls the Windows
// API to arrange and check what the layer sees).
#include "platform/Platform.h"
#include "platform/win32/Win32.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

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
        std::filesystem::remove_all(m_sFolder);
        ASSERT_TRUE(std::filesystem::create_directory(m_sFolder));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_sFolder, ignored);
    }

    std::string Path(const std::string& name) const { return m_sFolder + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        return platform::Files().OpenText(Path(name), OpenMode::Input)->ReadAll();
    }

    // The classic number a file operation fails with; 0 when it succeeds.
    template <class Operation> static std::int32_t NumberOf(Operation operation) {
        try {
            operation();
            return 0;
        } catch (const ldgr::Error& e) {
            return e.Number();
        }
    }

    std::string m_sFolder;
};

// A file another process holds is told apart from missing rights; anything unknown is 75.
TEST(Win32Errors, SharingViolationsAreToldApartFromMissingRights) {
    using platform::win32::ErrorFromCode;
    EXPECT_TRUE(ErrorFromCode(ERROR_SHARING_VIOLATION).IsSharingViolation());
    EXPECT_TRUE(ErrorFromCode(ERROR_LOCK_VIOLATION).IsSharingViolation());
    EXPECT_EQ(ErrorFromCode(ERROR_LOCK_VIOLATION).Number(), 70);
    EXPECT_FALSE(ErrorFromCode(ERROR_ACCESS_DENIED).IsSharingViolation());
    EXPECT_EQ(ErrorFromCode(ERROR_CALL_NOT_IMPLEMENTED).Number(), 75);
}

// A failed flush means written data never arrived: the disk is full (61) or the data was lost
// (57), never "permission denied" or a sharing violation as the same codes mean elsewhere.
TEST(Win32Errors, FailedFlushesAreFullDisksOrLostData) {
    const std::pair<DWORD, std::int32_t> cases[] = {
        {ERROR_DISK_FULL, 61},     {ERROR_HANDLE_DISK_FULL, 61},  {ERROR_NETNAME_DELETED, 57},
        {ERROR_ACCESS_DENIED, 57}, {ERROR_SHARING_VIOLATION, 57}, {ERROR_FILE_NOT_FOUND, 57},
    };
    for (const auto& [code, number] : cases) {
        EXPECT_EQ(platform::win32::FlushErrorFromCode(code).Number(), number) << code;
    }
}

// What is not a file on a disk (a device, a pipe) is refused at once with 75.
TEST_F(Win32Folder, FailuresCarryTheClassicNumbers) {
    auto& files = platform::Files();
    Write("a.txt", "a");
    Write("b.txt", "b");
    Write("r.txt", "r");
    SetFileAttributesA(Path("r.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    files.CreateFolder(Path("sub"));
    const std::string pipe = "\\\\.\\pipe\\ldgr" + std::to_string(GetCurrentProcessId());
    const platform::win32::KernelHandle server(
        CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 4, 0, 0, 0, nullptr));
    ASSERT_TRUE(server.IsValid());
    const struct {
        const char* what;
        std::int32_t number;
        std::function<void()> operation;
    } cases[] = {
        {"read a missing file", 53, [&] { files.OpenText(Path("none.txt"), OpenMode::Input); }},
        {"write in a missing folder", 76,
         [&] { files.OpenText(Path("none\\x.txt"), OpenMode::Output); }},
        {"open a folder as a file", 75, [&] { files.OpenText(Path("sub"), OpenMode::Append); }},
        {"create an existing folder", 75, [&] { files.CreateFolder(Path("sub")); }},
        {"create a folder in a missing one", 76, [&] { files.CreateFolder(Path("x\\y")); }},
        {"move onto an existing file", 58,
         [&] { files.MoveFileNoReplace(Path("a.txt"), Path("b.txt")); }},
        {"delete a folder", 75, [&] { files.DeleteFile(Path("sub")); }},
        {"delete a missing file", 53, [&] { files.DeleteFile(Path("none.txt")); }},
        {"copy a folder", 75, [&] { files.CopyFile(Path("sub"), Path("c.txt")); }},
        {"copy onto a folder", 70, [&] { files.CopyFile(Path("a.txt"), Path("sub")); }},
        {"copy a missing file", 53, [&] { files.CopyFile(Path("none.txt"), Path("c.txt")); }},
        {"replace a read-only file", 70, [&] { files.OpenText(Path("r.txt"), OpenMode::Replace); }},
        {"replace a folder", 75, [&] { files.OpenText(Path("sub"), OpenMode::Replace); }},
        {"replace in a missing folder", 76,
         [&] { files.OpenText(Path("none\\x.txt"), OpenMode::Replace); }},
        {"read the null device", 75, [&] { files.OpenText("NUL", OpenMode::Input); }},
        {"append to the null device", 75, [&] { files.OpenText("NUL", OpenMode::Append); }},
        {"write the null device", 75, [&] { files.OpenText("NUL", OpenMode::Output); }},
        {"copy the null device", 75, [&] { files.CopyFile("NUL", Path("c.txt")); }},
        {"read a pipe", 75, [&] { files.OpenText(pipe, OpenMode::Input); }},
        {"copy a pipe", 75, [&] { files.CopyFile(pipe, Path("c.txt")); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberOf(c.operation), c.number) << c.what;
    }
    EXPECT_EQ(Read("a.txt"), "a");
    EXPECT_EQ(Read("b.txt"), "b");
    EXPECT_EQ(files.FindAll(Path("*")).size(), 6u); // ., .., a.txt, b.txt, r.txt, sub
    SetFileAttributesA(Path("r.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32Folder, ExclusiveOpenSeesAnyOtherOpen) {
    auto& files = platform::Files();
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        const platform::win32::KernelHandle other(
            CreateFileA(Path("ldgrsrvc.txt").c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(other.IsValid());
        for (const auto& [mode, share] : {std::pair{OpenMode::Append, ShareMode::Exclusive},
                                          std::pair{OpenMode::Replace, ShareMode::DenyNone}}) {
            try {
                files.OpenText(Path("ldgrsrvc.txt"), mode, share);
                ADD_FAILURE() << "opened while another handle has the file, sharing " << sharing;
            } catch (const ldgr::Error& e) {
                EXPECT_TRUE(e.IsSharingViolation());
                EXPECT_EQ(e.Number(), 70);
            }
        }
    }
    // Alone, the exclusive open succeeds and keeps others out while it lasts.
    auto mine = files.OpenText(Path("ldgrsrvc.txt"), OpenMode::Append, ShareMode::Exclusive);
    EXPECT_EQ(NumberOf([&] { files.OpenText(Path("ldgrsrvc.txt"), OpenMode::Input); }), 70);
    mine->Close();
    EXPECT_EQ(Read("ldgrsrvc.txt"), "");
}

// Another program reading the target with full sharing does not keep a rewrite or a copy
// from replacing it. Where the system renames over an open file the operation succeeds at once;
// where it cannot (Wine, Windows before 10 1709) the move waits until the reader lets go.
TEST_F(Win32Folder, ReplaceAndCopyReplaceAFileAnotherProgramReads) {
    auto& files = platform::Files();
    Write("Config.ini", "new");
    const struct {
        const char* what;
        std::function<void()> operation;
    } cases[] = {
        {"replace",
         [&] {
             auto file = files.OpenText(Path("ldgrmake.ini"), OpenMode::Replace);
             file->Write("new");
             file->Close();
         }},
        {"copy", [&] { files.CopyFile(Path("Config.ini"), Path("ldgrmake.ini")); }},
    };
    for (const auto& c : cases) {
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
        EXPECT_EQ(NumberOf(c.operation), 0) << c.what;
        EXPECT_EQ(Read("ldgrmake.ini"), "new") << c.what;
    }
    EXPECT_EQ(files.FindAll(Path("*.tmp")).size(), 0u);
}

// Output over a hidden or system file names the file's own attributes, as Windows demands
// (it refuses the rewrite otherwise; Wine does not): the file keeps them and gets the new text.
TEST_F(Win32Folder, OutputOverAHiddenOrSystemFileKeepsItsAttributes) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                                   kKept, DWORD{FILE_ATTRIBUTE_NORMAL}}) {
        Write("spldir.txt", "old");
        SetFileAttributesA(Path("spldir.txt").c_str(), attributes);
        auto out = platform::Files().OpenText(Path("spldir.txt"), OpenMode::Output);
        out->Write("new");
        out->Close();
        EXPECT_EQ(GetFileAttributesA(Path("spldir.txt").c_str()) & kKept, attributes & kKept)
            << attributes;
        EXPECT_EQ(Read("spldir.txt"), "new") << attributes;
        SetFileAttributesA(Path("spldir.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// A rewrite reaches its target only through Close: a file left unclosed changes nothing and
// leaves no temporary behind. A closed file refuses further use.
TEST_F(Win32Folder, ReplaceChangesTheTargetOnlyWhenClosed) {
    auto& files = platform::Files();
    Write("Config.ini", "old");
    files.OpenText(Path("Config.ini"), OpenMode::Replace)->Write("half");
    files.OpenText(Path("new.ini"), OpenMode::Replace)->Write("half");
    EXPECT_EQ(Read("Config.ini"), "old");
    EXPECT_FALSE(files.FindFirst(Path("new.ini")));
    auto whole = files.OpenText(Path("Config.ini"), OpenMode::Replace);
    whole->Write("whole");
    whole->Close();
    EXPECT_EQ(Read("Config.ini"), "whole");
    EXPECT_EQ(NumberOf([&] { whole->Write("x"); }), 52);
    EXPECT_EQ(files.FindAll(Path("*.tmp")).size(), 0u);
}

// A rewrite with the same size and last-write time, or another file moved over the name, is
// another version; folders, missing files and wildcards have none.
TEST_F(Win32Folder, FileVersionsTellRewritesApart) {
    platform::FileSystem& files = platform::Files();
    Write("a.ini", "[A]\r\nk=1");
    const auto first = files.VersionOf(Path("a.ini"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 8u);
    const auto setBack = [&](const char* name) {
        const platform::win32::KernelHandle file(
            CreateFileA(Path(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
        FILETIME time{static_cast<DWORD>(first->lastWriteTime),
                      static_cast<DWORD>(first->lastWriteTime >> 32)};
        ASSERT_NE(SetFileTime(file.Get(), nullptr, nullptr, &time), 0);
    };
    Sleep(20);
    Write("a.ini", "[A]\r\nk=2");
    setBack("a.ini");
    const auto rewritten = files.VersionOf(Path("a.ini"));
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->lastWriteTime, first->lastWriteTime);
    EXPECT_NE(*rewritten, *first);
    Write("b.ini", "[A]\r\nk=3");
    setBack("b.ini");
    ASSERT_NE(MoveFileExA(Path("b.ini").c_str(), Path("a.ini").c_str(), MOVEFILE_REPLACE_EXISTING),
              0);
    EXPECT_NE(files.VersionOf(Path("a.ini")), rewritten);
    EXPECT_FALSE(files.VersionOf(m_sFolder));
    EXPECT_FALSE(files.VersionOf(Path("missing.ini")));
    EXPECT_FALSE(files.VersionOf(Path("*.ini")));
}

// A value written under HKEY_CURRENT_USER for the test and removed afterwards.
class Win32Registry : public ::testing::Test {
protected:
    static constexpr const char* kKey = "Software\\Ledgerline Tests";
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  m_key.Receive(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        m_key.Close();
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    void Set(const char* name, DWORD type, const std::string& data) {
        ASSERT_EQ(RegSetValueExA(m_key.Get(), name, 0, type,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    static platform::RegistryValue Read(const std::string& key, const char* name,
                                        std::size_t size = 1024) {
        return platform::Reg().ReadValue(platform::RootKey::CurrentUser, key, name,
                                         platform::RegistryAccess::Read, size);
    }

    platform::win32::RegistryKey m_key;
};

TEST_F(Win32Registry, ValuesComeBackAsStored) {
    Set("Number", REG_DWORD, std::string("\x0a\x01\x00\x00", 4));
    Set("Big", REG_SZ, std::string(1024, 'x') + '\0');
    Set("", REG_SZ, std::string("default\0", 8));
    EXPECT_EQ(Read(kKey, "Number").type, platform::kRegDword);
    EXPECT_EQ(Read(kKey, "Number").data, std::string("\x0a\x01\x00\x00", 4));
    EXPECT_EQ(Read(kKey, "").data, std::string("default\0", 8));
    EXPECT_EQ(Read(kKey, "Big").status, platform::RegistryStatus::ValueNotRead);
    EXPECT_EQ(Read(kKey, "Missing").status, platform::RegistryStatus::ValueNotRead);
    EXPECT_EQ(Read("Software\\No Such Key", "").status, platform::RegistryStatus::KeyNotOpened);
}

// Names and folders of this system; the end-to-end runs prove the ordinary answers, these the
// buffers that are too small and the queries that find nothing.
TEST(Win32System, NamesFoldersAndSockets) {
    auto& sys = platform::Sys();
    EXPECT_TRUE(sys.SystemFolder(MAX_PATH).ends_with("\\system32")) << sys.SystemFolder(MAX_PATH);
    EXPECT_EQ(sys.SystemFolder(3), "");
    const auto computer = sys.ComputerName(16);
    ASSERT_TRUE(computer);
    EXPECT_FALSE(computer->empty());
    EXPECT_FALSE(sys.ComputerName(computer->size())) << "a name that does not fit fails";
    EXPECT_TRUE(sys.SpecialFolder(8)); // Recent
    EXPECT_FALSE(sys.SpecialFolder(0x7FFF));
    auto& net = platform::Net();
    const auto sockets = net.StartSockets(0x0101);
    ASSERT_TRUE(sockets);
    EXPECT_EQ(sockets->version, 0x0101);
    const auto host = net.HostName(256);
    net.StopSockets();
    ASSERT_TRUE(host);
    EXPECT_FALSE(host->empty());
    EXPECT_FALSE(net.ShareLocalPath("\\\\NO-SUCH-SERVER-LDGR", "DATA", 256));
}

// A character the code page lacks becomes "?", never a look-alike that names another file. The
// message-box log is UTF-8: bytes 0x80 to 0x9F are the code page's characters there (the euro
// sign), not control characters.
TEST(Win32Text, ConversionsGoThroughTheCodePage) {
    EXPECT_EQ(platform::win32::FromWide(L"a\u0141b\uFF02c"), "a?b?c");
    EXPECT_EQ(platform::win32::FromWide(L"caf\u00E9"), "caf\xE9");
    EXPECT_EQ(platform::win32::ToUtf8("\x80 caf\xE9"), "\xE2\x82\xAC caf\xC3\xA9");
}

} // namespace
