// Speed of the INI library: reading a whole configuration file against two other INI readers,
// and the start-up snapshot's pattern of one open, one read and one close on an unchanged file.
// Hosted only: the file is written into a temporary prefix and read there by every reader.
#include "ledgerline/KorvaneIni/IniIndex.h"
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/platform/Platform.h"

#include <INIReader.h>
#include <SimpleIni.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using BConfigFile::WriteIniFileSection;
using BConfigFile::WriteIniFileValue;

constexpr int kCategories = 5;
constexpr int kPredefinedValues = 10;

struct Entry {
    std::string sSection;
    std::string sKey;
};

// A configuration file as the object model writes it, and every entry in it.
struct Configuration {
    std::string sWindowsPath;
    std::string sHostPath;
    std::vector<Entry> entries;
};

class ConfigurationWriter {
public:
    ConfigurationWriter(platform::TextFile& file, std::vector<Entry>& entries)
        : m_file(file), m_entries(entries) {}

    void Section(const std::string& sSection) {
        if (!m_sSection.empty()) {
            WriteIniFileSection(m_file, "");
        }
        WriteIniFileSection(m_file, sSection);
        m_sSection = sSection;
    }
    void Value(const std::string& sKey, const std::string& sValue) {
        WriteIniFileValue(m_file, sKey, sValue);
        m_entries.push_back({m_sSection, sKey});
    }

private:
    platform::TextFile& m_file;
    std::vector<Entry>& m_entries;
    std::string m_sSection;
};

void WriteCategory(ConfigurationWriter& writer, const std::string& sSection, int lCategory) {
    writer.Section(sSection);
    writer.Value("CategoryName", "Cost centre " + std::to_string(lCategory));
    writer.Value("Verification", "1");
    writer.Value("AckDefaultValues", "False");
    writer.Value("AllowBlankValues", "False");
    writer.Value("OnlyPreDefinedValues", "True");
    writer.Value("MaskUserInput", "False");
    writer.Value("Pattern", "Any");
    writer.Value("NumPreDefinedValues", std::to_string(kPredefinedValues));
    for (int k = 1; k <= kPredefinedValues; ++k) {
        writer.Value("PreDefinedValue" + std::to_string(k),
                     k % 3 == 0 ? "12" : "0, Account " + std::to_string(lCategory * 100 + k));
    }
    writer.Value("DefaultValue", "1");
}

void WriteGroup(ConfigurationWriter& writer, int lGroup) {
    const std::string sSection = "PG" + std::to_string(lGroup);
    writer.Section(sSection);
    writer.Value("PrinterGroupName", "Floor " + std::to_string(lGroup) + " printers");
    writer.Value("DisableLogging", "False");
    writer.Value("LogSilent", "False");
    writer.Value("PauseUntilAck", lGroup % 2 == 0 ? "True" : "False");
    writer.Value("Redirect", "Enter IP Address Here");
    writer.Value("NumCategories", std::to_string(kCategories));
    for (int m = 1; m <= kCategories; ++m) {
        WriteCategory(writer, sSection + "CATEGORY" + std::to_string(m), m);
    }
}

fs::path TemporaryPrefix() {
    static const fs::path prefix = [] {
        const fs::path folder =
            fs::temp_directory_path() / ("ldgr-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder);
        ::setenv("LDGR_PREFIX", (folder / "prefix").c_str(), 1);
        platform::StartProgram(0, nullptr);
        return folder;
    }();
    return prefix;
}

Configuration MakeConfiguration(int lGroups) {
    Configuration config;
    config.sHostPath = (TemporaryPrefix() / ("Config" + std::to_string(lGroups) + ".ini")).string();
    config.sWindowsPath = "Z:" + config.sHostPath;
    std::replace(config.sWindowsPath.begin(), config.sWindowsPath.end(), '/', '\\');
    auto file = platform::Files().OpenText(config.sWindowsPath, platform::OpenMode::Output);
    ConfigurationWriter writer(*file, config.entries);
    writer.Section("GENERAL");
    writer.Value("Version", "2");
    writer.Value("DataFile", "\\\\server\\ledger\\data\\");
    writer.Value("DisableLogging", "False");
    writer.Value("LoggingMachine", "PRINTSRV");
    writer.Value("NumPrinterGroups", std::to_string(lGroups));
    for (int n = 1; n <= lGroups; ++n) {
        WriteGroup(writer, n);
    }
    file->Close();
    return config;
}

const Configuration& Config(int lGroups) {
    static const Configuration large = MakeConfiguration(1000);
    static const Configuration small = MakeConfiguration(1);
    return lGroups == 1 ? small : large;
}

void Describe(benchmark::State& state, const Configuration& config) {
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(config.entries.size()));
    state.SetLabel(std::to_string(config.entries.size()) + " entries, " +
                   std::to_string(fs::file_size(config.sHostPath) / 1024) + " KiB");
}

