// The suite's start-up routine: identity, constants, folders, configuration, data folder,
// spool folder, options and the printer-group snapshot, in a fixed order.
#include "ledgerline/startup/InitEnvironment.h"

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Access.h"
#include "ledgerline/common/DateAndFiles.h"
#include "ledgerline/common/Diagnostics.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Identity.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/common/Temporaries.h"
#include "ledgerline/common/getip.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/BRegistry.h"
#include "ledgerline/config/ConfigReaders.h"
#include "ledgerline/config/ReadingConventions.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace BCommon {
namespace {

using ldgr::ascii::ContainsIgnoreCase;

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr std::size_t kSystemFolderBuffer = 260;
constexpr std::size_t kUserNameBuffer = 256;
constexpr int kRecentFolder = 8;

// Which suite program is running, told by its executable base name.
struct ProgramIdentity {
    std::string sExeName;
    bool IsService() const { return ContainsIgnoreCase(sExeName, "ldgrsrvc"); }
    bool IsConfigTool() const { return ContainsIgnoreCase(sExeName, "ldgrcfg"); }
    bool IsReportsTool() const { return ContainsIgnoreCase(sExeName, "ldgrrpts"); }
    bool IsDeploy() const { return ContainsIgnoreCase(sExeName, "ldgrdeploy"); }
    bool IsMaintenance() const { return ContainsIgnoreCase(sExeName, "ldgrmaint"); }
    bool IsLog() const { return ContainsIgnoreCase(sExeName, "ldgrlog"); }
    // The processor is recognised only in this exact letter case.
    bool IsProcessor() const { return sExeName.find("ldgrproc") != std::string::npos; }

