// The program's one error type and the runtime's standard descriptions.
#include "ledgerline/platform/Error.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace ldgr {

std::string DescriptionOf(std::int32_t number) {
    switch (number) {
    case kInvalidProcedureCall:
        return "Invalid procedure call or argument";
    case kOverflow:
        return "Overflow";
    case kOutOfMemory:
        return "Out of memory";
    case kSubscriptOutOfRange:
        return "Subscript out of range";
    case kTypeMismatch:
        return "Type mismatch";
    case kBadFileNameOrNumber:
        return "Bad file name or number";
    case kFileNotFound:
        return "File not found";
    case kBadFileMode:
        return "Bad file mode";
    case kFileAlreadyOpen:
        return "File already open";
    case kDeviceIOError:
        return "Device I/O error";
    case kFileAlreadyExists:
        return "File already exists";
    case kDiskFull:
        return "Disk full";
    case kInputPastEndOfFile:
        return "Input past end of file";
    case kTooManyFiles:
        return "Too many files";
    case kDeviceUnavailable:
        return "Device unavailable";
    case kPermissionDenied:
        return "Permission denied";
    case kDiskNotReady:
        return "Disk not ready";
    case kPathFileAccessError:
        return "Path/File access error";
    case kPathNotFound:
        return "Path not found";
    case kObjectNotSet:
        return "Object variable or With block variable not set";
    default:
        return "Application-defined or object-defined error";
    }
}

Error::Error(std::int32_t number, std::string source)
    : Error(number, std::move(source), DescriptionOf(number)) {}

Error::Error(std::int32_t number, std::string source, std::string description)
    : m_lNumber(number), m_sSource(std::move(source)), m_sDescription(std::move(description)) {}

Error Error::SharingViolation(std::string source) {
    Error error(kPermissionDenied, std::move(source));
    error.m_bSharingViolation = true;
    return error;
}

Error Error::WithSource(std::string source) const {
    Error error = *this;
    error.m_sSource = std::move(source);
    return error;
}

Error CurrentError() {
    try {
        throw;
    } catch (const Error& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return Error(kOutOfMemory);
    } catch (const std::out_of_range& e) {
        return Error(kSubscriptOutOfRange, {}, e.what());
    } catch (const std::exception& e) {
        return Error(kInvalidProcedureCall, {}, e.what());
    } catch (...) {
        return Error(kInvalidProcedureCall);
    }
}

bool IsResourceLimitCurrent() noexcept {
    try {
        throw;
    } catch (const Error& e) {
        return e.Number() == kOutOfMemory || e.Number() == kTooManyFiles || e.Number() == kDiskFull;
    } catch (const std::bad_alloc&) {
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace ldgr
