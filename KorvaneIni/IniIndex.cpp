// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#include "ledgerline/KorvaneIni/IniIndex.h"

#include "ledgerline/platform/AsciiText.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace KorvaneIni {
namespace {

using ldgr::ascii::TrimBlanks;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kFirstCapacity = 16;
constexpr std::uint32_t kLengthMask = 0xFF;
// A section of up to this many entries gets a table (4 KB at most) whatever its size; a larger
// one only where the table's two slots an entry take at most twice the section's bytes.
constexpr std::size_t kEntriesAlwaysIndexed = 256;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::uint64_t Word(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, 8);
    return word;
}

// The last count bytes of a name (fewer than eight) as a word, the bytes past its end zero. They
// are put together in a register: copying them into a zeroed word in memory and reading that
// back stalls the load on most processors, and most names end in such a tail.
std::uint64_t TailWord(const char* bytes, std::size_t count) {
    std::uint64_t word = 0;
    unsigned shift = 0;
    if ((count & 4) != 0) {
        std::uint32_t part = 0;
        std::memcpy(&part, bytes, 4);
        word = part;
        bytes += 4;
        shift = 32;
    }
    if ((count & 2) != 0) {
        std::uint16_t part = 0;
        std::memcpy(&part, bytes, 2);
        word |= std::uint64_t{part} << shift;
        bytes += 2;
        shift += 16;
    }
    if ((count & 1) != 0) {
        word |= std::uint64_t{static_cast<unsigned char>(*bytes)} << shift;
    }
    return word;
}

// The word with its ASCII lower-case letters upper-cased, all eight bytes at once: a byte gets
// its top bit in atLeastA from 'a' up and in aboveZ above 'z'; bytes of 128 and above stay.
std::uint64_t Folded(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    constexpr std::uint64_t kTop = 0x8080808080808080ull;
    const std::uint64_t low = word & kLow7;
    const std::uint64_t atLeastA = low + 0x1F1F1F1F1F1F1F1Full;
    const std::uint64_t aboveZ = low + 0x0505050505050505ull;
    const std::uint64_t lowerCase = atLeastA & ~aboveZ & ~word & kTop;
    return word ^ (lowerCase >> 2);
}

// Names are compared and hashed a whole word at a time, the tail once.
bool EqualsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    std::size_t at = 0;
    for (; at + 8 <= a.size(); at += 8) {
        if (Folded(Word(a.data() + at)) != Folded(Word(b.data() + at))) {
            return false;
        }
    }
    return at == a.size() || Folded(TailWord(a.data() + at, a.size() - at)) ==
                                 Folded(TailWord(b.data() + at, b.size() - at));
}

// A hash of the upper-cased name, eight bytes a step, then spread with the finaliser of
// splitmix64. The tag is its upper 24 bits above the name's length (255 for any longer), so a
// tag that matches mostly tells the length too and a key is compared without looking for its
// end.
std::uint32_t FoldedTag(std::string_view name) {
    std::uint64_t hash = name.size();
    const auto mix = [&](std::uint64_t word) {
        hash = (hash ^ Folded(word)) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    };
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        mix(Word(name.data() + at));
    }
    if (at < name.size()) {
        mix(TailWord(name.data() + at, name.size() - at));
    }
    hash = (hash ^ (hash >> 30)) * 0xBF58476D1CE4E5B9ull;
    hash = (hash ^ (hash >> 27)) * 0x94D049BB133111EBull;
    const auto upper = static_cast<std::uint32_t>((hash ^ (hash >> 31)) >> 32);
    return (upper & ~kLengthMask) |
           static_cast<std::uint32_t>(std::min<std::size_t>(name.size(), kLengthMask));
}

// The first c at or after from, or end; known is the previous answer, kept while still ahead.
const char* NextOf(char c, const char* from, const char* end, const char* known) {
    if (known != nullptr && known >= from) {
        return known;
    }
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Where the line after one ending at lineEnd starts: past its CR LF, CR or LF; end at the end.
const char* NextLineStart(const char* lineEnd, const char* end) {
    if (lineEnd == end) {
        return end;
    }
    const bool crlf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
    return lineEnd + (crlf ? 2 : 1);
}

// Hands each line of text to visit, without its line end. The next CR and the next LF are each
// searched for only once they have been passed, so text of either kind of line end is scanned
// once.
template <class Visit> void ForEachLine(std::string_view text, Visit&& visit) {
    const char* cursor = text.data();
    const char* const end = text.data() + text.size();
    const char* nextCR = nullptr;
    const char* nextLF = nullptr;
    while (cursor < end) {
        nextCR = NextOf('\r', cursor, end, nextCR);
        nextLF = NextOf('\n', cursor, end, nextLF);
        const char* lineEnd = std::min(nextCR, nextLF);
        visit(std::string_view(cursor, static_cast<std::size_t>(lineEnd - cursor)));
        cursor = NextLineStart(lineEnd, end);
    }
}

// Whether a line of a section's body is an entry: not blank, not a comment, and with a '='.
bool IsEntryLine(std::string_view line) {
    const auto first = std::find_if_not(line.begin(), line.end(), IsBlank);
    return first != line.end() && *first != ';' && line.find('=') != std::string_view::npos;
}

// The key of an entry line, starting where the key's text starts (at the '=' for an empty key);
// nothing for any other line.
std::optional<std::string_view> KeyOfLine(std::string_view line) {
    if (!IsEntryLine(line)) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(0, line.find('=')));
}

