/// @file
/// The program's one error type: a number, a source and a description, as its runtime raised them.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

/// The error model and the text rules every layer shares.
namespace ldgr {

/// The classic error numbers the program raises and reports.
enum ErrorNumber : std::int32_t {
    kInvalidProcedureCall = 5,
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kBadFileMode = 54,
    kFileAlreadyOpen = 55,
    kDeviceIOError = 57,
    kFileAlreadyExists = 58,
    kDiskFull = 61,
    kInputPastEndOfFile = 62,
    kTooManyFiles = 67,
    kDeviceUnavailable = 68,
    kPermissionDenied = 70,
    kDiskNotReady = 71,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kObjectNotSet = 91,
};

/// The runtime's standard description of a classic error number ("File not found").
std::string DescriptionOf(std::int32_t number);

/// The exception every procedure raises: a classic error number (ErrorNumber), the source
/// (the procedure that raised it) and a description.
class Error : public std::exception {
public:
    /// Raises number with its standard description.
    explicit Error(std::int32_t number, std::string source = {});
    /// Raises number with a description of its own.
    Error(std::int32_t number, std::string source, std::string description);

    /// The classic error number.
    std::int32_t Number() const noexcept { return m_lNumber; }
    /// The procedure that raised the error ("Class::Method" for a method); may be empty.
    const std::string& Source() const noexcept { return m_sSource; }
    /// The error's description.
    const std::string& Description() const noexcept { return m_sDescription; }
    /// The description, for a handler of std::exception.
    const char* what() const noexcept override { return m_sDescription.c_str(); }

    /// Error 70 raised because another process has the file in use (a sharing or lock
    /// violation), as opposed to missing access rights.
    static Error SharingViolation(std::string source = {});
    /// Whether the error was made by SharingViolation.
    bool IsSharingViolation() const noexcept { return m_bSharingViolation; }

    /// The same error raised again by another procedure: only the source changes.
    Error WithSource(std::string source) const;

private:
    std::int32_t m_lNumber;
    std::string m_sSource;
    std::string m_sDescription;
    bool m_bSharingViolation = false;
};

/// The error that is current in the handler that calls this (from inside a catch block): an
/// Error as it is, anything else as a classic error with its own description.
Error CurrentError();

/// Whether the error current in the handler that calls this is the system running out of a
/// resource: memory (7, std::bad_alloc too), file handles (67) or room for a write (61). Such an
/// error tells nothing about the file, folder or value that met it, so it is never taken for an
/// answer about them.
bool IsResourceLimitCurrent() noexcept;

} // namespace ldgr
