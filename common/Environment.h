// The environment record: what the suite's start-up learned about its surroundings.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace BCommon {

// The maker's settings that start-up puts into the record: the product's name, which titles
// every box, and the support telephone number that error reports quote.
inline constexpr const char* kProductName = "Ledgerline";
inline constexpr const char* kSupportPhone = "1-555-0142";

// An option as start-up keeps it: the text read from the configuration file, or the truth
// value False when that text was empty.
class OptionValue {
public:
    OptionValue() = default;
    static OptionValue Text(std::string text) { return OptionValue(std::move(text)); }
    static OptionValue False() { return OptionValue(false); }
    // The text, or False when the text is empty.
    static OptionValue TextOrFalse(std::string text);

    bool IsText() const { return std::holds_alternative<std::string>(m_value); }
    // The text; "False" for the truth value, as the runtime shows it.
    std::string AsText() const;
    // Whether the value counts as true: the truth value True, or the text "True" in any letter
    // case or "-1", blanks around either ignored.
    bool IsTrue() const;
    bool operator==(const OptionValue&) const = default;

private:
    explicit OptionValue(std::string text) : m_value(std::move(text)) {}
    explicit OptionValue(bool value) : m_value(value) {}
    std::variant<std::string, bool> m_value;
};

struct EnvironmentRecord {
    // Identity and constants.
    bool m_bDebugMode = false;
    bool m_bDebugLog = false;
    bool m_bLocalDataPath = false;
    std::string m_sCompanyCode;
    bool m_bRunFromSetup = false;
    std::string m_sRunEntry;
    std::string m_sSupportPhone;
    std::string m_sWebAddress;
    std::string m_sSupportEmail;
    std::string m_sProductName;
    std::string m_sCompanyName;
    std::string m_sCompanyShortName;

    // Platform and identity.
    std::string m_sSystemPath;
    std::string m_sWindowsPath;
    std::string m_sOSVersion;
    std::string m_sLocalUserPath;
    std::string m_sMachineName;
    std::string m_sUserName;
    bool m_bLogAllUsers = false;
    std::string m_sIPAddress;
    bool m_bServiceLogLocked = false;
    std::string m_sRecentPath;

    // Configuration and folders.
    std::string m_sSharedConfigFile;
    std::string m_sConfigPath;
    std::string m_sconfigfile;
    std::int32_t m_lConfigFileStamp = 0;
    std::string m_sDataFile;
    std::string m_sDataPath;
    std::string m_sDataUserPath;
    std::string m_sUserPathLetter;
    std::string m_sUserPath;
    std::string m_sMachinePath;
    std::int32_t m_lNumMachines = 0;
    std::int32_t m_lNumUsers = 0;
    bool m_bObtainPath = false;
    OptionValue m_vDisplayImmediately;
    OptionValue m_vDisplayToUserOnly;
    OptionValue m_vAutoUpdate;
    bool m_bLogDatFilesOnly = false;

    // Spooler.
    std::string m_sSpoolPath;
    std::string m_sSpoolIndex;

    // Logging machine, options and printer groups.
    std::string m_sLoggingMachine;
    std::string m_sFileServers;
    std::string m_sAutoUpdateLocation;
    bool m_bSavePrintData = false;
    bool m_bConvert11x17 = false;
    bool m_bPauseUntilAck = false;
    bool m_bDeleteIfCanceled = false;
    bool m_bRemoteConfig = false;
    std::string m_sLoggingGroups;
    std::string m_sNonLoggingGroups;
    std::string m_sPauseGroups;
    std::string m_sNoPauseGroups;
    std::string m_sRedirectGroups;
    std::string m_sUnsetRedirectGroups;
};

// The process-wide record.
EnvironmentRecord& Env();
// Puts every field back to its initial value (tests).
void ResetEnvironment();

} // namespace BCommon
