/// @file
/// The environment record: what the suite's start-up learned about its surroundings.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

/// Module BCommon: the environment record and start-up, the configuration readers start-up
/// uses, and the helpers for paths, identity, dates, permissions, diagnostics, errors and
/// temporary files.
namespace BCommon {

/// @{
/// The maker's settings that start-up puts into the record: the product's name, which titles
/// every box, and the support telephone number that error reports quote.
inline constexpr const char* kProductName = "Ledgerline";
inline constexpr const char* kSupportPhone = "1-555-0142";
/// @}

/// An option as start-up keeps it: the text read from the configuration file, or the truth
/// value False when that text was empty.
class OptionValue {
public:
    /// The empty text.
    OptionValue() = default;
    /// The text as it is, empty or not.
    static OptionValue Text(std::string text) { return OptionValue(std::move(text)); }
    /// The truth value False.
    static OptionValue False() { return OptionValue(false); }
    /// The text, or False when the text is empty.
    static OptionValue TextOrFalse(std::string text);

    /// Whether the value is a text (not the truth value).
    bool IsText() const { return std::holds_alternative<std::string>(m_value); }
    /// The text; "False" for the truth value, as the runtime shows it.
    std::string AsText() const;
    /// Whether the value counts as true: the truth value True, or the text "True" in any letter
    /// case or "-1", blanks around either ignored.
    bool IsTrue() const;
    /// Whether both are the same text, or both the truth value.
    bool operator==(const OptionValue&) const = default;

private:
    explicit OptionValue(std::string text) : m_value(std::move(text)) {}
    explicit OptionValue(bool value) : m_value(value) {}
    std::variant<std::string, bool> m_value;
};

/// What start-up learned, field by field. Until start-up sets them, texts are empty, truth
/// values False and numbers 0; a field whose step did not run (a program that stops early) or
/// failed keeps that value. Folders said to end with a backslash do so when not empty.
struct EnvironmentRecord {
    /// @name Identity and constants
    /// @{
    bool m_bDebugMode = false;       ///< always False: a failing start-up step is skipped
    bool m_bDebugLog = false;        ///< whether debug log lines are written (option DebugLog)
    bool m_bLocalDataPath = false;   ///< the data folder lacked rights: m_sDataPath was redirected
                                     ///< to m_sLocalUserPath
    std::string m_sCompanyCode;      ///< the maker's short company code
    bool m_bRunFromSetup = false;    ///< the program's folder is the setup's ("ldgrsetup")
    std::string m_sRunEntry;         ///< the command registered to start the product at logon;
                                     ///< after start-up only its folder, ending with a backslash
    std::string m_sSupportPhone;     ///< the support telephone number (kSupportPhone)
    std::string m_sWebAddress;       ///< the maker's web address
    std::string m_sSupportEmail;     ///< the maker's support e-mail address
    std::string m_sProductName;      ///< the product's name (kProductName): every box's title
    std::string m_sCompanyName;      ///< the maker's name
    std::string m_sCompanyShortName; ///< the maker's short name
    /// @}

    /// @name Platform and identity
    /// @{
    std::string m_sSystemPath;        ///< the Windows system folder, no trailing backslash
    std::string m_sWindowsPath;       ///< the Windows folder: m_sSystemPath without its last part
    std::string m_sOSVersion;         ///< major and minor version joined by "." ("5.1"), or
                                      ///< "(unknown)"
    std::string m_sLocalUserPath;     ///< the local per-user folder, ending with a backslash: the
                                      ///< debug log, the configuration copy, the spool files
    std::string m_sMachineName;       ///< this computer's name
    std::string m_sUserName;          ///< the logged-on user's name, or "general"
    bool m_bLogAllUsers = false;      ///< option LogAllUsers
    std::string m_sIPAddress;         ///< this computer's address, dotted decimal
    bool m_bServiceLogLocked = false; ///< another process held the service's log file
                                      ///< (IsServiceLogLocked)
    std::string m_sRecentPath;        ///< the user's Recent-documents folder
    /// @}

    /// @name Configuration and folders
    /// @{
    std::string m_sSharedConfigFile;     ///< the shared configuration file, made absolute
    std::string m_sConfigPath;           ///< its folder, ending with a backslash
    std::string m_sconfigfile;           ///< the working configuration file every option read
                                         ///< uses: this program's local copy, or the shared file
                                         ///< for the configuration and reports tools
    std::int32_t m_lConfigFileStamp = 0; ///< the shared file's stamp (GetFileStamp)
    std::string m_sDataFile;             ///< option DataFile, made absolute
    std::string m_sDataPath;             ///< the shared data folder, ending with a backslash
    std::string m_sDataUserPath;   ///< m_sDataPath, `users\`, m_sUserName: before the rights check
    std::string m_sUserPathLetter; ///< the same folder, the data folder in drive-letter form
    std::string m_sUserPath;       ///< the user's job folder, no trailing backslash
    std::string m_sMachinePath;    ///< this computer's folder under "Machines", no trailing
                                   ///< backslash
    std::int32_t m_lNumMachines = 0;   ///< entries of the machines folder
    std::int32_t m_lNumUsers = 0;      ///< entries of the users folder
    bool m_bObtainPath = false;        ///< option ObtainPath
    OptionValue m_vDisplayImmediately; ///< option DisplayImmediately; False when empty
    OptionValue m_vDisplayToUserOnly;  ///< option DisplayToUserOnly; False when empty
    OptionValue m_vAutoUpdate;         ///< option AutoUpdate, the text as read
    bool m_bLogDatFilesOnly = false;   ///< option LogDatFilesOnly
    /// @}

    /// @name Spooler
    /// @{
    std::string m_sSpoolPath;  ///< the printer spool folder, no trailing backslash
    std::string m_sSpoolIndex; ///< the path of this program's spool index file
    /// @}

    /// @name Logging machine, options and printer groups
    /// The six group lists are names of printer groups joined by "," without blanks.
    /// @{
    std::string m_sLoggingMachine;      ///< the machine that logs the jobs (option LoggingMachine;
                                        ///< this computer for "Default" or "ANYMACHINE")
    std::string m_sFileServers;         ///< option FileServers
    std::string m_sAutoUpdateLocation;  ///< option AutoUpdateLocation
    bool m_bSavePrintData = false;      ///< option SavePrintData
    bool m_bConvert11x17 = false;       ///< option Convert11x17
    bool m_bPauseUntilAck = false;      ///< option PauseUntilAck
    bool m_bDeleteIfCanceled = false;   ///< option DeleteIfCanceled
    bool m_bRemoteConfig = false;       ///< the data folder is on a drive while the shared
                                        ///< configuration file is on a network path
    std::string m_sLoggingGroups;       ///< groups whose DisableLogging is "False"
    std::string m_sNonLoggingGroups;    ///< groups whose DisableLogging is "True"
    std::string m_sPauseGroups;         ///< groups whose PauseUntilAck is "True"
    std::string m_sNoPauseGroups;       ///< groups whose PauseUntilAck is "False"
    std::string m_sRedirectGroups;      ///< groups that redirect to an address
    std::string m_sUnsetRedirectGroups; ///< groups whose Redirect is left at its placeholder
    /// @}
};

/// The process-wide record.
EnvironmentRecord& Env();
/// Puts every field back to its initial value (tests).
void ResetEnvironment();

} // namespace BCommon