    std::string Title() const {
        if (IsConfigTool()) {
            return "Ledgerline - Configuration";
        }
        if (IsReportsTool()) {
            return "Ledgerline - Reports";
        }
        if (IsDeploy()) {
            return "Ledgerline Setup";
        }
        return "Ledgerline";
    }
    bool EndsAfterConstants() const { return IsDeploy() || IsMaintenance() || IsService(); }
    bool WorksOnSharedFile() const { return IsReportsTool() || IsConfigTool(); }
};

std::string Option(const std::string& sKey, const std::string& sSection = {}) {
    return GetGeneralOption(Env().m_sconfigfile, sKey, sSection);
}

// Which program of the suite is starting is its executable's name, which only StartProgram
// records; without it the record would be filled for a program with no name.
void RefuseToStartUnnamed() {
    platform::Ui().ShowMessageBox(
        "InitEnvironment",
        "InitEnvironment was called before platform::StartProgram.\n\nA program calls "
        "platform::StartProgram(argc, argv) first, then BCommon::InitEnvironment().",
        platform::kOkOnly + platform::kCritical);
}

// A truth-value option: a text that does not convert leaves the field as it was.
void ReadTruthOption(const std::string& sKey, bool& field) {
    if (const auto value = ConvertTruthValue(Option(sKey))) {
        field = *value;
    }
}

// The program's title, the suite's Run entry and the maker's constants.
void SetIdentityAndConstants(const ProgramIdentity& program) {
    EnvironmentRecord& env = Env();
    env.m_bLocalDataPath = false;
    env.m_bDebugMode = false;
    env.m_bDebugLog = true;
    env.m_sCompanyCode = "Korvane";
    SkipFailingStep(
        [&] { env.m_bRunFromSetup = ContainsIgnoreCase(platform::Ui().AppPath(), "ldgrsetup"); });
    if (!program.IsService()) {
        SkipFailingStep(
            [&] { env.m_sRunEntry = BRegistry::GetMachineKeyValue(kRunKey, "Ledgerline"); });
    }
    env.m_sSupportPhone = kSupportPhone;
    env.m_sWebAddress = "www.korvane.example";
    env.m_sSupportEmail = "support@korvane.example";
    SkipFailingStep([&] { platform::Ui().SetTitle(program.Title()); });
    env.m_sProductName = kProductName;
    env.m_sCompanyName = "Korvane Group Inc";
    env.m_sCompanyShortName = "Korvane Group";
}

// System folders, version, Run folder, local folder and machine name.
void FindPlatformFolders() {
    EnvironmentRecord& env = Env();
    SkipFailingStep([&] { env.m_sSystemPath = platform::Sys().SystemFolder(kSystemFolderBuffer); });
    SkipFailingStep([&] {
        const auto version = platform::Sys().Version();
        env.m_sOSVersion =
            version ? std::to_string(version->major) + "." + std::to_string(version->minor)
                    : "(unknown)";
    });
    SkipFailingStep(
        [&] { env.m_sRunEntry = FolderOf(BRegistry::GetMachineKeyValue(kRunKey, "Ledgerline")); });
    SkipFailingStep([&] {
        // Without a backslash there is no Windows folder to cut out; the step fails.
        const auto slash = env.m_sSystemPath.find_last_of('\\');
        if (slash == std::string::npos) {
            throw ldgr::Error(ldgr::kInvalidProcedureCall);
        }
        env.m_sWindowsPath = env.m_sSystemPath.substr(0, slash);
    });
    SkipFailingStep([&] { env.m_sLocalUserPath = AddBackslash(GetLocalPath()); });
    if (!env.m_sLocalUserPath.empty()) {
        SkipFailingStep([&] { CreateFolderIfMissing(env.m_sLocalUserPath); });
        // What a run killed half-way left beside the working copy.
        SkipFailingStep([&] { RemoveStaleTemporaries(env.m_sLocalUserPath); });
    }
    SkipFailingStep([&] { env.m_sMachineName = TrimNull(GetMachineName()); });
    WriteDebugLog("m_sLocalUserPath = " + env.m_sLocalUserPath);
}

// Whether the working copy holds the shared file already, as the last refresh left it (the
// same size, last-write time and bytes): copying again would change nothing, and rewriting and
// flushing a file of megabytes would be most of a start-up's time. The copy is compared as the
// INI library parses it, which the option reads that follow then find parsed: it is read once.
bool IsWorkingCopyCurrent(const std::string& sShared, const std::string& sCopy) {
    bool current = false;
    SkipFailingStep([&] {
        const auto shared = platform::Files().VersionOf(sShared);
        const auto copy = platform::Files().VersionOf(sCopy);
        if (shared && copy && shared->size == copy->size &&
            shared->lastWriteTime == copy->lastWriteTime) {
            const BConfigFile::OpenIniFile parsed(sCopy);
            current = KorvaneIni::HoldsParsedBytes(parsed.Handle(), sShared);
        }
    });
    return current;
}

// The shared configuration file and the program's working copy of it, refreshed at every start.
void SetConfigurationFiles(const ProgramIdentity& program) {
    EnvironmentRecord& env = Env();
    SkipFailingStep([&] { env.m_sSharedConfigFile = GetConfigFile(); });
    WriteDebugLog("raw orignal config file is " + env.m_sSharedConfigFile);
    SkipFailingStep([&] { env.m_sSharedConfigFile = GetAbsolutePath(env.m_sSharedConfigFile); });
    WriteDebugLog("absolute orignal config file is " + env.m_sSharedConfigFile);
    if (env.m_sSharedConfigFile.find('\\') != std::string::npos) {
        env.m_sConfigPath = FolderOf(env.m_sSharedConfigFile);
        SkipFailingStep([&] { env.m_sConfigPath = GetAbsolutePath(env.m_sConfigPath); });
    }
    // Without a local folder there is no working copy: the options come from the shared file.
    const std::string workingCopy = PathInFolder(env.m_sLocalUserPath, program.sExeName + ".ini");
    env.m_sconfigfile =
        program.WorksOnSharedFile() || workingCopy.empty() ? env.m_sSharedConfigFile : workingCopy;
    SkipFailingStep([&] { env.m_sconfigfile = GetAbsolutePath(env.m_sconfigfile); });
    // The configuration and reports tools work on the shared file itself: nothing to copy.
    if (env.m_sconfigfile != env.m_sSharedConfigFile &&
        !IsWorkingCopyCurrent(env.m_sSharedConfigFile, env.m_sconfigfile)) {
        SkipFailingStep(
            [&] { platform::Files().CopyFile(env.m_sSharedConfigFile, env.m_sconfigfile); });
    }
    ReadTruthOption("LogAllUsers", env.m_bLogAllUsers);
}

// The logged-on user, or "general".
void SetUserName() {
    EnvironmentRecord& env = Env();
    std::string name;
    SkipFailingStep([&] { name = platform::Sys().UserName(kUserNameBuffer).value_or(""); });
    name = ldgr::ascii::Trim(TrimNull(name));
    env.m_sUserName = (name.empty() || env.m_bLogAllUsers) ? "general" : name;
    WriteDebugLog("m_sUserName = " + env.m_sUserName);
}

// Data file, data folder, and the permission check that may send the user's
// folders to the local profile.
void SetDataFolder() {
    EnvironmentRecord& env = Env();
    SkipFailingStep([&] { env.m_sDataFile = GetDataPath(); });
    WriteDebugLog("raw m_sDataFile is " + env.m_sDataFile);
    SkipFailingStep([&] { env.m_sDataFile = GetAbsolutePath(env.m_sDataFile); });
    WriteDebugLog("absolute m_sDataFile is " + env.m_sDataFile);

    SkipFailingStep([&] { env.m_sDataPath = Option("DataPath"); });
    if (ldgr::ascii::Upper(ldgr::ascii::Trim(env.m_sDataPath)) == "LOCAL PROFILE") {
        env.m_sDataPath = env.m_sLocalUserPath;
    }
    env.m_sDataPath = AddBackslash(env.m_sDataPath);
    if (env.m_sDataPath.empty() && !env.m_sconfigfile.empty()) {
        env.m_sDataPath = FolderOf(env.m_sSharedConfigFile);
    }

    env.m_sDataUserPath = PathInFolder(env.m_sDataPath, "users\\" + env.m_sUserName);
    // Only logged, never opened: built as it reads even without a data folder.
    SkipFailingStep([&] {
        env.m_sUserPathLetter = GetMappedDrivePath(env.m_sDataPath) + "users\\" + env.m_sUserName;
    });
    WriteDebugLog(" m_sUserPathLetter = " + env.m_sUserPathLetter);
    SkipFailingStep([&] { env.m_sDataPath = GetAbsolutePath(env.m_sDataPath); });
    WriteDebugLog("m_sDataPath = " + env.m_sDataPath);
    WriteDebugLog("m_sconfigfile = " + env.m_sconfigfile);

    std::string dataAccess;
    std::string configAccess;
    SkipFailingStep([&] { dataAccess = GetFolderAccess(env.m_sDataUserPath); });
    SkipFailingStep([&] { configAccess = GetFileAccess(env.m_sSharedConfigFile); });
    WriteDebugLog("original config security is " + configAccess + "for " + env.m_sSharedConfigFile);
    WriteDebugLog("dataPATH security is " + dataAccess);
    const bool usable = ContainsIgnoreCase(dataAccess, "writelistreaddelete") &&
                        ContainsIgnoreCase(configAccess, "listread");
    env.m_bLocalDataPath = !usable;
    if (!usable) {
        env.m_sDataPath = env.m_sLocalUserPath;
    }
    env.m_sUserPath = PathInFolder(env.m_sDataPath, "users\\" + env.m_sUserName);
}

// Entry counts and the configuration file's stamp.
void CountEntries() {
    EnvironmentRecord& env = Env();
    const auto larger = [&](const std::string& folder) {
        const std::int32_t inConfig =
            CountFolderEntries(PathInFolder(env.m_sConfigPath, folder + "\\*"));
        const std::int32_t inData =
            CountFolderEntries(PathInFolder(env.m_sDataPath, folder + "\\*"));
        return std::max(inConfig, inData);
    };
    SkipFailingStep([&] { env.m_lNumMachines = larger("machines"); });
    SkipFailingStep([&] { env.m_lNumUsers = larger("users"); });
    SkipFailingStep([&] { env.m_lConfigFileStamp = GetFileStamp(env.m_sSharedConfigFile); });
}

// Folder options and the processor check. False ends the program.
bool ReadFolderOptions(const ProgramIdentity& program) {
    EnvironmentRecord& env = Env();
    ReadTruthOption("ObtainPath", env.m_bObtainPath);
    env.m_vDisplayImmediately = OptionValue::TextOrFalse(Option("DisplayImmediately"));
    env.m_vDisplayToUserOnly = OptionValue::TextOrFalse(Option("DisplayToUserOnly"));
    if (program.IsProcessor()) {
        if (!env.m_vDisplayImmediately.IsTrue()) {
            return false;
        }
        env.m_vDisplayImmediately = OptionValue::False();
    }
    env.m_vAutoUpdate = OptionValue::Text(Option("AutoUpdate"));
    ReadTruthOption("LogDatFilesOnly", env.m_bLogDatFilesOnly);
    return true;
}

// The job folder, the address and the machine folder.
void CreateUserAndMachineFolders() {
    EnvironmentRecord& env = Env();
    env.m_sUserPath = PathInFolder(env.m_sDataPath, "users\\" + env.m_sUserName);
    WriteDebugLog("m_sUserPath = " + env.m_sUserPath);
    // Without a data folder there is no job folder to make, and no machine folder.
    if (!env.m_sDataPath.empty()) {
        SkipFailingStep([&] { CreateFolderIfMissing(env.m_sDataPath + "users"); });
        SkipFailingStep([&] { CreateFolderIfMissing(env.m_sUserPath); });
    }

    SkipFailingStep([&] { env.m_sIPAddress = getip::GetIPAddress(); });
    WriteDebugLog("m_sMachineName = " + env.m_sMachineName);

    env.m_sMachinePath = PathInFolder(env.m_sDataPath, "Machines");
    if (!env.m_sMachinePath.empty()) {
        SkipFailingStep([&] { CreateFolderIfMissing(env.m_sMachinePath); });
        env.m_sMachinePath = env.m_sMachinePath + "\\" + TrimNull(env.m_sMachineName);
        SkipFailingStep([&] { CreateFolderIfMissing(env.m_sMachinePath); });
    }
    WriteDebugLog("m_sMachinePath = " + env.m_sMachinePath);
}

// The first field of a one-line text file, as the runtime's Input # reads it: leading blanks
// skipped, then a quoted text, or the text up to the first comma or the line end.
std::string FirstField(const std::string& sContent) {
    const std::string line = sContent.substr(0, sContent.find_first_of("\r\n"));
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos) {
        return {};
    }
    if (line[start] == '"') {
        const auto close = line.find('"', start + 1);
        return line.substr(start + 1,
                           close == std::string::npos ? std::string::npos : close - start - 1);
    }
    return std::string(ldgr::ascii::TrimBlanks(
        std::string_view(line).substr(start, line.find(',', start) - start)));
}

