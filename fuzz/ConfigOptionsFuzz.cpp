// Fuzz target: arbitrary bytes as a configuration file read through CConfigOptions. A file
// that reads is written out, and reading that back must succeed without a message and give
// the same object tree. Files and message boxes are the configuration tests' doubles.
#include "common/Environment.h"
#include "config/BConfigFile.h"
#include "config/ConfigDoubles.h"
#include "config/model/CConfigOptions.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kInput = "C:\\Ledgerline\\Config.ini";
constexpr const char* kOutput = "C:\\Ledgerline\\Written.ini";

ldgr::test::ConfigWorld& World() {
    static ldgr::test::ConfigWorld world;
    static const bool prepared = [] {
        BCommon::Env().m_sConfigPath = "C:\\Ledgerline\\";
        BCommon::Env().m_sMachineName = "FUZZBOX";
        return true;
    }();
    static_cast<void>(prepared);
    return world;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "round trip failed: %s\n", what);
    std::abort();
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
    ldgr::test::ConfigWorld& world = World();
    // Every Put is a new version of the file, so the INI library parses it afresh.
    world.files.Put(kInput, std::string(reinterpret_cast<const char*>(data), size));
    world.desktop.boxes.clear();

    CConfigOptions read;
    if (!read.ReadIniFile(kInput) || HoldsConstantLongerThanARoundTrip(read)) {
        return 0;
    }
    if (!read.WriteIniFile(kOutput)) {
        Fail("the file that was read could not be written");
    }

    // SIMMonitor is never written: the reading object keeps its own.
    CConfigOptions reread;
    reread.SIMMonitor = read.SIMMonitor;
    world.desktop.boxes.clear();
    if (!reread.ReadIniFile(kOutput)) {
        Fail("the written file does not read");
    }
    if (!world.desktop.boxes.empty()) {
        Fail("reading the written file showed a message");
    }
    // The file written always has version 2.
    read.Version = CPrinterGroups::kGroupSectionsVersion;
    if (!(reread == read)) {
        Fail("the written file reads as another object tree");
    }
    return 0;
}
