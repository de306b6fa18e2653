/// @file
/// Module getip: this host's network address as text.
#pragma once

#include <cstdint>
#include <string>

/// Module getip: this host's network address.
namespace getip {

/// Starts the socket library asking for version 1.1; True when it is usable.
bool StartWinsock();
/// The first address of this host, dotted decimal, or empty text.
std::string GetIPAddress();
/// @{
/// The low (least significant) or high byte of a 16-bit word.
std::uint8_t LoByte(std::int16_t value);
std::uint8_t HiByte(std::int16_t value);
/// @}

} // namespace getip