// The longest first line a spool cache holds: the spool folder that the registry read gave,
// which fits that read's 1024-byte buffer (a Windows path is at most 260 characters unless
// written in its long form). A longer line was never a spool folder, so the cache is broken;
// only this much of it is read.
constexpr std::size_t kLongestSpoolCacheLine = 1024;

// The first field of the spool cache; nothing when its first line is longer than any spool
// folder (the cache is broken).
std::optional<std::string> ReadSpoolCache(const std::string& cacheFile) {
    auto cache = platform::Files().OpenText(cacheFile, platform::OpenMode::Input);
    const std::string start = cache->ReadAtMost(kLongestSpoolCacheLine + 1);
    cache->Close();
    if (start.size() > kLongestSpoolCacheLine && start.find_first_of("\r\n") == std::string::npos) {
        return std::nullopt;
    }
    return FirstField(start);
}

// The spool folder (registry, else the cache file, else the default) and
// the name of this program's spool index.
void FindSpoolFolder(const ProgramIdentity& program) {
    EnvironmentRecord& env = Env();
    env.m_sSpoolPath = env.m_sOSVersion.starts_with("4.1")
                           ? env.m_sWindowsPath + "\\spool\\printers"
                           : env.m_sSystemPath + "\\spool\\printers";
    // Without a local folder the cache is neither written nor read.
    const std::string cacheFile = PathInFolder(env.m_sLocalUserPath, "spldir.txt");
    std::string value;
    bool read = false;
    SkipFailingStep([&] {
        read = BRegistry::GetKeyValue(platform::RootKey::LocalMachine, kPrintersKey,
                                      "DefaultSpoolDirectory", value);
    });
    if (read) {
        env.m_sSpoolPath = value;
        if (!cacheFile.empty()) {
            SkipFailingStep([&] {
                auto cache = OpenRewrite(cacheFile);
                cache->Write(value + "\r\n");
                cache->Close();
            });
        }
    } else if (!cacheFile.empty()) {
        SkipFailingStep([&] {
            const std::optional<std::string> field = ReadSpoolCache(cacheFile);
            if (field && field->size() > 1) {
                env.m_sSpoolPath = *field;
            }
        });
    }
    WriteDebugLog("m_sSpoolPath = " + env.m_sSpoolPath);

    env.m_sSpoolIndex = PathInFolder(
        env.m_sLocalUserPath, env.m_sMachineName + (program.IsProcessor() ? "2" : "1") + ".idx");
    WriteDebugLog("m_sSpoolIndex = " + env.m_sSpoolIndex);
}

