// Hosted-only: file search, folder creation, copy, move, delete and text files of the hosted
// file system, with the classic error numbers.
#include "platform/Error.h"
#include "platform/Platform.h"
#include "support/HostedWorld.h"
#include "support/LockHolder.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using ldgr::test::LockHolder;
using platform::FindEntry;
using platform::OpenMode;
using platform::ShareMode;

// 2001-02-03 04:05:06.5 UTC, as the host and as a FILETIME.
constexpr timespec kKnownTime{981173106, 500000000};
constexpr std::uint64_t kKnownFileTime = 116444736000000000ull + 9811731065000000ull;

// The error number an operation raises; 0 when it succeeds.
int ErrorOf(const std::function<void()>& operation) {
    try {
        operation();
        return 0;
    } catch (const ldgr::Error& e) {
        return e.Number();
    }
}

std::vector<std::string> NamesOf(const std::vector<FindEntry>& entries) {
    std::vector<std::string> names;
    for (const FindEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

// C:\jobs holds b.prt, A.prt, c.dat, readme, .hidden and the folder Sub; D: is a host folder.
class HostedFiles : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(Jobs() + "/Sub");
        for (const char* name : {"b.prt", "A.prt", "c.dat", "readme", ".hidden"}) {
            WriteHostFile(Jobs() + "/" + name, name);
        }
        MakeHostFolders(Scratch() + "/d");
        LinkDrive('d', Scratch() + "/d");
        MakeHostFolders(Host("dosdevices/unc/FileSrv/Share/Sub"));
        WriteHostFile(Host("dosdevices/unc/FileSrv/Share/x.txt"), "");
    }

    std::string Jobs() const { return Host("drive_c/jobs"); }

    static void SetModified(const std::string& hostPath, timespec when) {
        const timespec times[2] = {when, when};
        ASSERT_EQ(utimensat(AT_FDCWD, hostPath.c_str(), times, 0), 0);
    }

    static std::uint64_t FileTimeOf(const std::string& hostPath) {
        struct stat info {};
        stat(hostPath.c_str(), &info);
        return 116444736000000000ull + static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 10000000 +
               static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
    }

    static void MakeReadOnly(const std::string& hostPath) {
        fs::permissions(hostPath,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    platform::FileSystem& files = platform::Files();
};

TEST_F(HostedFiles, ListingsMatchPatternsInWindowsOrder) {
    fs::current_path(Jobs());
    struct Case {
        std::string pattern;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"C:\\jobs\\*", {".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme", "Sub"}},
        {"c:\\JOBS\\*.PRT", {"A.prt", "b.prt"}},
        {"C:\\jobs\\*.", {".", "..", "readme", "Sub"}},
        {"C:\\jobs\\?.*", {".", "..", ".hidden", "A.prt", "b.prt", "c.dat"}},
        {"C:\\jobs\\sub", {"Sub"}},
        {"C:\\jobs\\nothing*", {}},
        {"C:\\missing\\*", {}},
        {"C:\\jobs\\", {}},
        {"*.dat", {"c.dat"}},
        {"*", {".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme", "Sub"}},
        // Roots have no "." and "..".
        {"C:\\*", {"jobs", "Program Files", "users", "windows"}},
        {"D:\\*", {}},
        {"C:\\jobs\\..\\*", {"jobs", "Program Files", "users", "windows"}},
        {"\\\\FileSrv\\Share\\*", {"Sub", "x.txt"}},
        {"\\\\FileSrv\\Share\\Sub\\*", {".", ".."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(NamesOf(files.FindAll(c.pattern)), c.names);
        const auto first = files.FindFirst(c.pattern);
        if (c.names.empty()) {
            EXPECT_FALSE(first.has_value());
        } else {
            ASSERT_TRUE(first.has_value());
            EXPECT_EQ(first->name, c.names.front());
        }
    }
}

TEST_F(HostedFiles, EntriesCarryAttributesAndLastWriteTime) {
    SetModified(Jobs() + "/A.prt", kKnownTime);
    SetModified(Jobs() + "/Sub", kKnownTime);
    MakeReadOnly(Jobs() + "/c.dat");
    struct Case {
        std::string name;
        bool folder, hidden, readOnly;
    };
    const Case cases[] = {
        {".", true, false, false},       {"..", true, false, false},
        {".hidden", false, true, false}, {"A.prt", false, false, false},
        {"c.dat", false, false, true},   {"Sub", true, false, false},
    };
    std::vector<FindEntry> entries = files.FindAll("C:\\jobs\\*");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const FindEntry& e) { return e.name == c.name; });
        ASSERT_NE(entry, entries.end());
        EXPECT_EQ(entry->isFolder, c.folder);
        EXPECT_EQ(entry->isHidden, c.hidden);
        EXPECT_EQ(entry->isReadOnly, c.readOnly);
        EXPECT_FALSE(entry->isSystem);
        EXPECT_EQ(entry->IsOrdinaryFile(), !c.folder && !c.hidden);
    }
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->lastWriteTime, kKnownFileTime);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->name, "A.prt");
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->size, 5u);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\S*")->lastWriteTime, kKnownFileTime);
    // Before 1970 the host time is negative.
    SetModified(Jobs() + "/b.prt", {-86400, 0});
    EXPECT_EQ(files.FindFirst("C:\\jobs\\b.prt")->lastWriteTime,
              116444736000000000ull - 864000000000ull);
}

