// CConfigOptions: the version check, the table-driven "GENERAL" section, the whole file.
#include "ledgerline/config/model/CConfigOptions.h"

#include "ledgerline/common/Diagnostics.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/ConfigReaders.h"
#include "ledgerline/config/model/ModelIo.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <array>
#include <variant>

namespace {

using BConfigFile::EntryKind;
using BConfigFile::EntrySource;
using TextField = std::string GeneralOptionFields::*;
using BooleanField = bool GeneralOptionFields::*;
using G = GeneralOptionFields;

constexpr const char* kGeneralSection = "GENERAL";

// The product name of the program's version information, as the version message names it.
constexpr const char* kProductName = "Ledgerline";

enum class Rule {
    Text,
    // A text that is absent or empty takes the default.
    TextNotEmpty,
    StrictBoolean,
    LooseBoolean,
};

// What an optional entry that is absent leaves in its field: the field as it was, a fixed
// text, or a field of the environment record. A Boolean's default is the text it would have
// in the file.
using Fallback =
    std::variant<std::monostate, const char*, std::string BCommon::EnvironmentRecord::*>;

struct GeneralEntry {
    const char* sKey;
    std::variant<TextField, BooleanField> field;
    EntryKind kind;
    Rule rule;
    Fallback whenAbsent{};
};

constexpr auto kBlankAllowed = EntryKind::OptionalBlankAllowed;

// The entries of "GENERAL" in the order they are read; the first failure ends the read.
const std::array<GeneralEntry, 29> kReadTable{{
    {"DataFile", &G::DataFile, EntryKind::RequiredBlankAllowed, Rule::Text},
    {"DisableLogging", &G::DisableLogging, EntryKind::Required, Rule::StrictBoolean},
    {"AllowCancel", &G::AllowCancel, EntryKind::Required, Rule::StrictBoolean},
    {"LogSilent", &G::LogSilent, EntryKind::Required, Rule::StrictBoolean},
    {"LogAllUsers", &G::LogAllMachines, EntryKind::Required, Rule::StrictBoolean},
    {"LoggingMachine", &G::LoggingMachine, kBlankAllowed, Rule::TextNotEmpty, "Default"},
    {"AutoUpdateLocation", &G::AutoUpdateLocation, kBlankAllowed, Rule::Text,
     &BCommon::EnvironmentRecord::m_sConfigPath},
    {"DataPath", &G::DataPath, kBlankAllowed, Rule::Text,
     &BCommon::EnvironmentRecord::m_sConfigPath},
    {"FileServers", &G::FileServers, kBlankAllowed, Rule::Text,
     &BCommon::EnvironmentRecord::m_sMachineName},
    {"DisplayAfter", &G::DisplayAfter, kBlankAllowed, Rule::Text, "1"},
    {"UserTimeFrame", &G::UserTimeFrame, kBlankAllowed, Rule::Text, "Unlimited"},
    {"UserPrintUnits", &G::UserPrintUnits, kBlankAllowed, Rule::Text, "Dollars"},
    {"UserLimit", &G::UserLimit, kBlankAllowed, Rule::Text, "100"},
    {"UserFromTime", &G::UserFromTime, kBlankAllowed, Rule::Text, "Now"},
    {"UserAction", &G::UserAction, kBlankAllowed, Rule::Text, "Cancel Printing"},
    {"UserUntilTime", &G::UserUntilTime, kBlankAllowed, Rule::Text, "Forever"},
    {"PauseUntilAck", &G::PauseUntilAck, EntryKind::Optional, Rule::LooseBoolean},
    {"Convert11x17", &G::Convert11x17, EntryKind::Optional, Rule::LooseBoolean},
    {"SavePrintData", &G::SavePrintData, EntryKind::Optional, Rule::LooseBoolean},
    {"ObtainPath", &G::ObtainPath, EntryKind::Optional, Rule::LooseBoolean},
    {"DisplayImmediately", &G::DisplayImmediately, EntryKind::Optional, Rule::LooseBoolean},
    {"DisplayToUserOnly", &G::DisplaytoUserOnly, EntryKind::Optional, Rule::LooseBoolean, "True"},
    {"AutoUpdate", &G::AutoUpdate, EntryKind::Optional, Rule::LooseBoolean},
    {"SetEmf", &G::SetEmf, EntryKind::Optional, Rule::LooseBoolean},
    {"SetRaw", &G::SetRaw, EntryKind::Optional, Rule::LooseBoolean},
    {"DeleteIfCanceled", &G::DeleteIfCanceled, EntryKind::Optional, Rule::LooseBoolean},
    {"LogDatFilesOnly", &G::LogDatFilesOnly, EntryKind::Optional, Rule::LooseBoolean},
    {"DebugLog", &G::DebugLog, EntryKind::Optional, Rule::LooseBoolean},
    {"SIMMonitor", &G::SIMMonitor, EntryKind::Optional, Rule::LooseBoolean},
}};

struct WrittenEntry {
    const char* sKey;
    std::variant<TextField, BooleanField> field;
};

// The entries written after "Version"; "SIMMonitor" and Redirect are never written.
const std::array<WrittenEntry, 28> kWriteTable{{
    {"DataFile", &G::DataFile},
    {"DisableLogging", &G::DisableLogging},
    {"DebugLog", &G::DebugLog},
    {"AllowCancel", &G::AllowCancel},
    {"LogSilent", &G::LogSilent},
    {"LogAllUsers", &G::LogAllMachines},
    {"LoggingMachine", &G::LoggingMachine},
    {"FileServers", &G::FileServers},
    {"AutoUpdateLocation", &G::AutoUpdateLocation},
    {"DataPath", &G::DataPath},
    {"DisplayAfter", &G::DisplayAfter},
    {"UserTimeFrame", &G::UserTimeFrame},
    {"UserLimit", &G::UserLimit},
    {"UserFromTime", &G::UserFromTime},
    {"UserAction", &G::UserAction},
    {"UserUntilTime", &G::UserUntilTime},
    {"UserPrintUnits", &G::UserPrintUnits},
    {"PauseUntilAck", &G::PauseUntilAck},
    {"Convert11x17", &G::Convert11x17},
    {"SavePrintData", &G::SavePrintData},
    {"ObtainPath", &G::ObtainPath},
    {"DisplayImmediately", &G::DisplayImmediately},
    {"DisplayToUserOnly", &G::DisplaytoUserOnly},
    {"AutoUpdate", &G::AutoUpdate},
    {"SetEmf", &G::SetEmf},
    {"SetRaw", &G::SetRaw},
    {"DeleteIfCanceled", &G::DeleteIfCanceled},
    {"LogDatFilesOnly", &G::LogDatFilesOnly},
}};

std::optional<std::string> FallbackText(const Fallback& fallback) {
    if (const auto* text = std::get_if<const char*>(&fallback)) {
        return *text;
    }
    if (const auto* field = std::get_if<std::string BCommon::EnvironmentRecord::*>(&fallback)) {
        return BCommon::Env().*(*field);
    }
    return std::nullopt;
}

bool IsRequired(EntryKind kind) {
    return kind == EntryKind::Required || kind == EntryKind::RequiredBlankAllowed;
}

// Reads one entry into its field; False when the read must stop.
bool ReadInto(GeneralOptionFields& options, const GeneralEntry& entry, const EntrySource& source) {
    std::optional<std::string> value = BConfigFile::ReadEntry(source, entry.sKey, entry.kind);
    if (!value || (entry.rule == Rule::TextNotEmpty && value->empty())) {
        value = IsRequired(entry.kind) ? std::nullopt : FallbackText(entry.whenAbsent);
    }
    if (!value) {
        return !IsRequired(entry.kind);
    }
    switch (entry.rule) {
    case Rule::Text:
    case Rule::TextNotEmpty:
        options.*std::get<TextField>(entry.field) = *value;
        return true;
    case Rule::StrictBoolean:
        return model::Store(options.*std::get<BooleanField>(entry.field),
                            BConfigFile::ReadStrictBoolean(source, entry.sKey, *value));
    case Rule::LooseBoolean:
        options.*std::get<BooleanField>(entry.field) = BConfigFile::IsTrueText(*value);
        return true;
    }
    return false;
}

std::string FieldText(const GeneralOptionFields& options,
                      const std::variant<TextField, BooleanField>& field) {
    if (const auto* text = std::get_if<TextField>(&field)) {
        return options.**text;
    }
    return model::BooleanText(options.*std::get<BooleanField>(field));
}

void ShowUnsupportedVersion(std::int32_t lVersion) {
    const std::string product = kProductName;
    platform::Ui().ShowMessageBox(BCommon::Env().m_sProductName,
                                  "The configuration file version (" + std::to_string(lVersion) +
                                      ")" + " is not supported by this version of " + product +
                                      ".\r\rPlease upgrade to the "
                                      "lastest version of " +
                                      product + ".",
                                  platform::kOkOnly + platform::kCritical);
}

} // namespace

