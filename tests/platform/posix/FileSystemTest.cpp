// Hosted-only: file search, folder creation, copy, move, delete and text files of the hosted
// file system, with the classic error numbers.
#include "platform/Error.h"
#include "platform/Platform.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

    static void MakeReadOnly(const std::string& hostPath) {
        fs::permissions(hostPath,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }

    // A link planted where the copy's temporary file once had its name, ".ldgrcopy.<pid>.tmp",
    // pointing at a file to be made in D: (a listing leaves the dangling link out).
    void PlantLinkAtTheOldTemporaryName() {
        fs::create_symlink(Scratch() + "/d/victim",
                           Jobs() + "/.ldgrcopy." + std::to_string(getpid()) + ".tmp");
    }

    platform::FileSystem& files = platform::Files();
};

TEST_F(HostedFiles, ListingsMatchPatternsInWindowsOrder) {
    fs::current_path(Jobs());
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"C:\\jobs\\*", {".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme", "Sub"}},
        {"c:\\JOBS\\*.PRT", {"A.prt", "b.prt"}},
        {"C:/jobs/*.prt", {"A.prt", "b.prt"}},
        {"C:\\jobs\\sub", {"Sub"}},
        {"C:\\jobs\\nothing*", {}},
        {"C:\\missing\\*", {}},
        {"C:\\jobs\\", {}},
        {"*", {".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme", "Sub"}},
        // Roots have no "." and "..".
        {"C:\\*", {"jobs", "Program Files", "users", "windows"}},
        {"D:\\*", {}},
        {"C:\\jobs\\..\\*", {"jobs", "Program Files", "users", "windows"}},
        {"\\\\FileSrv\\Share\\*", {"Sub", "x.txt"}},
        {"\\\\FileSrv\\Share\\Sub\\*", {".", ".."}},
    };
    for (const auto& [pattern, names] : cases) {
        SCOPED_TRACE(pattern);
        EXPECT_EQ(NamesOf(files.FindAll(pattern)), names);
        const auto first = files.FindFirst(pattern);
        EXPECT_EQ(first ? first->name : "(none)", names.empty() ? "(none)" : names.front());
    }
    fs::current_path(Scratch() + "/d");
    EXPECT_TRUE(files.FindAll("*").empty());
}

TEST_F(HostedFiles, EntriesCarryAttributesAndLastWriteTime) {
    SetModified(Jobs() + "/A.prt", kKnownTime);
    SetModified(Jobs() + "/Sub", kKnownTime);
    MakeReadOnly(Jobs() + "/c.dat");
    // Each name with its attributes: D folder, H hidden, R read-only, S system, o ordinary.
    std::string listing;
    for (const FindEntry& e : files.FindAll("C:\\jobs\\*")) {
        listing += e.name + ":" + (e.isFolder ? "D" : "") + (e.isHidden ? "H" : "") +
                   (e.isReadOnly ? "R" : "") + (e.isSystem ? "S" : "") +
                   (e.IsOrdinaryFile() ? "o" : "") + " ";
    }
    EXPECT_EQ(listing, ".:D ..:D .hidden:H A.prt:o b.prt:o c.dat:Ro readme:o Sub:D ");
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->lastWriteTime, kKnownFileTime);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->size, 5u);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\S*")->lastWriteTime, kKnownFileTime);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\S*")->size, 0u);
    // Before 1970 the host time is negative.
    SetModified(Jobs() + "/b.prt", {-86400, 0});
    EXPECT_EQ(files.FindFirst("C:\\jobs\\b.prt")->lastWriteTime,
              116444736000000000ull - 864000000000ull);
}