// The logging machine and the file-server options.
void ReadLoggingOptions() {
    EnvironmentRecord& env = Env();
    env.m_sLoggingMachine = Option("LoggingMachine");
    const bool dataOnNetworkPath = env.m_sDataPath.starts_with("\\\\");
    if (!dataOnNetworkPath && env.m_sLoggingMachine == "Default") {
        env.m_sLoggingMachine = env.m_sMachineName;
    }
    if (ContainsIgnoreCase(env.m_sLoggingMachine, "ANYMACHINE")) {
        env.m_sLoggingMachine = env.m_sMachineName;
    }
    WriteDebugLog("m_sLoggingMachine is " + env.m_sLoggingMachine);
    env.m_sFileServers = Option("FileServers");
    env.m_sAutoUpdateLocation = Option("AutoUpdateLocation");
    ReadTruthOption("SavePrintData", env.m_bSavePrintData);
}

// The service-log probe, the version text, the switches, the Recent folder.
void ReadSwitches() {
    EnvironmentRecord& env = Env();
    IsServiceLogLocked();
    env.m_sOSVersion = ldgr::ascii::Trim(env.m_sOSVersion.substr(0, 50));
    ReadTruthOption("DebugLog", env.m_bDebugLog);
    ReadTruthOption("Convert11x17", env.m_bConvert11x17);
    ReadTruthOption("PauseUntilAck", env.m_bPauseUntilAck);
    ReadTruthOption("DeleteIfCanceled", env.m_bDeleteIfCanceled);
    SkipFailingStep([&] { env.m_sRecentPath = GetSpecialFolder(kRecentFolder); });
}