void CConfigOptions::Equals(const CConfigOptions& clsConfigOptions) {
    static_cast<GeneralOptionFields&>(*this) = clsConfigOptions;
    PrinterGroups().Equals(clsConfigOptions.PrinterGroups());
}

bool CConfigOptions::ReadIniFile(const std::string& sIniFile) {
    return BCommon::ReportingFailures("CConfigOptions::ReadIniFile", false, [&] {
        // The version reader has told the user about an unusable file or version.
        Version = BCommon::GetConfigFileVersion(sIniFile);
        if (Version == 0) {
            return false;
        }
        if (Version > kHighestVersion) {
            ShowUnsupportedVersion(Version);
            return false;
        }
        const BConfigFile::OpenIniFile file(sIniFile);
        if (file.Handle() == 0) {
            BConfigFile::ShowOpenFailure(sIniFile);
            return false;
        }
        return ReadGeneralSection(sIniFile, file.Handle()) &&
               PrinterGroups().ReadIniFile(Version, sIniFile, file.Handle());
    });
}

bool CConfigOptions::ReadGeneralSection(const std::string& sIniFile, std::int32_t hIniFile) {
    const EntrySource source{kGeneralSection, sIniFile, hIniFile};
    return std::all_of(kReadTable.begin(), kReadTable.end(),
                       [&](const GeneralEntry& entry) { return ReadInto(*this, entry, source); });
}

