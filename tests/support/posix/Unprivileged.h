// Hosted-only test support: running a check as an ordinary user.
//
// Permission bits mean nothing to root, and CI runs as root. A check whose outcome depends on
// missing rights runs in a forked child that first drops to the user nobody (run as an
// ordinary user, the test runs the check itself). The child sends its answer back through a
// pipe.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ldgr::test {

// The check's answer as an unprivileged user; nothing when no unprivileged user can be had.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& check);

} // namespace ldgr::test
