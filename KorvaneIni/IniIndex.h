// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KorvaneIni {

// Built once from a file's bytes and never changed afterwards, so one index can serve any
// number of open handles at once.
//
// Reading rules: CR, LF or CR LF end a line; a leading UTF-8 byte-order mark is skipped; a line
// whose first non-blank character is ';' is a comment; "[name]" starts a section (the name runs
// to the first ']' and is trimmed); any other line with '=' is an entry, split at the first '=',
// key and value trimmed of spaces and tabs; lines with neither are ignored. Entries before the
// first header belong to the section with the empty name. The first occurrence of a section
// wins (a repeated header's entries are ignored), and so does the first occurrence of a key
// within it. Names are compared ignoring ASCII letter case.
class IniIndex {
public:
    explicit IniIndex(std::string content);
    IniIndex(const IniIndex&) = delete;
    IniIndex& operator=(const IniIndex&) = delete;

    // The value as written in the file, or nothing when the section or the key is absent.
    // The names are trimmed of spaces and tabs before they are compared.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    std::size_t EntryCount() const { return m_lEntries; }

private:
    // One slot of the open-addressing tables (linear probing, at most half full).
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t owner = 0;  // entries: the number of their section; sections: 0
        std::uint32_t number = 0; // sections: their own number
        std::string_view name;
        std::string_view value;
        bool used = false;
    };

    void Parse();
    void ParseLine(std::string_view line, std::optional<std::uint32_t>& section);
    std::optional<std::uint32_t> AddSection(std::string_view name);
    void AddEntry(std::uint32_t section, std::string_view key, std::string_view value);
    std::optional<std::uint32_t> FindSection(std::string_view name) const;

    // The slot holding the name (of the owner), or the free slot where it belongs.
    static std::size_t Probe(const std::vector<Slot>& table, std::uint64_t hash,
                             std::uint32_t owner, std::string_view name);
    // Makes room for one more slot, keeping the table at most half full.
    static void Reserve(std::vector<Slot>& table, std::size_t count);

    const std::string m_content; // the views in the tables point into it
    std::vector<Slot> m_sections;
    std::vector<Slot> m_entries;
    std::size_t m_lSections = 0;
    std::size_t m_lEntries = 0;
};

} // namespace KorvaneIni