std::size_t CountEntries(std::string_view body) {
    std::size_t count = 0;
    ForEachLine(body, [&](std::string_view line) { count += IsEntryLine(line) ? 1 : 0; });
    return count;
}

// A header line's name: the line's first non-blank character is '[' and a ']' follows.
std::optional<std::string_view> HeaderName(std::string_view line) {
    line = TrimBlanks(line);
    const std::size_t close = line.find(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, close - 1));
}

} // namespace

IniIndex::IniIndex(platform::FileBytes content)
    : m_bytes(std::move(content)), m_content(m_bytes.View()) {
    Parse();
}

// Finds the header lines alone: a '[' with nothing but blanks before it on its line and a ']'
// after it. Each section's body runs from the line after its header to the next header line,
// whichever section that opens; a repeated header's lines belong to no section.
void IniIndex::Parse() {
    // Offsets are 32-bit; the rest of a larger file is not read (a configuration file is a few
    // megabytes at most).
    std::string_view rest(
        m_content.data(),
        std::min<std::size_t>(m_content.size(), std::numeric_limits<std::uint32_t>::max()));
    if (rest.starts_with(kByteOrderMark)) {
        rest.remove_prefix(kByteOrderMark.size());
    }
    const char* const begin = rest.data();
    const char* const end = begin + rest.size();
    bool open = AddSection({});
    const char* bodyStart = begin;
    const auto closeBody = [&](const char* bodyEnd) {
        if (open) {
            m_sections.back().body =
                PieceOf(std::string_view(bodyStart, static_cast<std::size_t>(bodyEnd - bodyStart)));
        }
    };
    for (const char* bracket = NextOf('[', begin, end, nullptr); bracket != end;) {
        const char* lineStart = bracket;
        while (lineStart != begin && IsBlank(lineStart[-1])) {
            --lineStart;
        }
        const char* lineEnd = std::find_if(bracket, end, IsLineEnd);
        const std::optional<std::string_view> name =
            lineStart == begin || IsLineEnd(lineStart[-1])
                ? HeaderName(std::string_view(bracket, static_cast<std::size_t>(lineEnd - bracket)))
                : std::nullopt;
        if (!name) {
            bracket = NextOf('[', bracket + 1, end, nullptr);
            continue;
        }
        closeBody(lineStart);
        open = AddSection(*name);
        bodyStart = NextLineStart(lineEnd, end);
        bracket = NextOf('[', bodyStart, end, nullptr);
    }
    closeBody(end);
}

IniIndex::Piece IniIndex::PieceOf(std::string_view text) const {
    if (text.empty()) {
        return {};
    }
    return {static_cast<std::uint32_t>(text.data() - m_content.data()),
            static_cast<std::uint32_t>(text.size())};
}

std::string_view IniIndex::Text(Piece piece) const {
    return m_content.substr(piece.offset, piece.length);
}

std::uint32_t IniIndex::ItemOf(std::string_view key) const {
    return static_cast<std::uint32_t>(key.data() - m_content.data()) + 1;
}

// An entry's key runs from its start to the line's first '=', which it never holds; the tag
// tells its length unless it is 255 or longer.
std::string_view IniIndex::KeyOf(const Slot& slot) const {
    const std::string_view from = m_content.substr(slot.item - 1);
    const std::uint32_t length = slot.tag & kLengthMask;
    return length < kLengthMask ? from.substr(0, length)
                                : TrimBlanks(from.substr(0, from.find('=')));
}

std::string_view IniIndex::ValueAt(std::uint32_t item) const {
    std::string_view from = m_content.substr(item - 1);
    from.remove_prefix(from.find('=') + 1);
    const auto lineEnd =
        std::find_if(from.begin(), from.end(), [](char c) { return c == '\r' || c == '\n'; });
    return TrimBlanks(from.substr(0, static_cast<std::size_t>(lineEnd - from.begin())));
}

// A new section joins the table; a repeated one is not added (false).
bool IniIndex::AddSection(std::string_view name) {
    if ((m_sections.size() + 1) * 2 > m_sectionTable.size()) {
        Table grown = TableFor(std::max(kFirstCapacity, m_sectionTable.size()));
        for (const Slot& slot : m_sectionTable) {
            Place(grown, slot);
        }
        m_sectionTable.swap(grown);
    }
    const std::uint32_t tag = FoldedTag(name);
    Slot& slot = m_sectionTable[Probe(m_sectionTable, tag, [&](const Slot& kept) {
        return EqualsFolded(Text(m_sections[kept.item - 1].name), name);
    })];
    if (slot.item != 0) {
        return false;
    }
    m_sections.emplace_back().name = PieceOf(name);
    slot = {tag, static_cast<std::uint32_t>(m_sections.size())};
    return true;
}

