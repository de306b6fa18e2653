// Module BRegistry: the two registry readers.
#include "ledgerline/config/BRegistry.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/Platform.h"

#include <cstdint>
#include <optional>

namespace BRegistry {
namespace {

constexpr std::size_t kValueBufferSize = 1024;
constexpr const char* kUnknown = "(unknown)";

// The data as text: a final NUL, the terminator the query returns with a text, is dropped.
std::string DataText(std::string data) {
    if (!data.empty() && data.back() == '\0') {
        data.pop_back();
    }
    return data;
}

// The data bytes, least significant first, as one 32-bit number in decimal text. Numbers of
// 2^31 and above read as unsigned: the registry stores them without a sign.
std::string DwordText(const std::string& data) {
    std::uint32_t value = 0;
    for (std::size_t i = data.size(); i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    }
    return std::to_string(value);
}

} // namespace

bool GetKeyValue(platform::RootKey hRootKey, const std::string& sSubKey,
                 const std::string& sValueName, std::string& sResult) {
    // Nothing when the read failed: the result is then cleared as well.
    const std::optional<bool> bRead =
        BCommon::ReportingFailures("GetKeyValue", std::optional<bool>(), [&] {
            const platform::RegistryValue value =
                platform::Reg().ReadValue(hRootKey, sSubKey, sValueName,
                                          platform::RegistryAccess::AllAccess, kValueBufferSize);
            if (value.status != platform::RegistryStatus::Ok) {
                return std::optional(false);
            }
            const std::string data = DataText(value.data);
            if (value.type == platform::kRegSz) {
                sResult = data;
            } else if (value.type == platform::kRegDword) {
                sResult = DwordText(data.substr(0, 4));
            }
            return std::optional(true);
        });
    if (!bRead) {
        sResult.clear();
    }
    return bRead.value_or(false);
}

std::string GetMachineKeyValue(const std::string& sSubKey, const std::string& sValueName) {
    const platform::RegistryValue value =
        platform::Reg().ReadValue(platform::RootKey::LocalMachine, sSubKey, sValueName,
                                  platform::RegistryAccess::Read, kValueBufferSize);
    return value.status == platform::RegistryStatus::Ok ? DataText(value.data) : kUnknown;
}

} // namespace BRegistry
