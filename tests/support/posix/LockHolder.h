// Hosted-only test helper: a second process holding an advisory lock, as another program does.
#pragma once

#include <string>

namespace ldgr::test {

class LockHolder {
public:
    enum class Kind { Shared, Exclusive };

    // Starts a child process that opens hostPath (creating it when missing) and locks it
    // without waiting; returns once the child has the lock or was refused it.
    LockHolder(const std::string& hostPath, Kind kind);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Holding() const { return m_bHolding; }

private:
    int m_lChild = -1;
    int m_hRelease = -1; // closing it tells the child to end
    bool m_bHolding = false;
};

} // namespace ldgr::test
