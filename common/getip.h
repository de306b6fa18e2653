// Module getip: this host's network address as text.
#pragma once

#include <cstdint>
#include <string>

namespace getip {

// Starts the socket library asking for version 1.1; True when it is usable.
bool StartWinsock();
// The first address of this host, dotted decimal, or empty text.
std::string GetIPAddress();
std::uint8_t LoByte(std::int16_t value);
std::uint8_t HiByte(std::int16_t value);

} // namespace getip