// Open, every entry once, close; with kept parsed files dropped first unless asked otherwise.
void ReadAllKorvaneIni(benchmark::State& state, bool bKeepParsed) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    char buffer[2048];
    for (auto _ : state) {
        if (!bKeepParsed) {
            KorvaneIni::ForgetParsedFiles();
        }
        const std::int32_t hIniFile = KorvaneIni::OpenIni(config.sWindowsPath.c_str());
        for (const Entry& entry : config.entries) {
            benchmark::DoNotOptimize(KorvaneIni::GetIniString(
                entry.sSection.c_str(), entry.sKey.c_str(), "!", buffer, sizeof buffer, hIniFile));
        }
        KorvaneIni::CloseIni(hIniFile);
    }
    Describe(state, config);
}

void BM_ReadAll_KorvaneIni(benchmark::State& state) {
    ReadAllKorvaneIni(state, false);
}
void BM_ReadAll_KorvaneIniKept(benchmark::State& state) {
    ReadAllKorvaneIni(state, true);
}

void BM_ReadAll_Inih(benchmark::State& state) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const INIReader reader(config.sHostPath);
        for (const Entry& entry : config.entries) {
            benchmark::DoNotOptimize(reader.Get(entry.sSection, entry.sKey, "!"));
        }
    }
    Describe(state, config);
}

void BM_ReadAll_SimpleIni(benchmark::State& state) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CSimpleIniA ini;
        ini.LoadFile(config.sHostPath.c_str());
        for (const Entry& entry : config.entries) {
            benchmark::DoNotOptimize(ini.GetValue(entry.sSection.c_str(), entry.sKey.c_str(), "!"));
        }
    }
    Describe(state, config);
}

// One open, one read of [GENERAL] Version, one close.
std::int32_t ReadVersion(const Configuration& config) {
    char buffer[2048];
    const std::int32_t hIniFile = KorvaneIni::OpenIni(config.sWindowsPath.c_str());
    const std::int32_t lCount =
        KorvaneIni::GetIniString("General", "Version", "!", buffer, sizeof buffer, hIniFile);
    KorvaneIni::CloseIni(hIniFile);
    return lCount;
}

// The cost start-up would pay without the cache: every open parses the file afresh.
void BM_OpenReadClose_Afresh(benchmark::State& state) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        KorvaneIni::ForgetParsedFiles();
        benchmark::DoNotOptimize(ReadVersion(config));
    }
}

// The printer-group snapshot of start-up: six passes over the groups, each reading a group's
// name and one more key. The reads of one run, in order.
std::vector<Entry> SnapshotReads(int lGroups) {
    static const char* const kPassKeys[] = {"DisableLogging", "DisableLogging", "PauseUntilAck",
                                            "PauseUntilAck",  "Redirect",       "Redirect"};
    std::vector<Entry> reads;
    for (const char* sKey : kPassKeys) {
        for (int n = 1; n <= lGroups; ++n) {
            const std::string sSection = "PG" + std::to_string(n);
            reads.push_back({sSection, "PrinterGroupName"});
            reads.push_back({sSection, sKey});
        }
    }
    return reads;
}

void CountReads(benchmark::State& state, std::size_t reads) {
    state.counters["per_read"] =
        benchmark::Counter(static_cast<double>(state.iterations() * reads),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The snapshot's reads as start-up makes them, on the unchanged file: one call that opens,
// reads and closes for each.
void BM_ReadIniString_Snapshot(benchmark::State& state) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    const std::vector<Entry> reads = SnapshotReads(static_cast<int>(state.range(0)));
    ReadVersion(config);
    char buffer[2048];
    for (auto _ : state) {
        for (const Entry& read : reads) {
            benchmark::DoNotOptimize(
                KorvaneIni::ReadIniString(config.sWindowsPath.c_str(), read.sSection.c_str(),
                                          read.sKey.c_str(), "!", buffer, sizeof buffer));
        }
    }
    CountReads(state, reads.size());
}

// The same lookups in the parsed file alone: no file-system query, no handle.
void BM_Lookups_Snapshot(benchmark::State& state) {
    const Configuration& config = Config(static_cast<int>(state.range(0)));
    const std::vector<Entry> reads = SnapshotReads(static_cast<int>(state.range(0)));
    auto file = platform::Files().OpenText(config.sWindowsPath, platform::OpenMode::Input);
    const KorvaneIni::IniIndex index(file->ReadAll());
    for (auto _ : state) {
        for (const Entry& read : reads) {
            benchmark::DoNotOptimize(index.Find(read.sSection, read.sKey));
        }
    }
    CountReads(state, reads.size());
}

BENCHMARK(BM_ReadAll_KorvaneIni)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAll_KorvaneIniKept)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAll_Inih)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAll_SimpleIni)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenReadClose_Afresh)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadIniString_Snapshot)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lookups_Snapshot)->Arg(1000)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    BCommon::Env().m_sProductName = "Ledgerline";
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(TemporaryPrefix(), ignored);
    return 0;
}
