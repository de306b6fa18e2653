// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#pragma once

#include "ledgerline/platform/FileBytes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace KorvaneIni {

// Built once from a file's bytes, which it keeps, and read by any number of open handles at
// once. The parse finds the sections alone; a section's entries are indexed on the first lookup
// in it, once, whichever thread asks first, so a start-up that reads a few sections of a large
// file never indexes the rest.
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
    // Every entry a reader can find, in the order of the file, one at a time. A section no
    // lookup has indexed is indexed for the walk alone and dropped after it, so a walk over a
    // file of millions of sections takes no more memory than its largest section.
    void ForEachEntry(const std::function<void(const EntryText&)>& visit) const;

    // The bytes it was built from.
    std::string_view Bytes() const { return m_content; }

private:
    // A piece of m_content or m_names. Offsets rather than views keep the tables small.
    struct Piece {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // The slots of the open-addressing tables (linear probing, at most half full) hold what a
    // lookup compares and returns, so it reads the table and the name alone: tag, the upper
    // half of the name's hash; item, the position of the section or entry plus one, 0 for a
    // free slot.
    struct SectionSlot {
        std::uint32_t tag = 0;
        std::uint32_t item = 0;
        Piece name; // in m_names
    };
    struct EntrySlot {
        std::uint32_t tag = 0;
        std::uint32_t item = 0; // the order of the file
        Piece key;
        Piece value;
    };
    // A section: its name, the lines up to the next header, and their entries once indexed.
    struct Section {
        Piece name; // in m_names
        Piece body;
        mutable std::atomic<bool> indexed = false;
        mutable std::vector<EntrySlot> entries;
    };
    // What the parse finds of a section.
    struct Header {
        Piece name;
        Piece body;
    };

    std::vector<Header> Parse();
    bool AddSection(std::string_view name, std::vector<Header>& headers);
    const std::vector<EntrySlot>& Indexed(std::uint32_t number) const;
    std::vector<EntrySlot> IndexEntries(std::string_view body) const;

    Piece PieceOf(std::string_view text) const;
    std::string_view Text(Piece piece) const;
    std::string_view NameText(Piece piece) const;

    // The slot holding an item that matches, or the free slot where such an item belongs.
    template <class Slot, class Matches>
    static std::size_t Probe(const std::vector<Slot>& table, std::uint32_t tag, Matches&& matches);
    // Makes room for count items, keeping the table at most half full.
    template <class Slot> static void Reserve(std::vector<Slot>& table, std::size_t count);

    const platform::FileBytes m_bytes;
    const std::string_view m_content; // m_bytes
    std::string m_names;              // the section names one after another, dense for lookups
    std::vector<SectionSlot> m_sectionTable;
    std::uint32_t m_sectionCount = 0;
    std::unique_ptr<Section[]> m_sections; // by section number
    mutable std::mutex m_indexing;         // held while a section is indexed
};

// The parsed file a handle of KorvaneIni.h reads, for a caller in this tree that walks the whole
// of it (a checking tool looking at every entry); null for a stale or 0 handle.
std::shared_ptr<const IniIndex> ParsedFile(std::int32_t hIniFile);

} // namespace KorvaneIni
