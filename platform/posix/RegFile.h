// The registry held as a text file in the format that regedit exports and imports.
#pragma once

#include "ledgerline/platform/Registry.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

// One value: its name as written ("" for the default value), its type, and its data as the
// ANSI query returns it (texts in the code page with their NULs, numbers least significant
// byte first).
struct RegEntry {
    std::string name;
    std::uint32_t type = kRegNone;
    std::string data;
};

class RegFileReader;

// What importing a .reg file into an empty registry leaves behind. Lines take effect in order:
// a later value replaces an earlier one of the same name, "[-key]" deletes a key with its
// subkeys, "name"=- deletes a value. Key and value names are compared ignoring letter case.
// A line that cannot be read is skipped (and so are the values below a key header that cannot
// be read); everything else stays in force.
class RegFile {
public:
    // Reads a file's bytes: 8-bit code-page text, or UTF-16LE or UTF-8 behind a byte-order mark.
    static RegFile Parse(std::string_view bytes);

    // Whether a key exists. An empty subKey names the root key itself, which always exists; a
    // subKey that begins with a backslash names nothing, as Windows refuses such names.
    bool HasKey(RootKey root, std::string_view subKey) const;
    // A value of a key ("" names the default value); nullptr when the key or the value is missing.
    const RegEntry* FindValue(RootKey root, std::string_view subKey,
                              std::string_view valueName) const;
    // The names of a key's direct subkeys as written, ordered by name ignoring letter case.
    std::vector<std::string> SubKeyNames(RootKey root, std::string_view subKey) const;
    // The numbers (from 1) of the lines that could not be read.
    const std::vector<std::size_t>& SkippedLines() const { return m_skippedLines; }

private:
    friend class RegFileReader;

    struct Key {
        std::string name;                                    // as first written
        std::map<std::string, std::unique_ptr<Key>> subkeys; // by name in upper case
        std::map<std::string, RegEntry> values;              // by name in upper case
    };

    RegFile();
    const Key* FindKey(RootKey root, std::string_view subKey) const;

    std::map<RootKey, Key> m_roots;
    std::vector<std::size_t> m_skippedLines;
};

} // namespace platform::posix
