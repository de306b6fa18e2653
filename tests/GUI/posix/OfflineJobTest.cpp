// The job number and the record's way into the job folder: a real folder in a temporary
// prefix, whose listing and moves a test may script (hosted build only).
#include "GUI/OfflineJob.h"

#include "platform/Error.h"
#include "support/Forwarding.h"
#include "support/posix/HostedWorld.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using platform::FindEntry;

// The real folder, except that its listing may be given, something may happen right after the
// first listing, and the first moves may find their name taken by another program.
class ScriptedFolder final : public ldgr::test::ForwardingFiles {
public:
    std::optional<std::vector<FindEntry>> listing;
    std::function<void()> afterFirstListing;
    int movesToLose = 0;
    int listings = 0;
    int moves = 0;

    std::vector<FindEntry> FindAll(const std::string& pattern,
                                   platform::FindDetail detail) override {
        return Listed(Underneath().FindAll(pattern, detail));
    }
    std::vector<FindEntry> FindAllUnordered(const std::string& pattern,
                                            platform::FindDetail detail) override {
        return Listed(Underneath().FindAllUnordered(pattern, detail));
    }
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        if (moves++ < movesToLose) {
            throw ldgr::Error(ldgr::kFileAlreadyExists);
        }
        Underneath().MoveFileNoReplace(from, to);
    }

private:
    std::vector<FindEntry> Listed(std::vector<FindEntry> found) {
        if (++listings == 1 && afterFirstListing) {
            afterFirstListing();
        }
        return listing ? *listing : found;
    }
};

FindEntry File(const std::string& name) {
    return {.name = name};
}

class JobFolder : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(Folder());
    }

    std::string Folder() const { return Host("drive_c/jobs"); }

    static std::int16_t Log(ScriptedFolder& files) {
        const platform::ScopedServices services({.files = &files});
        return OfflineJob::LogOfflineJob("C:\\jobs", "PC17", "alice", "03/01/2026 1:05:03 PM");
    }

    // The folder's names, in byte order; the record of the case is taken out afterwards.
    std::vector<std::string> NamesThenRemove(const std::string& record) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        fs::remove(Folder() + "/" + record);
        return names;
    }
};

// The end-to-end runs show gaps and letter case; these are the edges of one listing.
TEST_F(JobFolder, LowestNumberFreeInOneListing) {
    std::vector<FindEntry> large;
    std::vector<FindEntry> full;
    for (int n = 1; n <= 32767; ++n) {
        full.push_back(File(std::to_string(n) + ".dat"));
        if (n <= 30000 && n != 29999) {
            large.push_back(File(std::to_string(n) + (n % 2 == 0 ? ".prt" : ".DAT")));
        }
    }
    struct Case {
        const char* what;
        std::vector<FindEntry> listing;
        int job; // 0: every number is taken
    };
    const Case cases[] = {
        {"no job files", {File("01.prt"), File("1.txt"), File("1.prt.bak"), File("+1.prt")}, 1},
        {"a folder blocks its .prt only",
         {{.name = "1.prt", .isFolder = true}, {.name = "2.dat", .isFolder = true}},
         2},
        {"a hidden or system file blocks its .prt only",
         {{.name = "1.prt", .isHidden = true},
          {.name = "2.prt", .isSystem = true},
          {.name = "3.dat", .isHidden = true}},
         3},
        {"30,000 jobs", large, 29999},
        {"every number taken", full, 0},
    };
    for (const Case& c : cases) {
        ScriptedFolder files;
        files.listing = c.listing;
        if (c.job == 0) {
            try {
                Log(files);
                ADD_FAILURE() << c.what << ": no error";
            } catch (const ldgr::Error& error) {
                EXPECT_EQ(error.Number(), ldgr::kOverflow) << c.what;
            }
            EXPECT_TRUE(fs::is_empty(Folder())) << c.what;
            continue;
        }
        const std::string record = std::to_string(c.job) + ".prt";
        EXPECT_EQ(Log(files), c.job) << c.what;
        EXPECT_EQ(files.listings, 1) << c.what;
        EXPECT_EQ(files.moves, 1) << c.what;
        EXPECT_EQ(NamesThenRemove(record), std::vector{record}) << c.what;
    }
}

// Numbers taken by others after the listing: a job file seen by name costs no move; a move
// that finds its name taken goes on to the listing's next free number, and the folder is
// listed again after three such losses in a row.
TEST_F(JobFolder, RacesLostMoveOnInTheSameListingThenListAgain) {
    WriteHostFile(Folder() + "/1.prt", "job");
    WriteHostFile(Folder() + "/3.dat", "job");
    struct Case {
        int lost;
        const char* madeMeanwhile;
        int job;
        int listings;
    };
    const Case cases[] = {
        {0, "", 2, 1}, {0, "2.PRT", 4, 1}, {2, "", 5, 1}, {3, "", 2, 2}, {4, "", 4, 2},
    };
    for (const Case& c : cases) {
        const std::string label = std::to_string(c.lost) + " lost, " + c.madeMeanwhile;
        ScriptedFolder files;
        files.movesToLose = c.lost;
        const std::string meanwhile = Folder() + "/" + c.madeMeanwhile;
        if (*c.madeMeanwhile != '\0') {
            files.afterFirstListing = [&] { WriteHostFile(meanwhile, "job"); };
        }
        EXPECT_EQ(Log(files), c.job) << label;
        EXPECT_EQ(files.listings, c.listings) << label;
        EXPECT_EQ(files.moves, c.lost + 1) << label;
        const std::string record = std::to_string(c.job) + ".prt";
        std::vector<std::string> expected{"1.prt", "3.dat", record};
        if (*c.madeMeanwhile != '\0') {
            expected.push_back(c.madeMeanwhile);
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(NamesThenRemove(record), expected) << label;
        if (*c.madeMeanwhile != '\0') {
            fs::remove(meanwhile);
        }
    }
}

} // namespace
