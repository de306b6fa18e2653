// Hosted-only test support: running a check as an ordinary user.
// Permission bits mean nothing to root, and CI runs as root: there the check runs in a forked
// child that drops to the user nobody and sends its answer back through a pipe.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ldgr::test {

// The check's answer as an unprivileged user; nothing when no unprivileged user can be had.
std::optional<std::string> RunUnprivileged(const std::function<std::string()>& check);

} // namespace ldgr::test
