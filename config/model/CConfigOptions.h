/// @file
/// CConfigOptions: the root of the configuration model, the general options and the printer
/// groups of one configuration file.
#pragma once

#include "ledgerline/config/model/CPrinterGroups.h"

#include <cstdint>
#include <memory>
#include <string>

/// The plain fields of the general options, kept together so that copying and comparing
/// them cannot miss one. Each holds the entry of section "GENERAL" its comment names; texts as
/// they stand in the file, trimmed.
struct GeneralOptionFields {
    /// The version of the file last read (entry "Version").
    std::int32_t Version = 0;
    std::string DataFile;        ///< entry "DataFile"
    bool DisableLogging = false; ///< entry "DisableLogging"
    bool LogSilent = false;      ///< entry "LogSilent"
    /// Neither read nor written by CConfigOptions; only copied.
    std::string Redirect;
    bool AllowCancel = false; ///< entry "AllowCancel"
    /// Entry "LogAllUsers".
    bool LogAllMachines = false;
    std::string LoggingMachine;      ///< entry "LoggingMachine"
    std::string FileServers;         ///< entry "FileServers"
    std::string AutoUpdateLocation;  ///< entry "AutoUpdateLocation"
    std::string DataPath;            ///< entry "DataPath"
    std::string DisplayAfter;        ///< entry "DisplayAfter"
    std::string UserTimeFrame;       ///< entry "UserTimeFrame"
    std::string UserPrintUnits;      ///< entry "UserPrintUnits"
    std::string UserLimit;           ///< entry "UserLimit"
    std::string UserFromTime;        ///< entry "UserFromTime"
    std::string UserUntilTime;       ///< entry "UserUntilTime"
    std::string UserAction;          ///< entry "UserAction"
    bool PauseUntilAck = false;      ///< entry "PauseUntilAck"
    bool Convert11x17 = false;       ///< entry "Convert11x17"
    bool SavePrintData = false;      ///< entry "SavePrintData"
    bool ObtainPath = false;         ///< entry "ObtainPath"
    bool DisplayImmediately = false; ///< entry "DisplayImmediately"
    /// Entry "DisplayToUserOnly".
    bool DisplaytoUserOnly = false;
    bool AutoUpdate = false;       ///< entry "AutoUpdate"
    bool SetEmf = false;           ///< entry "SetEmf"
    bool SetRaw = false;           ///< entry "SetRaw"
    bool DeleteIfCanceled = false; ///< entry "DeleteIfCanceled"
    bool LogDatFilesOnly = false;  ///< entry "LogDatFilesOnly"
    bool DebugLog = false;         ///< entry "DebugLog"
    /// Entry "SIMMonitor": read, never written.
    bool SIMMonitor = false;

    /// Every field equal.
    bool operator==(const GeneralOptionFields&) const = default;
};

/// The general options of one configuration file and its printer groups: read from the file
/// in one call, written as a whole new file in another.
class CConfigOptions final : public GeneralOptionFields {
public:
    /// The highest file version this program reads.
    static constexpr std::int32_t kHighestVersion = 2;

    CConfigOptions() = default;
    CConfigOptions(const CConfigOptions&) = delete;
    CConfigOptions& operator=(const CConfigOptions&) = delete;

    /// The printer groups; the collection can be replaced by another, never removed.
    CPrinterGroups& PrinterGroups() const { return *m_oPrinterGroups; }
    /// Replaces the printer groups by another collection, then shared with whoever else holds it; a
    /// null one raises error 91.
    void SetPrinterGroups(std::shared_ptr<CPrinterGroups> pPrinterGroups) {
        m_oPrinterGroups.Replace(std::move(pPrinterGroups), "CConfigOptions::PrinterGroups");
    }

    /// Makes this object a deep copy of the other: every field, and copies of its groups.
    void Equals(const CConfigOptions& clsConfigOptions);
    /// Reads the whole file, groups included. False after a message (or, for version 0,
    /// silently); what was read before the failure stays.
    bool ReadIniFile(const std::string& sIniFile);
    /// Writes the whole file anew, in layout 2. False at the first line that failed.
    bool WriteIniFile(const std::string& sIniFile) const;

    /// Same fields, printer groups compared by value.
    friend bool operator==(const CConfigOptions& a, const CConfigOptions& b);

private:
    bool ReadGeneralSection(const std::string& sIniFile, std::int32_t hIniFile);
    bool WriteGeneralSection(platform::TextFile& oFile) const;

    OwnedCollection<CPrinterGroups> m_oPrinterGroups;
};
