// Hosted-only: file search and its patterns, folder creation, copy, move, delete and text files
// of the hosted file system, with the classic error numbers.
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"
#include "ledgerline/platform/posix/Hosted.h"
#include "support/ErrorOf.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"
#include "support/posix/Unprivileged.h"

#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace platform;
using namespace ldgr::test;
using Names = std::vector<std::string>;

// 2001-02-03 04:05:06.5 UTC, as the host and as a FILETIME.
constexpr timespec kKnownTime{981173106, 500000000};
constexpr std::uint64_t kKnownFileTime = 116444736000000000ull + 9811731065000000ull;

Names NamesOf(const std::vector<FindEntry>& entries) {
    Names names;
    for (const FindEntry& entry : entries) {
        names.push_back(entry.name);
    }
    return names;
}

// C:\jobs holds b.prt, A.prt, c.dat, readme, .h and the folder Sub; D: is a host folder.
class HostedFiles : public HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(Jobs() + "/Sub");
        for (const char* name : {"b.prt", "A.prt", "c.dat", "readme", ".h"}) {
            WriteHostFile(Jobs() + "/" + name, name);
        }
        MakeHostFolders(Scratch() + "/d");
        LinkDrive('d', Scratch() + "/d");
    }

    std::string Jobs() const { return Host("drive_c/jobs"); }
    Names JobNames() { return NamesOf(files.FindAll("C:\\jobs\\*")); }

    static void MakeReadOnly(const std::string& hostPath) {
        fs::permissions(hostPath, static_cast<fs::perms>(0444));
    }

    std::function<void()> Open(const std::string& path, OpenMode mode,
                               ShareMode share = ShareMode::DenyNone) {
        return [=, this] { files.OpenText(path, mode, share); };
    }

    FileSystem& files = Files();
    const Names kAll{".", "..", ".h", "A.prt", "b.prt", "c.dat", "readme", "Sub"};
};

// '?' takes one character but nothing at a dot or at the end of the name; '*' before a dot
// stops at the name's last dot; a dot before a wildcard or at the end also matches the end
// of a name without a dot.
TEST(Wildcards, MatchAsWindowsMatches) {
    const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>> cases[] = {
        {"*", {"abc", "."}, {}},
        {"*.*", {"abc", "a.b", ".profile", ".."}, {}},
        {"*.", {"abc", "."}, {"a.txt"}},
        {"*.TXT", {"abc.txt", "a.b.txt"}, {"abc.txtx", "abc.txt.bak"}},
        {"*.me.*", {"read.me.txt"}, {}},
        {"*b", {"ab"}, {"abc"}},
        {"a?c", {"abc"}, {"ac", "a.c"}},
        {"ab?", {"ab", "abc"}, {"abcd"}},
        {"ab?.txt", {"ab.txt", "abc.txt"}, {"abcd.txt"}},
        {"abc.*", {"abc", "abc.d"}, {"abcd"}},
        {"abc.?", {"abc", "abc.d"}, {"abc.de"}},
    };
    for (const auto& [pattern, matching, notMatching] : cases) {
        for (const auto& [names, matches] : {std::pair{matching, true}, {notMatching, false}}) {
            for (const std::string& name : names) {
                EXPECT_EQ(posix::MatchesPattern(name, pattern), matches)
                    << name << " ~ " << pattern;
            }
        }
    }
}

TEST_F(HostedFiles, ListingsMatchPatternsInWindowsOrder) {
    MakeHostFolders(Host("dosdevices/unc/FileSrv/Share/Sub"));
    WriteHostFile(Host("dosdevices/unc/FileSrv/Share/x.txt"), "");
    fs::current_path(Jobs());
    const Names drive{"jobs", "Program Files", "users", "windows"};
    const std::pair<std::string, Names> cases[] = {
        {"C:\\jobs\\*", kAll},
        {"c:\\JOBS/*.PRT", {"A.prt", "b.prt"}},
        {"C:\\jobs\\sub", {"Sub"}},
        {"C:\\jobs\\nothing*", {}},
        {"C:\\missing\\*", {}},
        {"*", kAll},
        // Roots have no "." and "..".
        {"C:\\*", drive},
        {"C:\\jobs\\..\\*", drive},
        {"\\\\FileSrv\\Share\\*", {"Sub", "x.txt"}},
        {"\\\\FileSrv\\Share\\Sub\\*", {".", ".."}},
    };
    for (const auto& [pattern, names] : cases) {
        SCOPED_TRACE(pattern);
        EXPECT_EQ(NamesOf(files.FindAll(pattern)), names);
        const auto first = files.FindFirst(pattern);
        EXPECT_EQ(first ? first->name : "(none)", names.empty() ? "(none)" : names.front());
    }
}

