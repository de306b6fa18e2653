// CCategory: the display rule, and reading and writing one category section.
#include "ledgerline/config/model/CCategory.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"
#include "ledgerline/platform/Desktop.h"

namespace {

using BConfigFile::EntryKind;
using platform::kCritical;
using platform::kExclamation;

// The one category that must always be shown, whatever its rule says.
constexpr const char* kCostCategory = "Cost";

// What stands in "Pattern" when the file gives no pattern.
constexpr const char* kAnyPattern = "Any";

constexpr std::int32_t kDisplayNever = 0;
constexpr std::int32_t kDisplayWhenInvalid = 1;
constexpr std::int32_t kDisplayAlways = 2;

} // namespace

bool CCategory::DisplayRequired(bool bUserValueValid) const {
    if (CategoryName == kCostCategory) {
        return true;
    }
    switch (DisplayCategory) {
    case kDisplayNever:
        return false;
    case kDisplayWhenInvalid:
        return !bUserValueValid;
    // A rule the reader would have refused errs on the side of asking.
    default:
        return true;
    }
}

void CCategory::Equals(const CCategory& clsCategory) {
    CategoryName = clsCategory.CategoryName;
    DisplayCategory = clsCategory.DisplayCategory;
    AckDefaultValues = clsCategory.AckDefaultValues;
    AllowBlankValues = clsCategory.AllowBlankValues;
    OnlyPreDefinedValues = clsCategory.OnlyPreDefinedValues;
    MaskUserInput = clsCategory.MaskUserInput;
    Pattern = clsCategory.Pattern;
    PreDefinedValues().Equals(clsCategory.PreDefinedValues());
    DefaultValue = clsCategory.DefaultValue;
}

bool CCategory::ReadIniFile(std::int32_t lVersion, const std::string& sIniFile,
                            std::int32_t hIniFile, const std::string& sSection) {
    return BCommon::ReportingFailures("CCategory::ReadIniFile", false, [&] {
        const BConfigFile::EntrySource source{sSection, sIniFile, hIniFile};
        if (!(model::ReadRequiredText(source, "CategoryName", CategoryName) &&
              model::Store(DisplayCategory,
                           model::ReadNumberEntry(source, "Verification", kDisplayNever,
                                                  kDisplayAlways, kExclamation)) &&
              model::Store(AckDefaultValues,
                           model::ReadStrictBooleanEntry(source, "AckDefaultValues", kCritical)) &&
              model::Store(AllowBlankValues,
                           model::ReadStrictBooleanEntry(source, "AllowBlankValues")) &&
              model::Store(OnlyPreDefinedValues,
                           model::ReadStrictBooleanEntry(source, "OnlyPreDefinedValues")))) {
            return false;
        }
        MaskUserInput =
            model::ReadLooseBooleanEntry(source, "MaskUserInput", EntryKind::OptionalBlankAllowed)
                .value_or(false);
        const std::string pattern =
            BConfigFile::ReadEntry(source, "Pattern", EntryKind::OptionalBlankAllowed).value_or("");
        Pattern = pattern.empty() ? kAnyPattern : pattern;
        // The default names a position among the values just read.
        return PreDefinedValues().ReadIniFile(lVersion, sIniFile, hIniFile, sSection) &&
               model::Store(DefaultValue,
                            model::ReadNumberEntry(source, "DefaultValue", 0,
                                                   PreDefinedValues().Count(), kCritical));
    });
}

bool CCategory::WriteIniFile(platform::TextFile& oFile, const std::string& sSection) const {
    using BConfigFile::WriteIniFileValue;
    return BCommon::ReportingFailures("CCategory::WriteIniFile", false, [&] {
        return BConfigFile::WriteIniFileSection(oFile, "") &&
               BConfigFile::WriteIniFileSection(oFile, sSection) &&
               WriteIniFileValue(oFile, "CategoryName", CategoryName) &&
               WriteIniFileValue(oFile, "Verification", std::to_string(DisplayCategory)) &&
               WriteIniFileValue(oFile, "AckDefaultValues", model::BooleanText(AckDefaultValues)) &&
               WriteIniFileValue(oFile, "AllowBlankValues", model::BooleanText(AllowBlankValues)) &&
               WriteIniFileValue(oFile, "OnlyPreDefinedValues",
                                 model::BooleanText(OnlyPreDefinedValues)) &&
               WriteIniFileValue(oFile, "MaskUserInput", model::BooleanText(MaskUserInput)) &&
               WriteIniFileValue(oFile, "Pattern", Pattern) &&
               PreDefinedValues().WriteIniFile(oFile) &&
               WriteIniFileValue(oFile, "DefaultValue", std::to_string(DefaultValue));
    });
}

bool operator==(const CCategory& a, const CCategory& b) {
    return a.CategoryName == b.CategoryName && a.DisplayCategory == b.DisplayCategory &&
           a.AckDefaultValues == b.AckDefaultValues && a.AllowBlankValues == b.AllowBlankValues &&
           a.OnlyPreDefinedValues == b.OnlyPreDefinedValues && a.MaskUserInput == b.MaskUserInput &&
           a.Pattern == b.Pattern && a.PreDefinedValues() == b.PreDefinedValues() &&
           a.DefaultValue == b.DefaultValue;
}
