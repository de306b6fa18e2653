// Hosted-only test helper: a child process holding an advisory lock on a file.
#include "support/posix/LockHolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ldgr::test {

// The child locks, reports, then waits until the parent closes its end of the channel.
LockHolder::LockHolder(const std::string& hostPath, Kind kind) {
    int channel[2] = {-1, -1};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        return;
    }
    m_lChild = fork();
    if (m_lChild == 0) {
        close(channel[0]);
        const int fd = open(hostPath.c_str(), O_RDWR | O_CREAT, 0666);
        const int operation = kind == Kind::Exclusive ? LOCK_EX : LOCK_SH;
        char held = fd >= 0 && flock(fd, operation | LOCK_NB) == 0 ? 1 : 0;
        if (write(channel[1], &held, 1) == 1) {
            [[maybe_unused]] const ssize_t released = read(channel[1], &held, 1);
        }
        _exit(0);
    }
    close(channel[1]);
    m_hRelease = channel[0];
    char held = 0;
    m_bHolding = m_lChild > 0 && read(m_hRelease, &held, 1) == 1 && held == 1;
}

LockHolder::~LockHolder() {
    if (m_hRelease >= 0) {
        close(m_hRelease);
    }
    if (m_lChild > 0) {
        waitpid(m_lChild, nullptr, 0);
    }
}

} // namespace ldgr::test
