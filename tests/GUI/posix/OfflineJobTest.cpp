// The job number and the record's way into a real job folder (hosted build only).
#include "GUI/OfflineJob.h"

#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Forwarding.h"
#include "support/ErrorOf.h"
#include "support/FaultyFiles.h"
#include "support/posix/HostedWorld.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using ldgr::test::FaultyFiles;
using ldgr::test::FileCall;
using platform::FindEntry;

// Tries after which a job search that does not end is taken for one that never ends.
constexpr int kMovesBeforeGivingUp = 1000;

// The real folder, listed as given.
class ListedAs final : public platform::ForwardingFiles {
public:
    explicit ListedAs(std::vector<FindEntry> listing) : m_listing(std::move(listing)) {}

    void VisitUnordered(const std::string&, platform::FindDetail,
                        const platform::FindVisitor& visit) override {
        for (const FindEntry& entry : m_listing) {
            if (!visit(entry)) {
                return;
            }
        }
    }

private:
    std::vector<FindEntry> m_listing;
};

class JobFolder : public ldgr::test::HostedWorld {
protected:
    std::string Folder() const { return Host("drive_c/jobs"); }

    void Refill(const std::vector<std::string>& jobFiles) const {
        fs::remove_all(Folder());
        MakeHostFolders(Folder());
        for (const std::string& name : jobFiles) {
            WriteHostFile(Folder() + "/" + name, "job");
        }
    }

    // The folder's names, in byte order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::int16_t Log(platform::FileSystem& files) {
        const platform::ScopedServices services({.files = &files});
        return OfflineJob::LogOfflineJob("C:\\jobs", "PC17", "alice", "03/01/2026 1:05:03 PM");
    }
};

// The end-to-end runs show gaps, letter case and folders; these are the edges of one listing.
TEST_F(JobFolder, LowestNumberFreeInOneListing) {
    const std::pair<std::vector<FindEntry>, int> cases[] = {
        {{{.name = "01.prt"}, {.name = "+1.prt"}, {.name = "1.dat", .isFolder = true}}, 1},
        {{{.name = "1.prt", .isHidden = true},
          {.name = "2.prt", .isSystem = true},
          {.name = "3.dat", .isHidden = true},
          {.name = "3.prt.bak"}},
         3},
        // No number without its kind, nor from more digits than a job number has.
        {{{.name = "1"}, {.name = "4294967297.prt"}}, 1},
    };
    for (const auto& [listing, job] : cases) {
        SCOPED_TRACE(job);
        Refill({});
        ListedAs files(listing);
        EXPECT_EQ(Log(files), job);
        EXPECT_EQ(Names(), std::vector{std::to_string(job) + ".prt"});
    }
}

// Lost moves try the next free number; three list the folder again, the lost still taken.
TEST_F(JobFolder, RacesLostMoveOnInTheSameListingThenListAgain) {
    struct Case {
        int lost;
        std::string madeMeanwhile;
        int listings;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {0, "2.PRT", 1, {"1.prt", "2.PRT", "3.dat", "4.prt"}},
        {3, "", 2, {"1.prt", "3.dat", "6.prt"}},
    };
    for (const auto& [lost, madeMeanwhile, listings, names] : cases) {
        SCOPED_TRACE(lost);
        Refill({"1.prt", "3.dat"});
        FaultyFiles files;
        files.Fail(FileCall::Move, 1, ldgr::kFileAlreadyExists, lost);
        if (!madeMeanwhile.empty()) { // right after the first listing
            files.Before(FileCall::Find, 1, [&, made = madeMeanwhile] {
                WriteHostFile(Folder() + "/" + made, "job");
            });
        }
        Log(files);
        EXPECT_EQ(files.Calls(FileCall::List), listings);
        EXPECT_EQ(files.Calls(FileCall::Move), lost + 1);
        EXPECT_EQ(Names(), names);
    }
}

// Every number taken, or lost to other programs, ends with an overflow.
TEST_F(JobFolder, EveryNumberTakenOrLostEndsWithOverflow) {
    struct Case {
        const char* what = "";
        int listed = 0; // jobs 1 to this many
        bool refuseNewFiles = false;
        int moves = 0;
    };
    const Case cases[] = {
        {.what = "the last numbers lost", .listed = 32760, .moves = 7},
        {.what = "full and not writable", .listed = 32767, .refuseNewFiles = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Refill({});
        std::vector<FindEntry> listing;
        for (int job = 1; job <= c.listed; ++job) {
            listing.push_back({.name = std::to_string(job) + ".dat"});
        }
        ListedAs listed(std::move(listing));
        FaultyFiles files(listed);
        files.Fail(FileCall::Move, 1, ldgr::kFileAlreadyExists, kMovesBeforeGivingUp);
        if (c.refuseNewFiles) {
            files.Fail(FileCall::OpenToWrite, 1, ldgr::kPermissionDenied, files.kEvery);
        }
        EXPECT_EQ(ldgr::test::ErrorOf([&] { Log(files); }), ldgr::kOverflow);
        EXPECT_EQ(files.Calls(FileCall::Move), c.moves);
        EXPECT_EQ(Names(), std::vector<std::string>{});
    }
}

} // namespace
