// CConfigOptions: the root of the configuration model, the general options and the printer
// groups of one configuration file.
#pragma once

#include "ledgerline/config/model/CPrinterGroups.h"

#include <cstdint>
#include <memory>
#include <string>

// The plain fields of the general options, kept together so that copying and comparing
// them cannot miss one.
struct GeneralOptionFields {
    // The version of the file last read.
    std::int32_t Version = 0;
    std::string DataFile;
    bool DisableLogging = false;
    bool LogSilent = false;
    // Neither read nor written by CConfigOptions; only copied.
    std::string Redirect;
    bool AllowCancel = false;
    // Entry "LogAllUsers".
    bool LogAllMachines = false;
    std::string LoggingMachine;
    std::string FileServers;
    std::string AutoUpdateLocation;
    std::string DataPath;
    std::string DisplayAfter;
    std::string UserTimeFrame;
    std::string UserPrintUnits;
    std::string UserLimit;
    std::string UserFromTime;
    std::string UserUntilTime;
    std::string UserAction;
    bool PauseUntilAck = false;
    bool Convert11x17 = false;
    bool SavePrintData = false;
    bool ObtainPath = false;
    bool DisplayImmediately = false;
    // Entry "DisplayToUserOnly".
    bool DisplaytoUserOnly = false;
    bool AutoUpdate = false;
    bool SetEmf = false;
    bool SetRaw = false;
    bool DeleteIfCanceled = false;
    bool LogDatFilesOnly = false;
    bool DebugLog = false;
    // Read, never written.
    bool SIMMonitor = false;

    bool operator==(const GeneralOptionFields&) const = default;
};

class CConfigOptions final : public GeneralOptionFields {
public:
    // The highest file version this program reads.
    static constexpr std::int32_t kHighestVersion = 2;

    CConfigOptions() = default;
    CConfigOptions(const CConfigOptions&) = delete;
    CConfigOptions& operator=(const CConfigOptions&) = delete;

    // The printer groups; the collection can be replaced by another, never removed.
    CPrinterGroups& PrinterGroups() const { return *m_oPrinterGroups; }
    void SetPrinterGroups(std::shared_ptr<CPrinterGroups> pPrinterGroups) {
        m_oPrinterGroups.Replace(std::move(pPrinterGroups), "CConfigOptions::PrinterGroups");
    }

    // Makes this object a deep copy of the other: every field, and copies of its groups.
    void Equals(const CConfigOptions& clsConfigOptions);
    // Reads the whole file, groups included. False after a message (or, for version 0,
    // silently); what was read before the failure stays.
    bool ReadIniFile(const std::string& sIniFile);
    // Writes the whole file anew, in layout 2. False at the first line that failed.
    bool WriteIniFile(const std::string& sIniFile) const;

    friend bool operator==(const CConfigOptions& a, const CConfigOptions& b);

private:
    bool ReadGeneralSection(const std::string& sIniFile, std::int32_t hIniFile);
    bool WriteGeneralSection(platform::TextFile& oFile) const;

    OwnedCollection<CPrinterGroups> m_oPrinterGroups;
};