// Names match in any case; a copy replaces its target, keeping the source's time but not its
// read-only attribute; a move takes a free name. Attributes: D folder, H hidden, R read-only,
// S system, o ordinary.
TEST_F(HostedFiles, CreateCopyMoveAndDelete) {
    const timespec times[2] = {kKnownTime, kKnownTime};
    ASSERT_EQ(utimensat(AT_FDCWD, (Jobs() + "/A.prt").c_str(), times, 0), 0);
    MakeReadOnly(Jobs() + "/A.prt");
    files.CreateFolder("C:\\jobs\\New");
    files.CreateFolder("D:\\new\\");
    files.CopyFile("C:\\jobs\\a.prt", "D:\\copy.prt");
    files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\B.PRT");
    files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\B.PRT");
    files.MoveFileNoReplace("C:\\jobs\\readme", "C:\\jobs\\1.prt");
    files.DeleteFile("C:\\jobs\\C.DAT");
    std::string listing;
    for (const FindEntry& e : files.FindAll("C:\\jobs\\*")) {
        listing += e.name + ":" + (e.isFolder ? "D" : "") + (e.isHidden ? "H" : "") +
                   (e.isReadOnly ? "R" : "") + (e.isSystem ? "S" : "") +
                   (e.IsOrdinaryFile() ? "o" : "") + " ";
    }
    EXPECT_EQ(listing, ".:D ..:D .h:H 1.prt:o A.prt:Ro b.prt:o New:D Sub:D ");
    EXPECT_EQ(NamesOf(files.FindAll("D:\\*")), (Names{"copy.prt", "new"}));
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "A.prt");
    EXPECT_EQ(files.FindFirst("C:\\jobs\\b.prt")->lastWriteTime, kKnownFileTime);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\a.prt")->size, 5u);
    EXPECT_EQ(files.FindFirst("C:\\jobs\\S*")->size, 0u);
    EXPECT_EQ(ReadHostFile(Jobs() + "/1.prt"), "readme");
}

