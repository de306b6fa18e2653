// CPreDefinedValue: the computed-value codes, and reading and writing one value entry.
#include "ledgerline/config/model/CPreDefinedValue.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"
#include "ledgerline/platform/AsciiText.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

enum class ValueClass { System, Calculated };

struct ComputedCode {
    std::int32_t lCode;
    std::string_view sDescription;
    ValueClass valueClass;
};

constexpr std::array<ComputedCode, 39> kComputedCodes{{
    {1, "None", ValueClass::Calculated},
    {2, "Last Used", ValueClass::Calculated},
    {10, "Printer Name", ValueClass::System},
    {11, "Machine Name", ValueClass::System},
    {12, "User Name", ValueClass::System},
    {13, "Document Name", ValueClass::System},
    {14, "Submitted Date/Time", ValueClass::System},
    {15, "Queue Name", ValueClass::System},
    {16, "Driver Name", ValueClass::System},
    {17, "Printer Group", ValueClass::System},
    {20, "Job Size (bytes)", ValueClass::System},
    {21, "Number of Pages Per Copy", ValueClass::System},
    {22, "Number of Separator Pages", ValueClass::System},
    {23, "DataBase Record ID", ValueClass::System},
    {24, "Number of Copies", ValueClass::System},
    {25, "Total Pages", ValueClass::Calculated},
    {31, "Paper Name", ValueClass::System},
    {32, "Paper Width (in)", ValueClass::System},
    {33, "Paper Height (in)", ValueClass::System},
    {34, "Paper Area Per Sheet (sq ft)", ValueClass::Calculated},
    {35, "Paper Size (## x ##)", ValueClass::Calculated},
    {36, "Paper Name and Size", ValueClass::Calculated},
    {37, "Total Paper Area (sq ft)", ValueClass::Calculated},
    {38, "Media Type", ValueClass::System},
    {39, "Orientation", ValueClass::System},
    {40, "Job Summary", ValueClass::System},
    {41, "Path and Filename", ValueClass::System},
    {42, "Color-Monochrome", ValueClass::System},
    {43, "RESERVED", ValueClass::System},
    {81, "Document Directory Level 1", ValueClass::Calculated},
    {82, "Document Directory Level 2", ValueClass::Calculated},
    {83, "Document Directory Level 3", ValueClass::Calculated},
    {84, "Document Directory Level 4", ValueClass::Calculated},
    {85, "Document Directory Level 5", ValueClass::Calculated},
    {86, "Document Directory Level 6", ValueClass::Calculated},
    {87, "Document Directory Level 7", ValueClass::Calculated},
    {88, "Document Directory Level 8", ValueClass::Calculated},
    {89, "Auto Directory Level Including Filename", ValueClass::Calculated},
    {90, "Auto Directory Level", ValueClass::Calculated},
}};

const ComputedCode* FindCode(std::int32_t lCode) {
    const auto found = std::find_if(kComputedCodes.begin(), kComputedCodes.end(),
                                    [&](const ComputedCode& code) { return code.lCode == lCode; });
    return found == kComputedCodes.end() ? nullptr : &*found;
}

// A code entry must lie in this range before it is looked up in the table.
constexpr double kHighestCode = 32767;

// The mark that opens a constant's entry; the writer adds one blank after it, always.
constexpr std::string_view kConstantMark = "0,";

} // namespace

std::string CPreDefinedValue::Description() const {
    if (!Computed) {
        return ConstantText;
    }
    const ComputedCode* code = FindCode(ComputedType);
    return code == nullptr ? "(unknown)" : std::string(code->sDescription);
}

void CPreDefinedValue::Equals(const CPreDefinedValue& clsPreDefinedValue) {
    Computed = clsPreDefinedValue.Computed;
    ComputedType = clsPreDefinedValue.ComputedType;
    ConstantText = clsPreDefinedValue.ConstantText;
}

bool CPreDefinedValue::IsCalculatedValue() const {
    const ComputedCode* code = Computed ? FindCode(ComputedType) : nullptr;
    return code != nullptr && code->valueClass == ValueClass::Calculated;
}

bool CPreDefinedValue::IsSystemValue() const {
    const ComputedCode* code = Computed ? FindCode(ComputedType) : nullptr;
    return code != nullptr && code->valueClass == ValueClass::System;
}

bool CPreDefinedValue::ReadIniFile(std::int32_t /*lVersion*/, const std::string& sIniFile,
                                   std::int32_t hIniFile, const std::string& sSection,
                                   const std::string& sKey) {
    return BCommon::ReportingFailures("CPreDefinedValue::ReadIniFile", false, [&] {
        const BConfigFile::EntrySource source{sSection, sIniFile, hIniFile};
        const std::optional<std::string> value =
            BConfigFile::ReadEntry(source, sKey, BConfigFile::EntryKind::Required);
        if (!value) {
            return false;
        }
        if (value->starts_with(kConstantMark)) {
            Computed = false;
            ComputedType = 0;
            ConstantText = ldgr::ascii::Trim(std::string_view(*value).substr(kConstantMark.size()));
            return true;
        }
        Computed = true;
        ConstantText.clear();
        const std::optional<std::int32_t> code =
            BConfigFile::ReadNumber(source, sKey, *value, 0, kHighestCode);
        if (!code) {
            return false;
        }
        ComputedType = *code;
        if (FindCode(ComputedType) == nullptr) {
            BConfigFile::ShowConfigMessage(BConfigFile::ConfigMessage::NotValid, sSection, sKey,
                                           sIniFile);
            return false;
        }
        return true;
    });
}

bool CPreDefinedValue::WriteIniFile(platform::TextFile& oFile, const std::string& sKey) const {
    return BCommon::ReportingFailures("CPreDefinedValue::WriteIniFile", false, [&] {
        const std::string value = Computed ? std::to_string(ComputedType)
                                           : std::string(kConstantMark) + " " + ConstantText;
        return BConfigFile::WriteIniFileValue(oFile, sKey, value);
    });
}
