// The debug log, the error report and the service-log probe (hosted: real files, a second
// process for the probe, a recording desktop for the report's box).
#include "common/Diagnostics.h"

#include "common/Environment.h"
#include "platform/Error.h"
#include "platform/Platform.h"
#include "support/HostedWorld.h"
#include "support/LockHolder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using BCommon::Env;
using ldgr::test::LockHolder;

// Keeps the boxes shown instead of showing them; everything else is the hosted desktop.
class RecordingDesktop final : public platform::Desktop {
public:
    struct Box {
        std::string title, text;
        std::int32_t style;
    };

    std::string ExeName() override { return platform::RealServices().desktop->ExeName(); }
    std::string AppPath() override { return platform::RealServices().desktop->AppPath(); }
    void SetTitle(const std::string& title) override { m_sTitle = title; }
    std::string Title() override { return m_sTitle; }
    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        boxes.push_back({title, text, style});
        return platform::kAnswerOk;
    }
    void ProcessPendingMessages() override {}

    std::vector<Box> boxes;

private:
    std::string m_sTitle;
};

class Diagnostics : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(LocalFolder());
        Env().m_sLocalUserPath = "C:\\users\\Anna\\LdgrApp\\";
        Env().m_sProductName = "Ledgerline";
        Env().m_sSupportPhone = "+1 555 0100";
    }

    std::string LocalFolder() const { return Host("drive_c/users/Anna/LdgrApp"); }
    std::string DebugLog() const { return LocalFolder() + "/ldgrmake.txt"; }
    std::string ServiceLog() const { return ProgramFolder() + "/ldgrsrvc.txt"; }
};

TEST_F(Diagnostics, DebugLogLines) {
    Env().m_bDebugLog = true;
    BCommon::WriteDebugLog("m_sLocalUserPath = C:\\users\\Anna\\LdgrApp\\");
    BCommon::WriteDebugLog("");
    BCommon::WriteDebugLog("first\r\nsecond");
    EXPECT_EQ(ReadHostFile(DebugLog()),
              "ldgrmake: m_sLocalUserPath = C:\\users\\Anna\\LdgrApp\\\r\n"
              "ldgrmake: \r\n"
              "ldgrmake: first\r\nsecond\r\n");
}

TEST_F(Diagnostics, DebugLogIsNamedAfterTheRunningProgram) {
    StartAs(ProgramFolder() + "/ldgrproc.exe");
    Env().m_bDebugLog = true;
    BCommon::WriteDebugLog("x");
    EXPECT_EQ(ReadHostFile(LocalFolder() + "/ldgrproc.txt"), "ldgrproc: x\r\n");
}

TEST_F(Diagnostics, LoggingOffTouchesNoFile) {
    Env().m_bDebugLog = false;
    BCommon::WriteDebugLog("never");
    EXPECT_FALSE(HostExists(DebugLog()));
    WriteHostFile(DebugLog(), "old\r\n");
    fs::permissions(DebugLog(), fs::perms::owner_read, fs::perm_options::replace);
    const auto before = fs::last_write_time(DebugLog());
    BCommon::WriteDebugLog("never");
    EXPECT_EQ(ReadHostFile(DebugLog()), "old\r\n");
    EXPECT_EQ(fs::last_write_time(DebugLog()), before);
}

TEST_F(Diagnostics, DebugLogLosesTheLineSilentlyWhenItCannotWrite) {
    Env().m_bDebugLog = true;
    Env().m_sLocalUserPath = "C:\\nowhere\\";
    EXPECT_NO_THROW(BCommon::WriteDebugLog("lost"));
    Env().m_sLocalUserPath = "C:\\users\\Anna\\LdgrApp\\";
    LockHolder holder(DebugLog(), LockHolder::Kind::Exclusive);
    ASSERT_TRUE(holder.Holding());
    EXPECT_NO_THROW(BCommon::WriteDebugLog("lost"));
    EXPECT_EQ(ReadHostFile(DebugLog()), "");
}