// Files compared or read on either side of the sizes they are handled in: the pieces of a
// comparison, the size from which a file read whole gets memory of its own, the huge pages that
// memory comes in; and a file holding more than its size told when the read began (the host
// sizes the files it makes up as it reads them as empty).
TEST_F(HostedFiles, FilesAreComparedAndReadToTheLastByte) {
    const std::string big(200'000, 'x');
    for (const auto& [content, holds] : {std::pair{big, true},
                                         {big.substr(1) + "y", false},
                                         {big + "x", false},
                                         {big.substr(1), false}}) {
        WriteHostFile(Jobs() + "/big", content);
        EXPECT_EQ(files.HoldsBytes("C:\\jobs\\BIG", big), holds) << content.size();
    }
    EXPECT_EQ(ErrorOf([&] { files.HoldsBytes("C:\\jobs\\none", big); }), ldgr::kFileNotFound);
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    std::string pattern(3 * kMegabyte + 7, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<char>(i % 251);
    }
    for (const std::size_t size :
         {kMegabyte - 1, kMegabyte, 2 * kMegabyte - 1, 2 * kMegabyte, pattern.size()}) {
        WriteHostFile(Jobs() + "/big", pattern.substr(0, size));
        EXPECT_EQ(files.OpenText("C:\\jobs\\big", OpenMode::Input)->ReadAllBytes().View(),
                  pattern.substr(0, size))
            << size;
    }
    ASSERT_EQ(fs::file_size("/proc/self/mountinfo"), 0u);
    const std::string mounts = ReadHostFile("/proc/self/mountinfo");
    EXPECT_EQ(files.OpenText("Z:\\proc\\self\\mountinfo", OpenMode::Input)->ReadAll(), mounts);
    EXPECT_EQ(files.OpenText("Z:\\proc\\self\\mountinfo", OpenMode::Input)->ReadAllBytes().View(),
              mounts);
    WriteHostFile(Jobs() + "/lines", "abc\r\ndef");
    const auto file = files.OpenText("C:\\jobs\\lines", OpenMode::Input);
    EXPECT_EQ(file->ReadAtMost(4), "abc\r");
    EXPECT_EQ(file->ReadAtMost(100), "\ndef");
    EXPECT_EQ(file->ReadAtMost(100), "");
}

// Each failure raises its classic number and changes nothing; a FIFO is refused at once (the
// alarm ends an open that waits on it). A link to a folder is a folder to the program; a file
// another program holds exclusively is not replaced.
TEST_F(HostedFiles, FailuresCarryTheClassicNumbersAndChangeNothing) {
    MakeReadOnly(Jobs() + "/c.dat");
    fs::create_symlink(Scratch() + "/d/victim", Jobs() + "/planted");
    fs::create_directory_symlink(Jobs() + "/Sub", Jobs() + "/SubLink");
    const std::string linked = "Z:" + Scratch() + "/linked";
    fs::create_symlink(Jobs() + "/b.prt", Scratch() + "/linked");
    fs::create_symlink(Jobs() + "/c.dat", Scratch() + "/linkedReadOnly");
    const std::string fifo = Scratch() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    const ldgr::test::LockHolder holder(Jobs() + "/readme",
                                        ldgr::test::LockHolder::Kind::Exclusive);
    alarm(30);
    using namespace ldgr;
    const std::pair<int, std::function<void()>> cases[] = {
        {kPathFileAccessError, [&] { files.CreateFolder("C:\\JOBS\\SUB"); }},
        {kFileNotFound, [&] { files.CopyFile("C:\\jobs\\missing", "D:\\x"); }},
        {kPathNotFound, [&] { files.CopyFile("C:\\jobs\\a.prt", "D:\\nowhere\\x"); }},
        {kPermissionDenied, [&] { files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\c.dat"); }},
        {kPermissionDenied, [&] { files.CopyFile("C:\\jobs\\a.prt", "C:\\jobs\\sub"); }},
        {kFileAlreadyExists,
         [&] { files.MoveFileNoReplace("C:\\jobs\\a.prt", "C:\\jobs\\B.prt"); }},
        {kFileNotFound, [&] { files.MoveFileNoReplace("C:\\jobs\\missing", "C:\\jobs\\new"); }},
        {kPathNotFound, [&] { files.MoveFileNoReplace("C:\\jobs\\a.prt", "C:\\nowhere\\x"); }},
        {kPermissionDenied, [&] { files.DeleteFile("C:\\jobs\\c.dat"); }},
        {kPathFileAccessError, [&] { files.DeleteFile("C:\\jobs\\Sub"); }},
        {kPathFileAccessError, [&] { files.DeleteFile("C:\\jobs\\SubLink"); }},
        {kPermissionDenied, Open("C:\\jobs\\c.dat", OpenMode::Output)},
        {kFileAlreadyExists, Open("C:\\jobs\\B.PRT", OpenMode::CreateNew)},
        // A link planted at the name is neither followed nor replaced.
        {kFileAlreadyExists, Open("C:\\jobs\\planted", OpenMode::CreateNew)},
        // Nor is a link written through, whatever it points to.
        {kPathFileAccessError, Open("C:\\jobs\\planted", OpenMode::Output)},
        {kPathFileAccessError, Open("Z:" + Scratch() + "/linkedReadOnly", OpenMode::Append)},
        {kPermissionDenied, Open("C:\\jobs\\c.dat", OpenMode::Replace)},
        {kPermissionDenied, Open("C:\\jobs\\readme", OpenMode::Replace)}, // held by another
        {kPathFileAccessError, Open("C:\\jobs\\Sub", OpenMode::Replace)},
        {kPathFileAccessError, Open("Z:" + fifo, OpenMode::Input)},
        {kPathFileAccessError, Open("Z:" + fifo, OpenMode::Replace)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(ErrorOf(c.second), c.first);
    }
    // The planted link is listed as the link itself, whose target is nowhere: its name is taken.
    EXPECT_EQ(JobNames(), (Names{".", "..", ".h", "A.prt", "b.prt", "c.dat", "planted", "readme",
                                 "Sub", "SubLink"}));
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "b.prt");
    EXPECT_EQ(files.OpenText("C:\\jobs\\c.dat", OpenMode::Input)->ReadAll(), "c.dat");
    EXPECT_EQ(files.OpenText(linked, OpenMode::Input)->ReadAll(), "b.prt") << "links are read";
    EXPECT_TRUE(fs::is_empty(Scratch() + "/d"));
    alarm(0);
}

// A rewrite reaches its target only through Close: a file left unclosed leaves the target as it
// was (or missing) and no temporary behind.
TEST_F(HostedFiles, ReplaceChangesTheTargetOnlyWhenClosed) {
    const auto replace = [&](const std::string& path, const std::string& text) {
        auto file = files.OpenText(path, OpenMode::Replace);
        file->Write(text);
        return file;
    };
    replace("C:\\jobs\\b.prt", "half");
    replace("C:\\jobs\\fresh.txt", "half");
    fs::permissions(Jobs() + "/A.prt", static_cast<fs::perms>(0640));
    replace("C:\\jobs\\A.PRT", "whole")->Close();
    EXPECT_EQ(JobNames(), kAll);
    EXPECT_EQ(ReadHostFile(Jobs() + "/A.prt"), "whole");
    EXPECT_EQ(fs::status(Jobs() + "/A.prt").permissions(), static_cast<fs::perms>(0640));
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "b.prt");
}

// Where the folder forbids new files a rewrite is made in place at Close, and says so; a missing
// or read-only target, a link at the name or a new folder stays refused.
TEST_F(HostedFiles, RewriteWhereTheFolderForbidsNewFilesIsMadeInPlace) {
    const std::string locked = Host("drive_c/locked");
    MakeHostFolders(locked);
    for (const auto& [name, mode] : {std::pair{"shared.ini", 0666}, {"readonly.ini", 0444}}) {
        WriteHostFile(locked + "/" + name, "old");
        fs::permissions(locked + "/" + name, static_cast<fs::perms>(mode));
    }
    fs::create_symlink(Scratch() + "/d/victim", locked + "/planted.ini");
    fs::permissions(locked, static_cast<fs::perms>(0555));
    fs::permissions(Prefix(), fs::perms::all);
    const auto rewrite = [&](const std::string& name) {
        const std::string host = locked + "/" + name;
        try {
            files.OpenText("C:\\locked\\" + name, OpenMode::Replace)->Write("dropped");
            auto file = files.OpenText("C:\\locked\\" + name, OpenMode::Replace);
            file->Write("new");
            const std::string before = ReadHostFile(host);
            file->Close();
            const std::int32_t closed = ldgr::test::ErrorOf([&] { file->Close(); });
            const std::int32_t written = ldgr::test::ErrorOf([&] { file->Write("late"); });
            return (file->WritesInPlace() ? "in place: " : "beside: ") + before + ", " +
                   ReadHostFile(host) + ", then " + std::to_string(closed) + " " +
                   std::to_string(written);
        } catch (const ldgr::Error& e) {
            return "error " + std::to_string(e.Number());
        }
    };
    const std::pair<const char*, const char*> cases[] = {
        {"shared.ini", "in place: old, new, then 52 52"}, // closed and written once closed
        {"missing.ini", "error 70"},
        {"readonly.ini", "error 70"},
        {"planted.ini", "error 75"},
    };
    for (const auto& [name, outcome] : cases) {
        EXPECT_EQ(ldgr::test::RunUnprivileged([&, &name = name] { return rewrite(name); }), outcome)
            << name;
    }
    EXPECT_EQ(ldgr::test::RunUnprivileged([&] {
                  return std::to_string(ErrorOf([&] { files.CreateFolder("C:\\locked\\new"); }));
              }),
              "75");
    // The planted link is still there, listed as itself; nothing was made where it points.
    EXPECT_EQ(NamesOf(files.FindAll("C:\\locked\\*")),
              (Names{".", "..", "planted.ini", "readonly.ini", "shared.ini"}));
    EXPECT_TRUE(fs::is_empty(Scratch() + "/d"));
}

// A temporary in use refuses deletion with 70 until closed or moved into place, as on Windows;
// a file open for output does not.
TEST_F(HostedFiles, TemporariesInUseCannotBeDeleted) {
    auto created = files.OpenText("C:\\jobs\\~job.tmp", OpenMode::CreateNew);
    auto replacing = files.OpenText("C:\\jobs\\b.prt", OpenMode::Replace);
    auto written = files.OpenText("C:\\jobs\\readme", OpenMode::Output);
    const std::vector<FindEntry> replacements = files.FindAll("C:\\jobs\\.ldgrcopy.*");
    ASSERT_EQ(replacements.size(), 1u);
    const std::string replacement = "C:\\jobs\\" + replacements[0].name;
    const std::pair<std::string, int> cases[] = {
        {"C:\\jobs\\~job.tmp", ldgr::kPermissionDenied},
        {replacement, ldgr::kPermissionDenied},
        {"C:\\jobs\\readme", 0},
    };
    for (const auto& [path, error] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ErrorOf([&, &path = path] { files.DeleteFile(path); }), error);
        EXPECT_NE(files.FindFirst(path).has_value(), error == 0);
    }
    created.reset();
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile("C:\\jobs\\~job.tmp"); }), 0);
    replacing->Write("new");
    replacing->Close();
    EXPECT_EQ(ReadHostFile(Jobs() + "/b.prt"), "new");
    EXPECT_EQ(ErrorOf([&] { files.DeleteFile("C:\\jobs\\b.prt"); }), 0);
}

} // namespace
