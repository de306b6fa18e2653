/// @file
/// The program's face towards the user: identity, title, message boxes, window messages.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

/// Message-box style values, combined by adding them, as the system defines them.
enum MessageBoxStyle : std::int32_t {
    kOkOnly = 0,
    kOkCancel = 1,
    kYesNoCancel = 3,
    kYesNo = 4,
    kCritical = 16,
    kQuestion = 32,
    kExclamation = 48,
    kInformation = 64,
    kDefaultButton2 = 256,
    kDefaultButton3 = 512,
};

/// The button that closed a box.
enum MessageBoxAnswer : std::int32_t {
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

/// The desktop service: the program's identity, its title and its message boxes.
class Desktop {
public:
    virtual ~Desktop() = default;

    /// The running executable's file name without folder and extension ("ldgrmake").
    virtual std::string ExeName() = 0;
    /// The folder holding the running executable, without a trailing backslash except for a
    /// drive root ("C:\").
    virtual std::string AppPath() = 0;
    /// A file named on the command line, as a full Windows path (relative to the current
    /// folder); the hosted build takes host paths there too, as its users type them.
    virtual std::string CommandLinePath(const std::string& argument) = 0;
    /// Sets the program's title.
    virtual void SetTitle(const std::string& title) = 0;
    /// The program's title as last set; ExeName() until one is set.
    virtual std::string Title() = 0;

    /// Shows a modal box and returns the button that closed it.
    virtual std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                        std::int32_t style) = 0;
    /// Lets pending window messages be processed.
    virtual void ProcessPendingMessages() = 0;
};

} // namespace platform