// Decided on the first lookup. Null when the section is read by its lines: its table would be
// large and take more than twice its bytes, or could not be had.
const IniIndex::Table* IniIndex::Indexed(const Section& section) const {
    if (section.lookup == Lookup::NotYet) {
        section.lookup = Lookup::ByLines;
        const std::string_view body = Text(section.body);
        const std::size_t count = CountEntries(body);
        if (count <= kEntriesAlwaysIndexed || count <= body.size() / sizeof(Slot)) {
            try {
                section.entries = IndexEntries(body, count);
                section.lookup = Lookup::ByTable;
            } catch (const std::bad_alloc&) {
            }
        }
    }
    return section.lookup == Lookup::ByTable ? &section.entries : nullptr;
}

// The body's entry lines were counted first, so the table is as large as they need and no
// larger, whatever else the body holds.
IniIndex::Table IniIndex::IndexEntries(std::string_view body, std::size_t count) const {
    Table table = TableFor(count);
    ForEachLine(body, [&](std::string_view line) {
        const std::optional<std::string_view> key = KeyOfLine(line);
        if (!key) {
            return;
        }
        const std::uint32_t tag = FoldedTag(*key);
        Slot& slot = table[Probe(
            table, tag, [&](const Slot& kept) { return EqualsFolded(KeyOf(kept), *key); })];
        if (slot.item == 0) {
            slot = {tag, ItemOf(*key)};
        }
    });
    return table;
}

// The first entry of the key, line by line: the answer without a table.
std::optional<std::string_view> IniIndex::ScanEntries(std::string_view body,
                                                      std::string_view key) const {
    std::optional<std::string_view> value;
    ForEachLine(body, [&](std::string_view line) {
        const std::optional<std::string_view> found = value ? std::nullopt : KeyOfLine(line);
        if (found && EqualsFolded(*found, key)) {
            value = ValueAt(ItemOf(*found));
        }
    });
    return value;
}

std::optional<std::uint32_t> IniIndex::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    const Slot& slot = m_sectionTable[Probe(m_sectionTable, FoldedTag(name), [&](const Slot& kept) {
        return EqualsFolded(Text(m_sections[kept.item - 1].name), name);
    })];
    return slot.item != 0 ? std::optional(slot.item - 1) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::uint32_t number, std::string_view key) const {
    const Section& section = m_sections[number];
    key = TrimBlanks(key);
    const Table* table = Indexed(section);
    if (table == nullptr) {
        return ScanEntries(Text(section.body), key);
    }
    if (table->empty()) {
        return std::nullopt;
    }
    const Slot& slot = (*table)[Probe(
        *table, FoldedTag(key), [&](const Slot& kept) { return EqualsFolded(KeyOf(kept), key); })];
    return slot.item != 0 ? std::optional(ValueAt(slot.item)) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::string_view section,
                                               std::string_view key) const {
    const std::optional<std::uint32_t> number = FindSection(section);
    return number ? Find(*number, key) : std::nullopt;
}

// A slot's home is its tag scaled to the table's size, so a table may have any size.
std::size_t IniIndex::Home(const Table& table, std::uint32_t tag) {
    return static_cast<std::size_t>((std::uint64_t{tag} * table.size()) >> 32);
}

template <class Matches>
std::size_t IniIndex::Probe(const Table& table, std::uint32_t tag, Matches&& matches) {
    for (std::size_t i = Home(table, tag);; i = i + 1 == table.size() ? 0 : i + 1) {
        const Slot& slot = table[i];
        if (slot.item == 0 || (slot.tag == tag && matches(slot))) {
            return i;
        }
    }
}

IniIndex::Table IniIndex::TableFor(std::size_t count) {
    return Table(count * 2);
}

void IniIndex::Place(Table& table, Slot slot) {
    if (slot.item != 0) {
        table[Probe(table, slot.tag, [](const Slot&) { return false; })] = slot;
    }
}

// Section by section; an entry's item is its key's offset, so sorting by the items gives the
// order of the file.
void IniIndex::ForEachEntry(const std::function<void(const EntryText&)>& visit) const {
    for (const Section& section : m_sections) {
        const std::string_view body = Text(section.body);
        Table entries = IndexEntries(body, CountEntries(body));
        std::erase_if(entries, [](const Slot& slot) { return slot.item == 0; });
        std::sort(entries.begin(), entries.end(),
                  [](const Slot& a, const Slot& b) { return a.item < b.item; });
        for (const Slot& slot : entries) {
            visit({Text(section.name), KeyOf(slot), ValueAt(slot.item)});
        }
    }
}

} // namespace KorvaneIni
