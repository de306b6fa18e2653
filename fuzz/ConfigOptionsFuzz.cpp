// Fuzz target: any bytes as a configuration file; one that reads must round-trip unchanged.
#include "config/ConfigDoubles.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/CConfigOptions.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kInput = "C:\\Ledgerline\\Config.ini";
constexpr const char* kOutput = "C:\\Ledgerline\\Written.ini";

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "round trip failed: %s\n", what);
        std::abort();
    }
}

// The writer always puts a blank after a constant's "0,", so a constant that filled a whole
// read comes back one character short: such a file cannot make the round trip.
bool HoldsConstantLongerThanARoundTrip(const CConfigOptions& options) {
    constexpr std::size_t kLongestRoundTrip = BConfigFile::kLongestValue - 3; // after "0, "
    for (const auto& group : options.PrinterGroups()) {
        for (const auto& category : group->Categories()) {
            for (const auto& value : category->PreDefinedValues()) {
                if (!value->Computed && value->ConstantText.size() > kLongestRoundTrip) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ldgr::test::ConfigWorld world;
    BCommon::Env().m_sConfigPath = "C:\\Ledgerline\\";
    BCommon::Env().m_sMachineName = "FUZZBOX";
    // Every Put is a new version of the file, so the INI library parses it afresh.
    world.files.Put(kInput, std::string(reinterpret_cast<const char*>(data), size));
    world.desktop.boxes.clear();
    CConfigOptions read;
    if (!read.ReadIniFile(kInput) || HoldsConstantLongerThanARoundTrip(read)) {
        return 0;
    }
    Require(read.WriteIniFile(kOutput), "the file that was read could not be written");
    // SIMMonitor is never written: the reading object keeps its own.
    CConfigOptions reread;
    reread.SIMMonitor = read.SIMMonitor;
    world.desktop.boxes.clear();
    Require(reread.ReadIniFile(kOutput), "the written file does not read");
    Require(world.desktop.boxes.empty(), "reading the written file showed a message");
    // The file written always has version 2.
    read.Version = CPrinterGroups::kGroupSectionsVersion;
    Require(reread == read, "the written file reads as another object tree");
    return 0;
}