TEST_F(HostedFiles, CreateFolder) {
    const std::pair<std::string, int> cases[] = {
        {"C:\\jobs\\New", 0},     {"C:\\JOBS\\SUB", ldgr::kPathFileAccessError},
        {"C:\\jobs\\readme", 75}, {"C:\\nowhere\\New", ldgr::kPathNotFound},
        {"D:\\new\\", 0},         {"\\\\NoServer\\share\\x", ldgr::kPathNotFound},
    };
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { files.CreateFolder(path); }), error);
    }
    EXPECT_TRUE(fs::is_directory(Jobs() + "/New"));
    EXPECT_TRUE(fs::is_directory(Scratch() + "/d/new"));
}

TEST_F(HostedFiles, CopyReplacesTheTargetAndKeepsTheLastWriteTime) {
    SetModified(Jobs() + "/A.prt", kKnownTime);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\jobs\\a.prt", "D:\\copy.prt"); }), 0);
    EXPECT_EQ(ErrorOf([&] { files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\B.PRT"); }), 0);
    EXPECT_EQ(ReadHostFile(Scratch() + "/d/copy.prt"), "A.prt");
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "A.prt");
    EXPECT_EQ(FileTimeOf(Jobs() + "/b.prt"), kKnownFileTime);
    EXPECT_FALSE(HostExists(Jobs() + "/B.PRT"));
}

TEST_F(HostedFiles, FailedCopiesChangeNothing) {
    MakeReadOnly(Jobs() + "/c.dat");
    const std::tuple<std::string, std::string, int> cases[] = {
        {"C:\\jobs\\missing", "D:\\x", ldgr::kFileNotFound},
        {"C:\\nowhere\\a", "D:\\x", ldgr::kPathNotFound},
        {"C:\\jobs\\a.prt", "D:\\nowhere\\x", ldgr::kPathNotFound},
        {"C:\\jobs\\a.prt", "C:\\jobs\\c.dat", ldgr::kPermissionDenied},
        {"C:\\jobs\\a.prt", "C:\\jobs\\sub", ldgr::kPermissionDenied},
    };
    for (const auto& [from, to, error] : cases) {
        SCOPED_TRACE(from + " -> " + to);
        EXPECT_EQ(ErrorOf([&] { files.CopyFile(from, to); }), error);
    }
    EXPECT_EQ(ReadHostFile(Jobs() + "/c.dat"), "c.dat");
    EXPECT_TRUE(fs::is_directory(Jobs() + "/Sub"));
    EXPECT_EQ(NamesOf(files.FindAll("C:\\jobs\\*")),
              (std::vector<std::string>{".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme",
                                        "Sub"}));
    EXPECT_TRUE(fs::is_empty(Scratch() + "/d"));
}

TEST_F(HostedFiles, RelativePatternInARootListsNoDots) {
    fs::current_path(Scratch() + "/d");
    WriteHostFile(Scratch() + "/d/a.txt", "");
    EXPECT_EQ(NamesOf(files.FindAll("*")), std::vector<std::string>{"a.txt"});
}

TEST_F(HostedFiles, MoveNeverReplaces) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"C:\\jobs\\a.prt", "C:\\jobs\\B.prt", ldgr::kFileAlreadyExists},
        {"C:\\jobs\\missing", "C:\\jobs\\new", ldgr::kFileNotFound},
        {"C:\\jobs\\a.prt", "C:\\nowhere\\new", ldgr::kPathNotFound},
        {"C:\\jobs\\a.prt", "C:\\jobs\\1.prt", 0},
    };
    for (const auto& [from, to, error] : cases) {
        SCOPED_TRACE(from + " -> " + to);
        EXPECT_EQ(ErrorOf([&] { files.MoveFileNoReplace(from, to); }), error);
    }
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "b.prt");
    EXPECT_EQ(ReadHostFile(Jobs() + "/1.prt"), "A.prt");
    EXPECT_FALSE(HostExists(Jobs() + "/A.prt"));
}

