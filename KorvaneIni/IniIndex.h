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

    // The same in two steps, for callers that read several keys of one section: the section's
    // number (its name trimmed), then a key in the section of that number.
    std::optional<std::uint32_t> FindSection(std::string_view section) const;
    std::optional<std::string_view> Find(std::uint32_t section, std::string_view key) const;

    // One entry as a reader finds it: its section's name, its key and its value.
    struct EntryText {
        std::string_view section;
        std::string_view key;
        std::string_view value;
    };
    // Every entry a reader can find, in the order of the file.
    std::vector<EntryText> Entries() const;

private:
    // A piece of m_content. Offsets rather than views keep the tables small.
    struct Piece {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    struct Entry {
        std::uint32_t section = 0;
        Piece key;
        Piece value;
    };
    // A slot of an open-addressing table (linear probing, at most half full): the upper half of
    // the name's hash and the position of the item plus one, 0 for a free slot.
    struct Bucket {
        std::uint32_t tag = 0;
        std::uint32_t item = 0;
    };

    void Parse();
    void ParseLine(std::string_view line, std::optional<std::uint32_t>& section);
    std::optional<std::uint32_t> AddSection(std::string_view name);
    void AddEntry(std::uint32_t section, std::string_view key, std::string_view value);

    Piece PieceOf(std::string_view text) const;
    std::string_view Text(Piece piece) const;

    // The bucket holding an item that matches, or the free bucket where such an item belongs.
    template <class Matches>
    static std::size_t Probe(const std::vector<Bucket>& table, std::uint32_t tag,
                             Matches&& matches);
    // Makes room for count items, keeping the table at most half full.
    static void Reserve(std::vector<Bucket>& table, std::size_t count);

    const std::string m_content;
    std::vector<Piece> m_sections; // by section number
    std::vector<Entry> m_entries;
    std::vector<Bucket> m_sectionTable;
    std::vector<Bucket> m_entryTable;
};

} // namespace KorvaneIni