TEST(ErrorText, FirstPartOfTheReport) {
    struct Case {
        std::int32_t number;
        const char* description;
        const char* procedure;
        const char* text;
    };
    const Case cases[] = {
        {53, "File not found", "GetConfigFile",
         "Unexpected error 53 in procedure 'GetConfigFile':\rFile not found"},
        {-5, "", "", "Unexpected error -5 in procedure '':\r"},
        {-2147024894, "x", "CCategory::ReadIniFile",
         "Unexpected error -2147024894 in procedure 'CCategory::ReadIniFile':\rx"},
        {0, "a\r\nb", "P", "Unexpected error 0 in procedure 'P':\ra\r\nb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BCommon::GetErrorText(c.number, c.description, c.procedure), c.text);
    }
}

TEST_F(Diagnostics, ReportShowsTheCurrentErrorInOneWarningBox) {
    struct Case {
        std::function<void()> fail;
        const char* procedure;
        const char* text;
    };
    const Case cases[] = {
        {[] { throw ldgr::Error(53, "GetConfigFile"); }, "GetConfigFile",
         "Unexpected error 53 in procedure 'GetConfigFile':\rFile not found\r\r"
         "Please contact us at\r+1 555 0100 with the above information."},
        {[] { throw ldgr::Error(-5, "x", ""); }, "",
         "Unexpected error -5 in procedure '':\r\r\r"
         "Please contact us at\r+1 555 0100 with the above information."},
        {[] { throw ldgr::Error::SharingViolation(); }, "CPrinterGroup::WriteIniFile",
         "Unexpected error 70 in procedure 'CPrinterGroup::WriteIniFile':\rPermission denied\r\r"
         "Please contact us at\r+1 555 0100 with the above information."},
        {[] { throw std::runtime_error("bad state"); }, "GetPPS",
         "Unexpected error 5 in procedure 'GetPPS':\rbad state\r\r"
         "Please contact us at\r+1 555 0100 with the above information."},
    };
    Env().m_bDebugLog = true;
    RecordingDesktop desktop;
    platform::ScopedServices scoped({.desktop = &desktop});
    for (const Case& c : cases) {
        try {
            c.fail();
        } catch (...) {
            BCommon::ReportError(c.procedure);
        }
    }
    ASSERT_EQ(desktop.boxes.size(), std::size(cases));
    for (std::size_t i = 0; i < desktop.boxes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(desktop.boxes[i].title, "Ledgerline");
        EXPECT_EQ(desktop.boxes[i].style, 48);
        EXPECT_EQ(desktop.boxes[i].text, cases[i].text);
    }
    EXPECT_FALSE(HostExists(DebugLog())) << "the report writes no log line";
}

TEST_F(Diagnostics, ReportLeavesTheErrorCurrent) {
    RecordingDesktop desktop;
    platform::ScopedServices scoped({.desktop = &desktop});
    try {
        throw ldgr::Error(76, "GetDataPath");
    } catch (...) {
        BCommon::ReportError("GetDataPath");
        EXPECT_EQ(ldgr::CurrentError().Number(), 76);
    }
}

TEST_F(Diagnostics, ServiceLogProbe) {
    enum class Arrange { Nothing, IdleFile, SharedHold, ExclusiveHold, FolderOfThatName };
    struct Case {
        Arrange arrange;
        bool locked;
    };
    const Case cases[] = {
        {Arrange::Nothing, false},          {Arrange::IdleFile, false},
        {Arrange::SharedHold, true},        {Arrange::ExclusiveHold, true},
        {Arrange::FolderOfThatName, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.arrange));
        fs::remove_all(ServiceLog());
        if (c.arrange != Arrange::Nothing && c.arrange != Arrange::FolderOfThatName) {
            WriteHostFile(ServiceLog(), "service lines\r\n");
        }
        if (c.arrange == Arrange::FolderOfThatName) {
            MakeHostFolders(ServiceLog());
        }
        std::optional<LockHolder> holder;
        if (c.arrange == Arrange::SharedHold || c.arrange == Arrange::ExclusiveHold) {
            holder.emplace(ServiceLog(), c.arrange == Arrange::SharedHold
                                             ? LockHolder::Kind::Shared
                                             : LockHolder::Kind::Exclusive);
            ASSERT_TRUE(holder->Holding());
        }
        Env().m_bServiceLogLocked = !c.locked;
        EXPECT_EQ(BCommon::IsServiceLogLocked(), c.locked);
        EXPECT_EQ(Env().m_bServiceLogLocked, c.locked);
        if (c.arrange == Arrange::Nothing) {
            EXPECT_EQ(ReadHostFile(ServiceLog()), "") << "created empty";
        } else if (c.arrange != Arrange::FolderOfThatName) {
            EXPECT_EQ(ReadHostFile(ServiceLog()), "service lines\r\n");
        }
    }
}

TEST_F(Diagnostics, ServiceLogProbeInAMissingFolderIsFalseAndCreatesNothing) {
    StartAs(Host("drive_c/gone/ldgrmake"));
    Env().m_bServiceLogLocked = true;
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    EXPECT_FALSE(Env().m_bServiceLogLocked);
    EXPECT_FALSE(HostExists(Host("drive_c/gone")));
}

TEST_F(Diagnostics, ServiceLogProbeInADriveRoot) {
    StartAs(Host("drive_c/ldgrmake"));
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    EXPECT_TRUE(HostExists(Host("drive_c/ldgrsrvc.txt")));
}

} // namespace