bool CConfigOptions::WriteIniFile(const std::string& sIniFile) const {
    return BCommon::ReportingFailures("CConfigOptions::WriteIniFile", false, [&] {
        const auto file = BCommon::OpenRewrite(sIniFile);
        // A file left unclosed is dropped whole: the old file stays as it was.
        if (!WriteGeneralSection(*file) || !PrinterGroups().WriteIniFile(*file)) {
            return false;
        }
        file->Close();
        return true;
    });
}

bool CConfigOptions::WriteGeneralSection(platform::TextFile& oFile) const {
    // Whatever version was read, the file written has layout 2.
    return BConfigFile::WriteIniFileSection(oFile, kGeneralSection) &&
           BConfigFile::WriteIniFileValue(oFile, "Version",
                                          std::to_string(CPrinterGroups::kGroupSectionsVersion)) &&
           std::all_of(kWriteTable.begin(), kWriteTable.end(), [&](const WrittenEntry& entry) {
               return BConfigFile::WriteIniFileValue(oFile, entry.sKey,
                                                     FieldText(*this, entry.field));
           });
}

bool operator==(const CConfigOptions& a, const CConfigOptions& b) {
    return static_cast<const GeneralOptionFields&>(a) ==
               static_cast<const GeneralOptionFields&>(b) &&
           a.PrinterGroups() == b.PrinterGroups();
}