TEST_F(HostedFiles, Delete) {
    MakeReadOnly(Jobs() + "/c.dat");
    const std::pair<std::string, int> cases[] = {
        {"C:\\jobs\\A.PRT", 0},
        {"C:\\jobs\\a.prt", ldgr::kFileNotFound},
        {"C:\\nowhere\\a.prt", ldgr::kPathNotFound},
        {"C:\\jobs\\Sub", ldgr::kPathFileAccessError},
        {"C:\\jobs\\c.dat", ldgr::kPermissionDenied},
    };
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { files.DeleteFile(path); }), error);
    }
    EXPECT_TRUE(HostExists(Jobs() + "/c.dat"));
}

TEST_F(HostedFiles, TextFilesForOutputAppendAndInput) {
    auto out = files.OpenText("C:\\jobs\\README", OpenMode::Output);
    out->Write("one\r\n");
    out->Close();
    auto more = files.OpenText("C:\\jobs\\readme", OpenMode::Append);
    more->Write("two\r\n");
    more->Close();
    EXPECT_EQ(files.OpenText("c:\\jobs\\readme", OpenMode::Input)->ReadAll(), "one\r\ntwo\r\n");
    files.OpenText("D:\\new.txt", OpenMode::Append)->Write("x");
    EXPECT_EQ(ReadHostFile(Scratch() + "/d/new.txt"), "x");
    EXPECT_EQ(ErrorOf([&] { out->Write("late"); }), ldgr::kBadFileNameOrNumber);
}

TEST_F(HostedFiles, TextFilesThatCannotOpen) {
    MakeReadOnly(Jobs() + "/c.dat");
    const std::tuple<std::string, OpenMode, int> cases[] = {
        {"C:\\jobs\\missing.txt", OpenMode::Input, ldgr::kFileNotFound},
        {"C:\\nowhere\\x.txt", OpenMode::Input, ldgr::kPathNotFound},
        {"C:\\nowhere\\x.txt", OpenMode::Output, ldgr::kPathNotFound},
        {"C:\\nowhere\\x.txt", OpenMode::Append, ldgr::kPathNotFound},
        {"C:\\jobs\\Sub", OpenMode::Input, ldgr::kPathFileAccessError},
        {"C:\\jobs\\Sub", OpenMode::Output, ldgr::kPathFileAccessError},
        {"C:\\jobs\\c.dat", OpenMode::Output, ldgr::kPermissionDenied},
        {"C:\\jobs\\c.dat", OpenMode::Append, ldgr::kPermissionDenied},
    };
    for (const auto& [path, mode, error] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&] { files.OpenText(path, mode); }), error);
    }
    EXPECT_EQ(ReadHostFile(Jobs() + "/c.dat"), "c.dat");
    EXPECT_EQ(files.OpenText("C:\\jobs\\c.dat", OpenMode::Input)->ReadAll(), "c.dat");
}

