// ldgrcheck: reads a configuration file as every suite program does, prints what a workstation
// would have told its user, and on request writes the file back in layout 2.
#include "ledgerline/KorvaneIni/IniIndex.h"
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Identity.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/common/Temporaries.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/ConfigReaders.h"
#include "ledgerline/config/model/CConfigOptions.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Forwarding.h"
#include "ledgerline/platform/Platform.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: ldgrcheck FILE [--write NEWFILE]\n"
    "  Reads the configuration file FILE as the suite's programs read it and prints the\n"
    "  message a workstation would show, or OK with what the file holds. With --write, a\n"
    "  file that reads without a problem is written to NEWFILE in the current layout (files\n"
    "  of the single-group layout become one group \"Default\"). Exit status 0 or 1, or 2\n"
    "  when the user or computer name is one Windows could not report.\n";

struct Arguments {
    std::string sIniFile;
    std::optional<std::string> sWriteTo;
};

std::optional<Arguments> ParseArguments(int argc, char** argv) {
    Arguments arguments;
    bool bHaveFile = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--write" && i + 1 < argc && !arguments.sWriteTo) {
            arguments.sWriteTo = argv[++i];
        } else if (!bHaveFile && !argument.empty() && !argument.starts_with("-")) {
            arguments.sIniFile = argument;
            bHaveFile = true;
        } else {
            return std::nullopt;
        }
    }
    return bHaveFile ? std::optional(arguments) : std::nullopt;
}

// The desktop in use, keeping the text of every box it shows so the tool can print it.
class RecordingDesktop final : public platform::ForwardingDesktop {
public:
    explicit RecordingDesktop(platform::Desktop& shown) : ForwardingDesktop(shown) {}

    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        m_texts.push_back(text);
        return ForwardingDesktop::ShowMessageBox(title, text, style);
    }

    // The texts shown since the last call.
    std::vector<std::string> TakeTexts() { return std::exchange(m_texts, {}); }

private:
    std::vector<std::string> m_texts;
};

// The environment a workstation reads the file in, as far as the readers use it: the folder
// of the configuration file the registry records (of the checked file when there is no
// record) and this computer's name stand in for the defaults of entries the file leaves out.
void PrepareEnvironment(const std::string& sIniFile) {
    BCommon::EnvironmentRecord& env = BCommon::Env();
    env.m_sProductName = BCommon::kProductName;
    env.m_sSupportPhone = BCommon::kSupportPhone;
    const std::string sShared = BCommon::GetConfigFile();
    // Absolute, as start-up makes it: a connected drive's folder is read as its share.
    env.m_sConfigPath = BCommon::GetAbsolutePath(BCommon::FolderOf(BCommon::GetAbsolutePath(
        sShared.empty() ? platform::Ui().CommandLinePath(sIniFile) : sShared)));
    env.m_sMachineName = BCommon::GetMachineName();
}