// Names are matched in any letter case; a copy replaces its target and keeps the source's
// time but not its read-only attribute, so it can be refreshed; a move takes a free name.
TEST_F(HostedFiles, CreateCopyMoveAndDelete) {
    SetModified(Jobs() + "/A.prt", kKnownTime);
    MakeReadOnly(Jobs() + "/A.prt");
    PlantLinkAtTheOldTemporaryName();
    files.CreateFolder("C:\\jobs\\New");
    files.CreateFolder("D:\\new\\");
    files.CopyFile("C:\\jobs\\a.prt", "D:\\copy.prt");
    files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\B.PRT");
    files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\B.PRT");
    files.MoveFileNoReplace("C:\\jobs\\readme", "C:\\jobs\\1.prt");
    files.DeleteFile("C:\\jobs\\C.DAT");
    EXPECT_EQ(
        NamesOf(files.FindAll("C:\\jobs\\*")),
        (std::vector<std::string>{".", "..", ".hidden", "1.prt", "A.prt", "b.prt", "New", "Sub"}));
    EXPECT_EQ(NamesOf(files.FindAll("D:\\*")), (std::vector<std::string>{"copy.prt", "new"}));
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "A.prt");
    EXPECT_EQ(files.FindFirst("C:\\jobs\\b.prt")->lastWriteTime, kKnownFileTime);
    EXPECT_FALSE(files.FindFirst("C:\\jobs\\b.prt")->isReadOnly);
    EXPECT_TRUE(files.FindFirst("C:\\jobs\\a.prt")->isReadOnly);
    EXPECT_EQ(ReadHostFile(Jobs() + "/1.prt"), "readme");
}