// The printer-group count; 0 when the text is not a number that fits 16 bits.
std::int32_t NumPrinterGroups() {
    std::int32_t count = 0;
    const std::string text = Option("NumPrinterGroups", "General");
    if (BConfigFile::IsNumeric(text)) {
        const double value = std::strtod(text.c_str(), nullptr);
        if (value >= -32768.5 && value <= 32767.5) {
            const std::int32_t rounded = BConfigFile::RoundHalfEven(value);
            count = (rounded >= -32768 && rounded <= 32767) ? rounded : 0;
        }
    }
    return count;
}

// One list of the printer-group snapshot: which key of a group it reads and when a group
// qualifies.
struct GroupPass {
    std::string EnvironmentRecord::*list;
    const char* sKey;
    std::function<bool(const std::string& name, const std::string& value)> qualifies;
};

bool NamedWith(const std::string& name, const std::string& value, const char* expected) {
    return !name.empty() && value == expected;
}

const std::vector<GroupPass>& GroupPasses() {
    static const std::vector<GroupPass> passes = {
        {&EnvironmentRecord::m_sLoggingGroups, "DisableLogging",
         [](const std::string& n, const std::string& v) { return NamedWith(n, v, "False"); }},
        {&EnvironmentRecord::m_sNonLoggingGroups, "DisableLogging",
         [](const std::string& n, const std::string& v) { return NamedWith(n, v, "True"); }},
        {&EnvironmentRecord::m_sPauseGroups, "PauseUntilAck",
         [](const std::string& n, const std::string& v) { return NamedWith(n, v, "True"); }},
        {&EnvironmentRecord::m_sNoPauseGroups, "PauseUntilAck",
         [](const std::string& n, const std::string& v) { return NamedWith(n, v, "False"); }},
        {&EnvironmentRecord::m_sRedirectGroups, "Redirect",
         [](const std::string&, const std::string& v) {
             return !v.empty() && v != "Enter IP Address Here";
         }},
        {&EnvironmentRecord::m_sUnsetRedirectGroups, "Redirect",
         [](const std::string&, const std::string& v) { return v == "Enter IP Address Here"; }},
    };
    return passes;
}

