// Hosted-only test support: running a check as the user nobody in a forked child.
#include "support/posix/Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ldgr::test {
namespace {

bool DropToNobody() {
    const passwd* nobody = getpwnam("nobody");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
    return setgroups(0, nullptr) == 0 && setgid(gid) == 0 && setuid(uid) == 0 && geteuid() != 0;
}

} // namespace

// The child answers "=" and the check's answer, or "!" when it could not drop its rights.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& check) {
    if (geteuid() != 0) {
        return check();
    }
    int channel[2];
    if (pipe(channel) != 0) {
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child == 0) {
        const std::string word = DropToNobody() ? "=" + check() : "!";
        [[maybe_unused]] const ssize_t sent = write(channel[1], word.data(), word.size());
        _exit(0);
    }
    close(channel[1]);
    std::string received;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(got));
    }
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return received.starts_with("=") ? std::optional(received.substr(1)) : std::nullopt;
}

} // namespace ldgr::test
