/// @file
/// CPrinterGroup: a named set of per-group monitoring options with the group's categories.
#pragma once

#include "ledgerline/config/model/CCategories.h"

#include <cstdint>
#include <memory>
#include <string>

/// A named set of per-group monitoring options, with the group's categories.
class CPrinterGroup final {
public:
    /// What Redirect holds when the file names no address: no redirection.
    static constexpr const char* kNoRedirection = "Enter IP Address Here";

    CPrinterGroup() = default;
    CPrinterGroup(const CPrinterGroup&) = delete;
    CPrinterGroup& operator=(const CPrinterGroup&) = delete;

    std::string GroupName;       ///< the group's name (entry "PrinterGroupName")
    bool DisableLogging = false; ///< logging is off for the group's jobs
    bool LogSilent = false;      ///< the group's jobs are logged without asking the user
    bool PauseUntilAck = false;  ///< the group's jobs pause until acknowledged
    /// The address to redirect to; empty or kNoRedirection for none.
    std::string Redirect;
    /// The categories; the collection can be replaced by another, never removed.
    CCategories& Categories() const { return *m_oCategories; }
    /// Replaces the categories by another collection, then shared with whoever else holds it; a
    /// null one raises error 91.
    void SetCategories(std::shared_ptr<CCategories> pCategories) {
        m_oCategories.Replace(std::move(pCategories), "CPrinterGroup::Categories");
    }

    /// Makes this group a deep copy of the other (own category objects).
    void Equals(const CPrinterGroup& clsPrinterGroup);
    /// Reads the group's section sSection and its categories.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSection);
    /// Writes an empty line, the section sSection, its entries and its categories.
    bool WriteIniFile(platform::TextFile& oFile, const std::string& sSection) const;

    /// Same content, categories compared by value.
    friend bool operator==(const CPrinterGroup& a, const CPrinterGroup& b);

private:
    OwnedCollection<CCategories> m_oCategories;
};
