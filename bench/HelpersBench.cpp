// What the common helpers cost over the hosted platform (hosted build only: it points
// LDGR_PREFIX at a temporary prefix): the 26-letter drive search, the folder probe, the folder
// count and the date text.
#include "ledgerline/common/Access.h"
#include "ledgerline/common/DateAndFiles.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/platform/Platform.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

// A prefix with eight connected drives, none of them reaching \\srv\none, and a folder of
// 1000 files.
class BenchPrefix {
public:
    BenchPrefix() : m_folder(fs::temp_directory_path() / UniqueName()) {
        fs::create_directories(m_folder / "drive_c" / "many");
        setenv("LDGR_PREFIX", m_folder.c_str(), 1);
        std::string argv0 = (m_folder / "ldgrmake").string();
        char* argv[] = {argv0.data(), nullptr};
        platform::StartProgram(1, argv);
        std::ofstream registry(m_folder / "registry.reg");
        registry << "Windows Registry Editor Version 5.00\r\n";
        for (char letter = 'F'; letter < 'N'; ++letter) {
            registry << "\r\n[HKEY_CURRENT_USER\\Network\\" << letter << "]\r\n"
                     << "\"RemotePath\"=\"\\\\\\\\srv\\\\share" << letter << "\"\r\n";
        }
        for (int i = 0; i < 1000; ++i) {
            std::ofstream(m_folder / "drive_c" / "many" / ("file" + std::to_string(i) + ".txt"));
        }
    }
    ~BenchPrefix() {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    BenchPrefix(const BenchPrefix&) = delete;
    BenchPrefix& operator=(const BenchPrefix&) = delete;

private:
    static std::string UniqueName() {
        return "ldgr-bench-" + std::to_string(std::random_device{}());
    }
    fs::path m_folder;
};

void BM_MappedDrivePathNoMatch(benchmark::State& state) {
    const BenchPrefix prefix;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BCommon::GetMappedDrivePath("\\\\srv\\none\\config.ini"));
    }
}
BENCHMARK(BM_MappedDrivePathNoMatch);

void BM_FolderAccessFullRights(benchmark::State& state) {
    const BenchPrefix prefix;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BCommon::GetFolderAccess("C:\\many"));
    }
}
BENCHMARK(BM_FolderAccessFullRights);

void BM_CountThousandEntries(benchmark::State& state) {
    const BenchPrefix prefix;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BCommon::CountFolderEntries("C:\\many\\*"));
    }
}
BENCHMARK(BM_CountThousandEntries);

void BM_DateText(benchmark::State& state) {
    for (auto _ : state) {
        std::string text = "3/1/2024 1:05:03 PM";
        benchmark::DoNotOptimize(BCommon::GetDateText(text));
    }
}
BENCHMARK(BM_DateText);

} // namespace

BENCHMARK_MAIN();