TEST_F(HostedFiles, ExclusiveOpensSeeOtherProcesses) {
    struct Case {
        LockHolder::Kind held;
        OpenMode mode;
        ShareMode share;
        bool refused;
    };
    const Case cases[] = {
        {LockHolder::Kind::Shared, OpenMode::Append, ShareMode::Exclusive, true},
        {LockHolder::Kind::Exclusive, OpenMode::Append, ShareMode::Exclusive, true},
        {LockHolder::Kind::Exclusive, OpenMode::Output, ShareMode::DenyNone, true},
        {LockHolder::Kind::Exclusive, OpenMode::Input, ShareMode::DenyNone, true},
        {LockHolder::Kind::Shared, OpenMode::Output, ShareMode::DenyNone, false},
        {LockHolder::Kind::Shared, OpenMode::Input, ShareMode::DenyNone, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(&c - cases));
        WriteHostFile(Jobs() + "/c.dat", "kept");
        LockHolder holder(Jobs() + "/c.dat", c.held);
        ASSERT_TRUE(holder.Holding());
        try {
            files.OpenText("C:\\jobs\\C.DAT", c.mode, c.share);
            EXPECT_FALSE(c.refused);
        } catch (const ldgr::Error& e) {
            EXPECT_TRUE(c.refused);
            EXPECT_EQ(e.Number(), ldgr::kPermissionDenied);
            EXPECT_TRUE(e.IsSharingViolation());
            EXPECT_EQ(ReadHostFile(Jobs() + "/c.dat"), "kept");
        }
    }
}

TEST_F(HostedFiles, ExclusiveOpenKeepsOthersOutUntilClosed) {
    auto mine = files.OpenText("C:\\jobs\\c.dat", OpenMode::Append, ShareMode::Exclusive);
    EXPECT_EQ(ErrorOf([&] { files.OpenText("C:\\jobs\\c.dat", OpenMode::Input); }),
              ldgr::kPermissionDenied);
    mine->Close();
    EXPECT_EQ(ErrorOf([&] { files.OpenText("C:\\jobs\\c.dat", OpenMode::Input); }), 0);
    LockHolder other(Jobs() + "/c.dat", LockHolder::Kind::Shared);
    EXPECT_TRUE(other.Holding());
}

TEST_F(HostedFiles, FilesAnotherProcessHoldsExclusivelyAreNeitherReplacedNorDeleted) {
    const std::function<void(platform::FileSystem&)> operations[] = {
        [](platform::FileSystem& fs) { fs.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\c.dat"); },
        [](platform::FileSystem& fs) { fs.DeleteFile("C:\\jobs\\c.dat"); },
    };
    for (const auto& operation : operations) {
        SCOPED_TRACE(static_cast<int>(&operation - operations));
        WriteHostFile(Jobs() + "/c.dat", "c.dat");
        {
            LockHolder holder(Jobs() + "/c.dat", LockHolder::Kind::Exclusive);
            ASSERT_TRUE(holder.Holding());
            EXPECT_EQ(ErrorOf([&] { operation(files); }), ldgr::kPermissionDenied);
            EXPECT_EQ(ReadHostFile(Jobs() + "/c.dat"), "c.dat");
        }
        // A holder that shares the file lets it be replaced or deleted.
        LockHolder reader(Jobs() + "/c.dat", LockHolder::Kind::Shared);
        ASSERT_TRUE(reader.Holding());
        EXPECT_EQ(ErrorOf([&] { operation(files); }), 0);
    }
}

} // namespace
