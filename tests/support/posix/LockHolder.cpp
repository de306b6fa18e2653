// Hosted-only test helper: a child process holding an advisory lock on a file.
#include "support/posix/LockHolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ldgr::test {
namespace {

// The child: lock, report, then wait until the parent closes the release pipe.
[[noreturn]] void HoldLock(const std::string& hostPath, LockHolder::Kind kind, int reportTo,
                           int releaseFrom) {
    const int fd = open(hostPath.c_str(), O_RDWR | O_CREAT, 0666);
    const int operation = kind == LockHolder::Kind::Exclusive ? LOCK_EX : LOCK_SH;
    const char held = fd >= 0 && flock(fd, operation | LOCK_NB) == 0 ? 1 : 0;
    if (write(reportTo, &held, 1) != 1) {
        _exit(1);
    }
    char ignored = 0;
    while (read(releaseFrom, &ignored, 1) > 0) {
    }
    _exit(0);
}

} // namespace

LockHolder::LockHolder(const std::string& hostPath, Kind kind) {
    int report[2] = {-1, -1};
    int release[2] = {-1, -1};
    if (pipe2(report, O_CLOEXEC) != 0) {
        return;
    }
    if (pipe2(release, O_CLOEXEC) != 0) {
        close(report[0]);
        close(report[1]);
        return;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        close(release[1]);
        HoldLock(hostPath, kind, report[1], release[0]);
    }
    close(report[1]);
    close(release[0]);
    m_lChild = child;
    m_hRelease = release[1];
    char held = 0;
    m_bHolding = child > 0 && read(report[0], &held, 1) == 1 && held == 1;
    close(report[0]);
}

LockHolder::~LockHolder() {
    if (m_hRelease >= 0) {
        close(m_hRelease);
    }
    if (m_lChild > 0) {
        int status = 0;
        waitpid(m_lChild, &status, 0);
    }
}

} // namespace ldgr::test
