// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#pragma once

#include "ledgerline/platform/FileBytes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KorvaneIni {

// Built once from a file's bytes, which it keeps, and read by any number of open handles. The
// parse finds the sections alone; a section's entries are indexed on the first lookup in it, so
// a start-up that reads a few sections of a large file never indexes the rest. That first
// lookup fills the index in: lookups on one index are made one at a time (the library makes
// every lookup under its lock), while the bytes and ForEachEntry may be read from any thread.
//
// Reading rules: CR, LF or CR LF end a line; a leading UTF-8 byte-order mark is skipped; a line
// whose first non-blank character is ';' is a comment; a line whose first non-blank character
// is '[' and which holds a ']' starts a section (the name runs to the first ']' and is
// trimmed); any other line with '=' is an entry, split at the first '=', key and value trimmed
// of spaces and tabs; lines with neither are ignored ("[name" without ']' too: the entries
// after it stay in the section before). Entries before the first header belong to the section
// with the empty name. The first occurrence of a section wins (a repeated header's entries are
// ignored), and so does the first occurrence of a key within it. Names are compared ignoring
// ASCII letter case; bytes from 0x80 on are compared as they are.
//
// Memory: a section's table has two slots of 8 bytes for each of its entry lines. A table of
// more than 256 entries is made only where that is at most twice the section's bytes, so a
// first lookup takes at most about three times the file's size with the bytes. A large section
// of entry lines shorter than 8 bytes on average, or one whose table cannot be had, is read
// line by line on each lookup instead: running out of memory never turns an entry into a
// missing one.
class IniIndex {
public:
    explicit IniIndex(platform::FileBytes content);
    explicit IniIndex(std::string content) : IniIndex(platform::FileBytes(std::move(content))) {}
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
    // Every entry a reader can find, in the order of the file, one at a time. Each section is
    // indexed for the walk alone and dropped after it, so a walk over a file of millions of
    // sections takes no more memory than its largest section.
    void ForEachEntry(const std::function<void(const EntryText&)>& visit) const;

    // The bytes it was built from.
    std::string_view Bytes() const { return m_content; }

private:
    // A piece of m_content. Offsets rather than views keep the tables small.
    struct Piece {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // The slots of the open-addressing tables (linear probing, at most half full): tag, a
    // hash of the name and its length; item, 0 for a free slot, else for a section its number
    // plus one and for an entry the offset of its key plus one, so entries sort into the
    // order of the file by it.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t item = 0;
    };
    using Table = std::vector<Slot>;
    // How a section's entries are looked up, decided on the first lookup in it.
    enum class Lookup { NotYet, ByTable, ByLines };
    // A section: its name, the lines up to the next header, and their entries once indexed.
    struct Section {
        Piece name;
        Piece body;
        mutable Lookup lookup = Lookup::NotYet;
        mutable Table entries;
    };

    void Parse();
    bool AddSection(std::string_view name);
    const Table* Indexed(const Section& section) const;
    Table IndexEntries(std::string_view body, std::size_t count) const;
    std::optional<std::string_view> ScanEntries(std::string_view body, std::string_view key) const;

    Piece PieceOf(std::string_view text) const;
    std::string_view Text(Piece piece) const;
    std::uint32_t ItemOf(std::string_view key) const;
    std::string_view KeyOf(const Slot& slot) const;
    std::string_view ValueAt(std::uint32_t item) const;

    static std::size_t Home(const Table& table, std::uint32_t tag);
    // The slot holding an item that matches, or the free slot where such an item belongs.
    template <class Matches>
    static std::size_t Probe(const Table& table, std::uint32_t tag, Matches&& matches);
    // A table with room for count items, half full with them.
    static Table TableFor(std::size_t count);
    static void Place(Table& table, Slot slot);

    const platform::FileBytes m_bytes;
    const std::string_view m_content; // m_bytes
    Table m_sectionTable;
    std::vector<Section> m_sections; // by section number
};
// The parsed file a handle of KorvaneIni.h reads, for a caller in this tree that walks the whole
// of it (a checking tool looking at every entry); null for a stale or 0 handle. Its Find is
// for a program that makes no library call from another thread meanwhile.
std::shared_ptr<const IniIndex> ParsedFile(std::int32_t hIniFile);

} // namespace KorvaneIni