// The printer-group snapshot. The count is tested after each group, so
// group 1 is read even when the count is 0.
void TakePrinterGroupSnapshot() {
    EnvironmentRecord& env = Env();
    std::int32_t count = 0;
    SkipFailingStep([&] { count = NumPrinterGroups(); });
    for (const GroupPass& pass : GroupPasses()) {
        env.*pass.list = "";
    }
    env.m_bRemoteConfig =
        !env.m_sDataPath.starts_with("\\\\") && env.m_sConfigPath.starts_with("\\\\");
    const std::string sNameKey = "PrinterGroupName";
    for (const GroupPass& pass : GroupPasses()) {
        std::string& list = env.*pass.list;
        const std::string sKey = pass.sKey;
        std::int32_t group = 1;
        do {
            const std::string section = "PG" + std::to_string(group);
            const std::string name = Option(sNameKey, section);
            if (pass.qualifies(name, Option(sKey, section))) {
                if (!list.empty()) {
                    list += ',';
                }
                list += name;
            }
            ++group;
            platform::Ui().ProcessPendingMessages();
        } while (group <= count);
    }
}

} // namespace

std::optional<bool> ConvertTruthValue(const std::string& sText) {
    const std::string text(ldgr::ascii::Trim(sText));
    if (ldgr::ascii::EqualsIgnoreCase(text, "True")) {
        return true;
    }
    if (ldgr::ascii::EqualsIgnoreCase(text, "False")) {
        return false;
    }
    if (BConfigFile::IsNumeric(text)) {
        return std::strtod(text.c_str(), nullptr) != 0.0;
    }
    return std::nullopt;
}

bool InitEnvironment() {
    if (!platform::ProgramStarted()) {
        RefuseToStartUnnamed();
        return false;
    }
    ProgramIdentity program;
    SkipFailingStep([&] { program.sExeName = platform::Ui().ExeName(); });
    SetIdentityAndConstants(program);
    if (program.EndsAfterConstants()) {
        return true;
    }
    FindPlatformFolders();
    SetConfigurationFiles(program);
    SetUserName();
    SetDataFolder();
    CountEntries();
    if (!ReadFolderOptions(program)) {
        return false;
    }
    CreateUserAndMachineFolders();
    FindSpoolFolder(program);
    ReadLoggingOptions();
    ReadSwitches();
    TakePrinterGroupSnapshot();
    return true;
}

} // namespace BCommon
