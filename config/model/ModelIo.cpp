// What the configuration model's readers and writers share.
#include "ledgerline/config/model/ModelIo.h"

#include "ledgerline/config/BConfigFile.h"

namespace model {

using BConfigFile::EntryKind;
using BConfigFile::EntrySource;

std::string BooleanText(bool bValue) {
    return bValue ? "True" : "False";
}

bool ReadRequiredText(const EntrySource& source, const std::string& sKey, std::string& member) {
    const std::optional<std::string> value =
        BConfigFile::ReadEntry(source, sKey, EntryKind::Required);
    member = value.value_or(BConfigFile::kNotFound);
    return value.has_value();
}

std::optional<std::int32_t> ReadNumberEntry(const EntrySource& source, const std::string& sKey,
                                            double lowest, double highest,
                                            std::int32_t lIconStyle) {
    const std::optional<std::string> value =
        BConfigFile::ReadEntry(source, sKey, EntryKind::Required);
    if (!value) {
        return std::nullopt;
    }
    return BConfigFile::ReadNumber(source, sKey, *value, lowest, highest, lIconStyle);
}

std::optional<std::int32_t> ReadItemCount(const EntrySource& source, const std::string& sKey) {
    return ReadNumberEntry(source, sKey, 0, kMaxItemCount);
}

std::optional<bool> ReadStrictBooleanEntry(const EntrySource& source, const std::string& sKey,
                                           std::int32_t lIconStyle) {
    const std::optional<std::string> value =
        BConfigFile::ReadEntry(source, sKey, EntryKind::Required);
    if (!value) {
        return std::nullopt;
    }
    return BConfigFile::ReadStrictBoolean(source, sKey, *value, lIconStyle);
}

std::optional<bool> ReadLooseBooleanEntry(const EntrySource& source, const std::string& sKey,
                                          EntryKind kind) {
    const std::optional<std::string> value = BConfigFile::ReadEntry(source, sKey, kind);
    if (!value) {
        return std::nullopt;
    }
    return BConfigFile::IsTrueText(*value);
}

} // namespace model