// Files larger than the pieces they are compared in: the last byte, or one byte more, differs.
TEST_F(HostedFiles, SameBytesAreComparedToTheLastByte) {
    const std::string big(200'000, 'x');
    for (const auto& [name, content] :
         {std::pair{"same", big}, {"last", big.substr(1) + "y"}, {"longer", big + "x"}}) {
        WriteHostFile(Jobs() + "/" + name, content);
    }
    WriteHostFile(Jobs() + "/big", big);
    EXPECT_TRUE(files.HaveSameBytes("C:\\jobs\\big", "C:\\jobs\\SAME"));
    EXPECT_FALSE(files.HaveSameBytes("C:\\jobs\\big", "C:\\jobs\\last"));
    EXPECT_FALSE(files.HaveSameBytes("C:\\jobs\\big", "C:\\jobs\\longer"));
    EXPECT_EQ(ErrorOf([&] { files.HaveSameBytes("C:\\jobs\\big", "C:\\jobs\\none"); }),
              ldgr::kFileNotFound);
}

// Each failure raises its classic number and leaves every file as it was. What is not an
// ordinary file is refused at once, never waited on: should an open or a copy wait on the FIFO,
// which nobody holds open, the alarm ends the run instead of letting it hang.
TEST_F(HostedFiles, FailuresCarryTheClassicNumbersAndChangeNothing) {
    MakeReadOnly(Jobs() + "/c.dat");
    fs::create_symlink(Scratch() + "/d/victim", Jobs() + "/planted");
    const std::string fifo = Scratch() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    alarm(30);
    const std::string fifoPath = "Z:" + fifo;
    const auto open = [&](const std::string& path, OpenMode mode) {
        return [&, path, mode] { files.OpenText(path, mode); };
    };
    const std::pair<int, std::function<void()>> cases[] = {
        {ldgr::kPathFileAccessError, [&] { files.CreateFolder("C:\\JOBS\\SUB"); }},
        {ldgr::kPathFileAccessError, [&] { files.CreateFolder("C:\\jobs\\readme"); }},
        {ldgr::kPathNotFound, [&] { files.CreateFolder("C:\\nowhere\\New"); }},
        {ldgr::kPathNotFound, [&] { files.CreateFolder("\\\\NoServer\\share\\x"); }},
        {ldgr::kFileNotFound, [&] { files.CopyFile("C:\\jobs\\missing", "D:\\x"); }},
        {ldgr::kPathNotFound, [&] { files.CopyFile("C:\\nowhere\\a", "D:\\x"); }},
        {ldgr::kPathNotFound, [&] { files.CopyFile("C:\\jobs\\a.prt", "D:\\nowhere\\x"); }},
        {ldgr::kPermissionDenied, [&] { files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\c.dat"); }},
        {ldgr::kPermissionDenied, [&] { files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\sub"); }},
        {ldgr::kFileAlreadyExists,
         [&] { files.MoveFileNoReplace("C:\\jobs\\a.prt", "C:\\jobs\\B.prt"); }},
        {ldgr::kFileNotFound,
         [&] { files.MoveFileNoReplace("C:\\jobs\\missing", "C:\\jobs\\new"); }},
        {ldgr::kPathNotFound,
         [&] { files.MoveFileNoReplace("C:\\jobs\\a.prt", "C:\\nowhere\\x"); }},
        {ldgr::kFileNotFound, [&] { files.DeleteFile("C:\\jobs\\missing"); }},
        {ldgr::kPathNotFound, [&] { files.DeleteFile("C:\\nowhere\\a.prt"); }},
        {ldgr::kPathFileAccessError, [&] { files.DeleteFile("C:\\jobs\\Sub"); }},
        {ldgr::kPermissionDenied, [&] { files.DeleteFile("C:\\jobs\\c.dat"); }},
        {ldgr::kFileNotFound, [&] { files.OpenText("C:\\jobs\\missing.txt", OpenMode::Input); }},
        {ldgr::kPathNotFound, [&] { files.OpenText("C:\\nowhere\\x.txt", OpenMode::Input); }},
        {ldgr::kPathNotFound, [&] { files.OpenText("C:\\nowhere\\x.txt", OpenMode::Output); }},
        {ldgr::kPathFileAccessError, [&] { files.OpenText("C:\\jobs\\Sub", OpenMode::Input); }},
        {ldgr::kPathFileAccessError, [&] { files.OpenText("C:\\jobs\\Sub", OpenMode::Output); }},
        {ldgr::kPermissionDenied, [&] { files.OpenText("C:\\jobs\\c.dat", OpenMode::Output); }},
        {ldgr::kFileAlreadyExists, [&] { files.OpenText("C:\\jobs\\B.PRT", OpenMode::CreateNew); }},
        {ldgr::kFileAlreadyExists, [&] { files.OpenText("C:\\jobs\\c.dat", OpenMode::CreateNew); }},
        // A link planted at the name is neither followed nor replaced.
        {ldgr::kFileAlreadyExists,
         [&] { files.OpenText("C:\\jobs\\planted", OpenMode::CreateNew); }},
        {ldgr::kPermissionDenied, open("C:\\jobs\\c.dat", OpenMode::Replace)},
        {ldgr::kPathFileAccessError, open("C:\\jobs\\Sub", OpenMode::Replace)},
        {ldgr::kPathNotFound, open("C:\\nowhere\\x.txt", OpenMode::Replace)},
        {ldgr::kPathFileAccessError, open(fifoPath, OpenMode::Input)},
        {ldgr::kPathFileAccessError, open(fifoPath, OpenMode::Append)},
        {ldgr::kPathFileAccessError, open(fifoPath, OpenMode::Output)},
        {ldgr::kPathFileAccessError, open(fifoPath, OpenMode::Replace)},
        {ldgr::kPathFileAccessError, [&] { files.CopyFile(fifoPath, "D:\\x"); }},
        {ldgr::kPathFileAccessError, open("Z:\\dev\\null", OpenMode::Input)},
        {ldgr::kPathFileAccessError, open("Z:\\dev\\null", OpenMode::Append)},
        {ldgr::kPathFileAccessError, [&] { files.CopyFile("Z:\\dev\\null", "D:\\x"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(ErrorOf(c.second), c.first);
    }
    EXPECT_EQ(NamesOf(files.FindAll("C:\\jobs\\*")),
              (std::vector<std::string>{".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "readme",
                                        "Sub"}));
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "b.prt");
    EXPECT_EQ(files.OpenText("C:\\jobs\\c.dat", OpenMode::Input)->ReadAll(), "c.dat");
    EXPECT_TRUE(fs::is_empty(Scratch() + "/d"));
    alarm(0);
}

// Output, append and input are what every run does; these are the corners it does not reach.
TEST_F(HostedFiles, OutputFindsTheFileInAnyCaseAndAClosedFileRefusesUse) {
    auto out = files.OpenText("C:\\jobs\\README", OpenMode::Output);
    out->Write("one\r\n");
    out->Close();
    EXPECT_EQ(ReadHostFile(Jobs() + "/readme"), "one\r\n");
    EXPECT_FALSE(HostExists(Jobs() + "/README"));
    EXPECT_EQ(ErrorOf([&] { out->Write("late"); }), ldgr::kBadFileNameOrNumber);
    auto fresh = files.OpenText("C:\\jobs\\fresh.tmp", OpenMode::CreateNew);
    fresh->Write("new");
    fresh->Close();
    EXPECT_EQ(ReadHostFile(Jobs() + "/fresh.tmp"), "new");
    files.OpenText("C:\\jobs\\empty", OpenMode::Output)->Close();
    EXPECT_EQ(files.OpenText("C:\\jobs\\empty", OpenMode::Input)->ReadAll(), "");
}

// A rewrite reaches its target only through a Close that succeeds: a file left unclosed, or one
// whose move fails, leaves the target as it was (or missing) and no temporary behind.
TEST_F(HostedFiles, ReplaceChangesTheTargetOnlyWhenClosed) {
    PlantLinkAtTheOldTemporaryName();
    const auto replace = [&](const std::string& path, const std::string& text) {
        auto file = files.OpenText(path, OpenMode::Replace);
        file->Write(text);
        return file;
    };
    replace("C:\\jobs\\b.prt", "half");
    replace("C:\\jobs\\fresh.txt", "half");
    const auto moveFails = replace("C:\\jobs\\late.txt", "late");
    MakeHostFolders(Jobs() + "/late.txt");
    EXPECT_EQ(ErrorOf([&] { moveFails->Close(); }), ldgr::kPathFileAccessError);
    replace("C:\\jobs\\A.PRT", "whole")->Close();
    replace("C:\\jobs\\new.txt", "new")->Close();
    const auto execute = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    EXPECT_EQ(fs::status(Jobs() + "/new.txt").permissions() & execute, fs::perms::none);
    fs::remove(Jobs() + "/new.txt");
    EXPECT_EQ(NamesOf(files.FindAll("C:\\jobs\\*")),
              (std::vector<std::string>{".", "..", ".hidden", "A.prt", "b.prt", "c.dat", "late.txt",
                                        "readme", "Sub"}));
    EXPECT_EQ(ReadHostFile(Jobs() + "/A.prt"), "whole");
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "b.prt");
    EXPECT_TRUE(fs::is_empty(Scratch() + "/d"));
}

// Another process holding the file exclusively keeps out every open, copy and delete; one that
// shares it keeps out only an exclusive open.
TEST_F(HostedFiles, FilesOtherProcessesHoldAreRefusedAsSharingViolations) {
    using Kind = LockHolder::Kind;
    const auto open = [&](OpenMode mode, ShareMode share) {
        return [&, mode, share] { files.OpenText("C:\\jobs\\C.DAT", mode, share); };
    };
    const std::function<void()> copyOnto = [&] {
        files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\c.dat");
    };
    const std::function<void()> remove = [&] { files.DeleteFile("C:\\jobs\\c.dat"); };
    const std::tuple<Kind, std::function<void()>, bool> cases[] = {
        {Kind::Shared, open(OpenMode::Append, ShareMode::Exclusive), true},
        {Kind::Exclusive, open(OpenMode::Append, ShareMode::Exclusive), true},
        {Kind::Exclusive, open(OpenMode::Output, ShareMode::DenyNone), true},
        {Kind::Exclusive, open(OpenMode::Input, ShareMode::DenyNone), true},
        {Kind::Exclusive, open(OpenMode::Replace, ShareMode::DenyNone), true},
        {Kind::Exclusive, copyOnto, true},
        {Kind::Exclusive, remove, true},
        {Kind::Shared, open(OpenMode::Output, ShareMode::DenyNone), false},
        {Kind::Shared, open(OpenMode::Input, ShareMode::DenyNone), false},
        {Kind::Shared, open(OpenMode::Replace, ShareMode::DenyNone), false},
        {Kind::Shared, copyOnto, false},
        {Kind::Shared, remove, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto& [held, operation, refused] = c;
        WriteHostFile(Jobs() + "/c.dat", "kept");
        LockHolder holder(Jobs() + "/c.dat", held);
        ASSERT_TRUE(holder.Holding());
        try {
            operation();
            EXPECT_FALSE(refused);
        } catch (const ldgr::Error& e) {
            EXPECT_TRUE(refused);
            EXPECT_EQ(e.Number(), ldgr::kPermissionDenied);
            EXPECT_TRUE(e.IsSharingViolation());
            EXPECT_EQ(ReadHostFile(Jobs() + "/c.dat"), "kept");
        }
    }
}

} // namespace