// Boxes show CR as a line break; so does the terminal's text.
void PrintBoxes(const std::vector<std::string>& texts) {
    for (std::string text : texts) {
        for (char& c : text) {
            c = c == '\r' ? '\n' : c;
        }
        text += '\n';
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
}

// "1 printer group", "2 printer groups".
std::string Counted(std::int32_t lCount, const std::string& sSingular, const std::string& sPlural) {
    return std::to_string(lCount) + " " + (lCount == 1 ? sSingular : sPlural);
}

std::string Summary(const CConfigOptions& options) {
    std::int32_t lCategories = 0;
    std::int32_t lValues = 0;
    for (const auto& group : options.PrinterGroups()) {
        lCategories += group->Categories().Count();
        for (const auto& category : group->Categories()) {
            lValues += category->PreDefinedValues().Count();
        }
    }
    return "OK: version " + std::to_string(options.Version) + ", " +
           Counted(options.PrinterGroups().Count(), "printer group", "printer groups") + ", " +
           Counted(lCategories, "category", "categories") + ", " +
           Counted(lValues, "predefined value", "predefined values");
}

// A workstation reads at most BConfigFile::kLongestValue characters of a value: one warning
// line for each entry that it would read cut.
void WarnOfLongValues(const KorvaneIni::IniIndex& index) {
    index.ForEachEntry([](const KorvaneIni::IniIndex::EntryText& entry) {
        const auto& [section, key, value] = entry;
        if (value.size() > BConfigFile::kLongestValue) {
            std::printf("Warning: [%.*s].%.*s is %zu characters long; a workstation reads only "
                        "the first %zu\n",
                        static_cast<int>(section.size()), section.data(),
                        static_cast<int>(key.size()), key.data(), value.size(),
                        BConfigFile::kLongestValue);
        }
    });
}

// The entries that a workstation fills from its own surroundings when the file leaves them
// out: a file written here carries this computer's values, so each one is named.
void TellDefaultsFilled(const KorvaneIni::IniIndex& index, const CConfigOptions& options) {
    const std::pair<const char*, const std::string*> filled[] = {
        {"AutoUpdateLocation", &options.AutoUpdateLocation},
        {"DataPath", &options.DataPath},
        {"FileServers", &options.FileServers},
    };
    for (const auto& [key, value] : filled) {
        if (!index.Find("GENERAL", key)) {
            std::printf("%s not in the file: %s written\n", key, value->c_str());
        }
    }
}

// Removes the stale temporaries in the folder of the file to write: a write killed half-way
// leaves its temporary there, as large as the file, and no program of the suite lists that
// folder.
void SweepFolderOf(const std::string& sWriteTo) {
    BCommon::SkipFailingStep([&] {
        const std::string sFolder = BCommon::FolderOf(platform::Ui().CommandLinePath(sWriteTo));
        if (!sFolder.empty()) {
            BCommon::RemoveStaleTemporaries(sFolder);
        }
    });
}

int Check(const Arguments& arguments, RecordingDesktop& desktop) {
    // The file is read and parsed once, here: the readers' opens of the unchanged file reuse
    // what this handle holds, and so do the warnings (a second parse of a large file would
    // need its memory twice).
    const BConfigFile::OpenIniFile file(arguments.sIniFile);
    CConfigOptions options;
    const bool bRead = options.ReadIniFile(arguments.sIniFile);
    std::vector<std::string> texts = desktop.TakeTexts();
    PrintBoxes(texts);
    if (!bRead) {
        if (texts.empty()) {
            // Version 0 is refused without a word; say so, since a workstation will not.
            std::printf("Not read: the entry [GENERAL].Version is 0 in file:\n%s\n",
                        arguments.sIniFile.c_str());
        }
        return 1;
    }
    const auto index = KorvaneIni::ParsedFile(file.Handle());
    if (index) {
        WarnOfLongValues(*index);
    }
    std::printf("%s\n", Summary(options).c_str());
    if (!arguments.sWriteTo) {
        return 0;
    }
    SweepFolderOf(*arguments.sWriteTo);
    const bool bWritten = options.WriteIniFile(*arguments.sWriteTo);
    PrintBoxes(desktop.TakeTexts());
    if (!bWritten) {
        return 1;
    }
    if (index) {
        TellDefaultsFilled(*index, options);
    }
    std::printf("Written: %s\n", arguments.sWriteTo->c_str());
    return 0;
}

// What no reader trapped (the system out of memory or file handles where the tool itself
// reads) ends the check as a workstation's run would end: the error named, status 1.
int ShowRunTimeError() {
    const ldgr::Error error = ldgr::CurrentError();
    std::printf("Run-time error '%d':\n\n%s\n", static_cast<int>(error.Number()),
                error.Description().c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        platform::StartProgram(argc, argv);
        const std::optional<Arguments> arguments = ParseArguments(argc, argv);
        if (!arguments) {
            std::fputs(kUsage, stderr);
            return 1;
        }
        PrepareEnvironment(arguments->sIniFile);
        RecordingDesktop desktop(platform::Ui());
        const platform::ScopedServices services({.desktop = &desktop});
        return Check(*arguments, desktop);
    } catch (...) {
        return ShowRunTimeError();
    }
}
