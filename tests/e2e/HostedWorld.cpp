// A fresh hosted prefix holding the example environment, and runs of the built ldgrmake in it
// (hosted build only: POSIX process start).
#include "HostedWorld.h"

#include "WineRunner.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <shared_mutex>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace e2e {
namespace fs = std::filesystem;

namespace {

// The environment of a run: the world's settings, and this process's other than its LDGR_ ones.
std::vector<std::string> RunEnvironment(std::map<std::string, std::string> settings) {
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        if (const auto equals = text.find('='); equals != text.npos && !text.starts_with("LDGR_")) {
            settings.emplace(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : settings) {
        result.push_back(name + "=" + value);
    }
    return result;
}

std::vector<char*> NullTerminated(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// No program starts while a copy of one is written: a child would inherit the copy's open
// handle, and a program file open for writing cannot be started.
std::shared_mutex g_programCopying;

// Starts a command with an environment, its standard input empty, in a working folder (the
// test's own when empty), and waits for it.
RunResult Spawn(std::vector<std::string> args, const std::map<std::string, std::string>& env,
                const std::string& workingFolder) {
    std::vector<char*> argv = NullTerminated(args);
    std::vector<std::string> envText = RunEnvironment(env);
    std::vector<char*> envp = NullTerminated(envText);
    const ldgr::test::TemporaryFolder outputs("ldgr-e2e-output");
    const std::string out = outputs.Path() + "/out";
    const std::string err = outputs.Path() + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT, 0600);
    if (!workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    }
    pid_t child = 0;
    std::shared_lock<std::shared_mutex> starting(g_programCopying);
    const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    starting.unlock();
    posix_spawn_file_actions_destroy(&actions);
    RunResult result;
    if (started == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    result.stdoutText = ReadHostFile(out);
    result.stderrText = ReadHostFile(err);
    return result;
}

} // namespace

HostedWorld::HostedWorld() {
    fs::create_directories(Prefix() + "/drive_c/Ledgerline/Data/users/alice");
    WriteHostFile(Prefix() + "/registry.reg", ReadHostFile(LDGR_EXAMPLES_DIR "/registry.reg"));
    WriteHostFile(OnDriveC("Ledgerline\\Config.ini"),
                  ReadHostFile(LDGR_EXAMPLES_DIR "/Config.ini"));
    m_env = {{"LDGR_PREFIX", Prefix()},     {"LDGR_USERNAME", "alice"},
             {"LDGR_COMPUTERNAME", "PC17"}, {"LDGR_NOW", "2026-03-01T13:05:03"},
             {"LDGR_LOCALE", "en-US"},      {"LDGR_MSGBOX_LOG", Root() + "/boxes.jsonl"}};
    if (UnderWine()) {
        PrepareWinePrefix(Prefix());
    }
}

HostedWorld::~HostedWorld() {
    if (UnderWine()) {
        EndWineSession(Prefix());
    }
}

std::string HostedWorld::OnDriveC(const std::string& windowsPath) const {
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return Prefix() + "/drive_c/" + path;
}

void HostedWorld::SetGeneralOption(const std::string& key,
                                   const std::optional<std::string>& value) const {
    const std::string path = OnDriveC("Ledgerline\\Config.ini");
    std::vector<std::string> lines = Lines(ReadHostFile(path));
    const std::string padded =
        key + std::string(key.size() < 24 ? 24 - key.size() : 0, ' ') + " = ";
    std::erase_if(lines, [&](const std::string& line) { return line.starts_with(padded); });
    if (value) {
        lines.insert(lines.begin() + 1, padded + *value);
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    WriteHostFile(path, text);
}

RunResult HostedWorld::Run(const std::string& programName,
                           const std::vector<std::string>& wrapper) const {
    // The Windows program runs under Wine from the same place, with its extension.
    const auto windowsProgram = WindowsProgram();
    const std::string program = windowsProgram.value_or(LDGR_MAKE_EXE);
    const std::string link = Root() + "/bin/" + programName + (windowsProgram ? ".exe" : "");
    // A copy rather than a link: an unprivileged run may not reach the build folder.
    if (std::shared_lock<std::shared_mutex> reading(g_programCopying); !fs::exists(link)) {
        reading.unlock();
        const std::unique_lock<std::shared_mutex> writing(g_programCopying);
        std::error_code ignored;
        fs::create_directories(Root() + "/bin");
        fs::copy_file(program, link, fs::copy_options::skip_existing, ignored);
    }

    if (windowsProgram) {
        const WineRun run = PrepareWineRun(Prefix(), link, m_env);
        return Spawn(run.command, run.settings, m_sWorkingFolder);
    }
    std::vector<std::string> args = wrapper;
    args.push_back(link);
    return Spawn(args, m_env, m_sWorkingFolder);
}

RunResult HostedWorld::RunCommand(const std::vector<std::string>& command) const {
    return Spawn(command, m_env, m_sWorkingFolder);
}

std::string HostedWorld::DebugLog(const std::string& programName) const {
    return ReadHostFile(LocalFolder() + "/" + programName + ".txt");
}

std::vector<std::string> HostedWorld::Tree(const std::string& hostFolder,
                                           const std::string& holding) const {
    std::vector<std::string> paths;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(hostFolder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (std::string path = it->path().lexically_relative(hostFolder).string();
            path.find(holding) != path.npos) {
            paths.push_back(std::move(path));
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> HostedWorld::FolderNames(const std::string& hostFolder) const {
    std::vector<std::string> names = Tree(hostFolder);
    std::erase_if(names, [](const std::string& name) { return name.find('/') != name.npos; });
    return names;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace e2e
