// The process-wide environment record.
#include "ledgerline/common/Environment.h"

#include "ledgerline/platform/AsciiText.h"

namespace BCommon {

OptionValue OptionValue::TextOrFalse(std::string text) {
    return text.empty() ? False() : Text(std::move(text));
}

std::string OptionValue::AsText() const {
    if (const auto* text = std::get_if<std::string>(&m_value)) {
        return *text;
    }
    return std::get<bool>(m_value) ? "True" : "False";
}

bool OptionValue::IsTrue() const {
    if (const auto* value = std::get_if<bool>(&m_value)) {
        return *value;
    }
    const std::string_view text = ldgr::ascii::Trim(std::get<std::string>(m_value));
    return ldgr::ascii::EqualsIgnoreCase(text, "True") || text == "-1";
}

EnvironmentRecord& Env() {
    static EnvironmentRecord record;
    return record;
}

void ResetEnvironment() {
    Env() = EnvironmentRecord{};
}

} // namespace BCommon
