// The permission probe (hosted build only: missing rights are probed as the user nobody).
#include "ledgerline/common/Access.h"

#include "ledgerline/platform/Forwarding.h"
#include "ledgerline/platform/Platform.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"
#include "support/posix/Unprivileged.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using ldgr::test::LockHolder;

// One mode for owner, group and others: the same to nobody and to the folders' owner.
constexpr auto kReadOnly = static_cast<fs::perms>(0555);
constexpr auto kOpen = static_cast<fs::perms>(0777);
constexpr auto kPassOnly = static_cast<fs::perms>(0111);
constexpr auto kReadableFile = static_cast<fs::perms>(0444);
constexpr auto kWritableFile = static_cast<fs::perms>(0666);

// Folders under the prefix for the user nobody: the prefix itself must be passable.
class Probe : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        fs::permissions(Prefix(), fs::perms::all);
    }

    // A folder of drive C: holding files readable by all, then given its mode.
    fs::path Folder(const std::string& name, fs::perms mode,
                    const std::vector<std::string>& files = {}) {
        const fs::path folder = Host("drive_c/" + name);
        MakeHostFolders(folder);
        for (const std::string& file : files) {
            WriteHostFile(folder / file, "content");
            fs::permissions(folder / file, kReadableFile);
        }
        fs::permissions(folder, mode);
        return folder;
    }

    static std::string Unprivileged(const std::function<std::string()>& probe) {
        return ldgr::test::RunUnprivileged(probe).value_or("(the user nobody cannot be taken)");
    }
};

// A dot in a folder's name makes it a file name, whose folder is probed.
TEST_F(Probe, FolderAndFileWords) {
    Folder("readonly", kReadOnly, {"a.txt"});
    Folder("emptyreadonly", kReadOnly);
    Folder("open", kOpen);
    Folder("open.data", kOpen);
    Folder("open.data/sub", kReadOnly);
    Folder("unlisted", kPassOnly, {"a.txt"});
    const fs::path files = Folder("files", kOpen, {"writable.ini", "readonly.ini", ".hidden"});
    fs::permissions(files / "writable.ini", kWritableFile);
    fs::permissions(files / ".hidden", kWritableFile);
    const auto folder = BCommon::GetFolderAccess;
    const auto file = BCommon::GetFileAccess;
    const std::tuple<const char*, std::string (*)(const std::string&), const char*> cases[] = {
        {"C:\\readonly", folder, "listreaddelete"},
        {"C:\\emptyreadonly", folder, "delete"},
        {"C:\\open", folder, "writelistreaddelete"},
        {"C:\\open.data\\sub", folder, "writelistreaddelete"},
        {"C:\\unlisted", folder, "delete"},
        {"", folder, ""},
        {"C:\\files\\writable.ini", file, "writelistread"},
        {"C:\\files\\readonly.ini", file, "listread"},
        {"C:\\files\\.hidden", file, "read"},
        {"C:\\files\\missing.ini", file, ""},
        {"C:\\files", file, ""},
        {"", file, ""}};
    for (const auto& [path, probe, word] : cases) {
        EXPECT_EQ(Unprivileged([&path = path, probe = probe] { return probe(path); }), word)
            << path;
    }
    EXPECT_TRUE(fs::is_empty(Host("drive_c/open"))) << "the test file is removed";
    EXPECT_EQ(ReadHostFile(files / "writable.ini"), "content") << "nothing is appended";
}

// The real files; the first record moved away after the listing when asked; reads counted.
class RecordMovedAway final : public platform::ForwardingFiles {
public:
    bool moveRecordAway = false;
    int reads = 0;

    void VisitInOrder(const std::string& pattern, platform::FindDetail detail,
                      const platform::FindVisitor& visit) override {
        if (!moveRecordAway) {
            return Underneath().VisitInOrder(pattern, detail, visit);
        }
        std::vector<platform::FindEntry> found = Underneath().FindAll(pattern, detail);
        const auto record = std::find_if(found.begin(), found.end(), [](const auto& entry) {
            return entry.name.starts_with("~job");
        });
        if (record != found.end()) {
            const std::string folder = pattern.substr(0, pattern.rfind('\\') + 1);
            Underneath().MoveFileNoReplace(folder + record->name, folder + "moved.prt");
            std::rotate(found.begin(), record, record + 1);
        }
        for (const platform::FindEntry& entry : found) {
            if (!visit(entry)) {
                return;
            }
        }
    }
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override {
        reads += mode == platform::OpenMode::Input ? 1 : 0;
        return Underneath().OpenText(path, mode, share);
    }
};

// Held files, other probes' test files and a record moved away say nothing about the folder;
// the first file is the first of the world's sorted listing.
TEST_F(Probe, FilesThatSayNothingAboutTheFolderArePassedOver) {
    const std::pair<const char*, const char*> held[] = {
        {"a.txt", "writelistdelete"},
        {"test-0000000000000000.txt", "writelistreaddelete"},
    };
    std::vector<std::string> names(1);
    for (int n = 1; n <= 40; ++n) {
        names.push_back("z" + std::to_string(n) + ".txt");
    }
    RecordMovedAway files;
    const platform::ScopedServices services({.files = &files});
    for (const auto& [name, words] : held) {
        names.front() = name;
        const fs::path folder = Folder("held", kOpen, names);
        const LockHolder holder(folder / name, LockHolder::Kind::Exclusive);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(BCommon::GetFolderAccess("C:\\held"), words) << name;
        fs::remove(folder / name);
    }
    Folder("jobs", kOpen, {"~job1.tmp", "~job2.tmp", "~job3.tmp"});
    files.moveRecordAway = true;
    files.reads = 0;
    EXPECT_EQ(BCommon::GetFolderAccess("C:\\jobs"), "writelistreaddelete");
    EXPECT_TRUE(fs::exists(Host("drive_c/jobs/moved.prt")));
    EXPECT_EQ(files.reads, 2) << "the moved record, then the first file read";
}

} // namespace
