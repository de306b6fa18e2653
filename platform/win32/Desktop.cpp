// The Windows desktop: identity from the executable's module file, real message boxes or,
// for unattended runs, scripted answers and a JSON log, and the window-message loop.
#include "ledgerline/platform/MessageBoxScript.h"
#include "ledgerline/platform/win32/Win32.h"

#include <cstdio>

namespace platform::win32 {
namespace {

// The full path of the running executable.
std::string ModulePath() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Appends one line in one write, so boxes of programs running side by side never interleave.
void AppendToLog(const std::string& path, const std::string& line) {
    KernelHandle log(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log.IsValid()) {
        return;
    }
    DWORD written = 0;
    WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

class WindowsDesktop final : public Desktop {
public:
    std::string ExeName() override {
        const std::string path = ModulePath();
        std::string name = path.substr(path.find_last_of("\\/") + 1);
        if (const auto dot = name.find_last_of('.'); dot != std::string::npos && dot > 0) {
            name.erase(dot);
        }
        return name;
    }

    std::string AppPath() override { return FolderOf(ModulePath()); }

    std::string CommandLinePath(const std::string& argument) override {
        const DWORD size = GetFullPathNameA(argument.c_str(), 0, nullptr, nullptr);
        if (size == 0) {
            return argument;
        }
        std::string full(size, '\0');
        const DWORD length = GetFullPathNameA(argument.c_str(), size, full.data(), nullptr);
        if (length == 0 || length >= size) {
            return argument;
        }
        full.resize(length);
        return full;
    }

    void SetTitle(const std::string& title) override { m_sTitle = title; }
    std::string Title() override { return m_sTitle.empty() ? ExeName() : m_sTitle; }

    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        if (!MessageBoxScript::IsRequested()) {
            // The program has no window of its own: the box is brought to the foreground
            // rather than opening behind the window the user is working in.
            return MessageBoxA(nullptr, text.c_str(), title.c_str(),
                               static_cast<UINT>(style) | MB_SETFOREGROUND);
        }
        const ScriptedBox box = m_script.Answer(ToUtf8(title), ToUtf8(text), style);
        std::fwrite(box.readableBlock.data(), 1, box.readableBlock.size(), stderr);
        std::fflush(stderr);
        if (const auto path = MessageBoxScript::LogPath()) {
            AppendToLog(*path, box.logLine);
        }
        return box.answer;
    }

    void ProcessPendingMessages() override {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

private:
    std::string m_sTitle;
    MessageBoxScript m_script;
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real desktop service.
Desktop& RealDesktop() {
    static win32::WindowsDesktop desktop;
    return desktop;
}

} // namespace platform
