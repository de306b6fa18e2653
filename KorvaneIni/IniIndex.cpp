// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#include "ledgerline/KorvaneIni/IniIndex.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace KorvaneIni {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kFirstCapacity = 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
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
// splitmix64. The upper half is the tag.
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
    return static_cast<std::uint32_t>((hash ^ (hash >> 31)) >> 32);
}

// The first c at or after from, or end; known is the previous answer, kept while still ahead.
const char* NextOf(char c, const char* from, const char* end, const char* known) {
    if (known != nullptr && known >= from) {
        return known;
    }
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

// How often c occurs in text, found by memchr: a byte-by-byte count is several times slower.
std::size_t CountOf(char c, std::string_view text) {
    std::size_t count = 0;
    const char* const end = text.data() + text.size();
    for (const char* at = NextOf(c, text.data(), end, nullptr); at != end;
         at = NextOf(c, at + 1, end, nullptr)) {
        ++count;
    }
    return count;
}

} // namespace

IniIndex::IniIndex(platform::FileBytes content)
    : m_bytes(std::move(content)), m_content(m_bytes.View()) {
    const std::vector<Header> headers = Parse();
    m_sectionCount = static_cast<std::uint32_t>(headers.size());
    m_sections = std::make_unique<Section[]>(headers.size());
    for (std::uint32_t number = 0; number < m_sectionCount; ++number) {
        m_sections[number].name = headers[number].name;
        m_sections[number].body = headers[number].body;
    }
}

// Finds the header lines alone: a '[' with nothing but blanks before it on its line. Each
// section's body runs from the line after its header to the next header line, whichever
// section that opens; a repeated header's lines belong to no section.
std::vector<IniIndex::Header> IniIndex::Parse() {
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
    std::vector<Header> headers;
    bool open = AddSection({}, headers);
    const char* bodyStart = begin;
    const auto closeBody = [&](const char* bodyEnd) {
        if (open) {
            headers.back().body =
                PieceOf(std::string_view(bodyStart, static_cast<std::size_t>(bodyEnd - bodyStart)));
        }
    };
    for (const char* bracket = NextOf('[', begin, end, nullptr); bracket != end;) {
        const char* lineStart = bracket;
        while (lineStart != begin && IsBlank(lineStart[-1])) {
            --lineStart;
        }
        if (lineStart != begin && lineStart[-1] != '\r' && lineStart[-1] != '\n') {
            bracket = NextOf('[', bracket + 1, end, nullptr);
            continue;
        }
        const char* lineEnd =
            std::find_if(bracket, end, [](char c) { return c == '\r' || c == '\n'; });
        closeBody(lineStart);
        const std::string_view header(bracket + 1, static_cast<std::size_t>(lineEnd - bracket - 1));
        open = AddSection(TrimBlanks(header.substr(0, header.find(']'))), headers);
        const bool crlf =
            lineEnd != end && *lineEnd == '\r' && lineEnd + 1 != end && lineEnd[1] == '\n';
        bodyStart = lineEnd == end ? end : lineEnd + (crlf ? 2 : 1);
        bracket = NextOf('[', bodyStart, end, nullptr);
    }
    closeBody(end);
    return headers;
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

std::string_view IniIndex::NameText(Piece piece) const {
    return std::string_view(m_names).substr(piece.offset, piece.length);
}

// A new section's name joins the names; a repeated one is not added (false).
bool IniIndex::AddSection(std::string_view name, std::vector<Header>& headers) {
    Reserve(m_sectionTable, headers.size() + 1);
    const std::uint32_t tag = FoldedTag(name);
    SectionSlot& slot = m_sectionTable[Probe(m_sectionTable, tag, [&](const SectionSlot& kept) {
        return EqualsFolded(NameText(kept.name), name);
    })];
    if (slot.item != 0) {
        return false;
    }
    const Piece named{static_cast<std::uint32_t>(m_names.size()),
                      static_cast<std::uint32_t>(name.size())};
    m_names += name;
    headers.push_back({named, {}});
    slot = {tag, static_cast<std::uint32_t>(headers.size()), named};
    return true;
}

// Indexed once; the flag spares later lookups the lock. std::call_once would do the same but
// wakes waiters with a system call each time, one per section read.
const std::vector<IniIndex::EntrySlot>& IniIndex::Indexed(std::uint32_t number) const {
    const Section& section = m_sections[number];
    if (!section.indexed.load(std::memory_order_acquire)) {
        const std::scoped_lock guard(m_indexing);
        if (!section.indexed.load(std::memory_order_relaxed)) {
            section.entries = IndexEntries(Text(section.body));
            section.indexed.store(true, std::memory_order_release);
        }
    }
    return section.entries;
}

// The body's lines: blank lines and comments skipped, any other line with '=' an entry. The
// next CR and the next LF are each searched for only once they have been passed, so a body of
// either kind of line end is scanned once.
std::vector<IniIndex::EntrySlot> IniIndex::IndexEntries(std::string_view body) const {
    std::vector<EntrySlot> table;
    Reserve(table, CountOf('=', body));
    std::uint32_t count = 0;
    const char* cursor = body.data();
    const char* const end = body.data() + body.size();
    const char* nextCR = nullptr;
    const char* nextLF = nullptr;
    while (cursor < end) {
        nextCR = NextOf('\r', cursor, end, nextCR);
        nextLF = NextOf('\n', cursor, end, nextLF);
        const char* lineEnd = std::min(nextCR, nextLF);
        const std::string_view line =
            TrimBlanks(std::string_view(cursor, static_cast<std::size_t>(lineEnd - cursor)));
        const std::size_t equals = line.find('=');
        if (!line.empty() && line.front() != ';' && equals != std::string_view::npos) {
            const std::string_view key = TrimBlanks(line.substr(0, equals));
            const std::uint32_t tag = FoldedTag(key);
            EntrySlot& slot = table[Probe(table, tag, [&](const EntrySlot& kept) {
                return EqualsFolded(Text(kept.key), key);
            })];
            if (slot.item == 0) {
                slot = {tag, ++count, PieceOf(key), PieceOf(TrimBlanks(line.substr(equals + 1)))};
            }
        }
        if (lineEnd == end) {
            break;
        }
        const bool crlf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
        cursor = lineEnd + (crlf ? 2 : 1);
    }
    return table;
}

std::optional<std::uint32_t> IniIndex::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    const SectionSlot& slot =
        m_sectionTable[Probe(m_sectionTable, FoldedTag(name), [&](const SectionSlot& kept) {
            return EqualsFolded(NameText(kept.name), name);
        })];
    return slot.item != 0 ? std::optional(slot.item - 1) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::uint32_t number, std::string_view key) const {
    const std::vector<EntrySlot>& table = Indexed(number);
    if (table.empty()) {
        return std::nullopt;
    }
    key = TrimBlanks(key);
    const EntrySlot& slot = table[Probe(table, FoldedTag(key), [&](const EntrySlot& kept) {
        return EqualsFolded(Text(kept.key), key);
    })];
    return slot.item != 0 ? std::optional(Text(slot.value)) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::string_view section,
                                               std::string_view key) const {
    const std::optional<std::uint32_t> number = FindSection(section);
    return number ? Find(*number, key) : std::nullopt;
}

template <class Slot, class Matches>
std::size_t IniIndex::Probe(const std::vector<Slot>& table, std::uint32_t tag, Matches&& matches) {
    const std::size_t mask = table.size() - 1;
    for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
        const Slot& slot = table[i];
        if (slot.item == 0 || (slot.tag == tag && matches(slot))) {
            return i;
        }
    }
}

template <class Slot> void IniIndex::Reserve(std::vector<Slot>& table, std::size_t count) {
    if (count * 2 <= table.size()) {
        return;
    }
    // Grown fourfold: the section table grows a section at a time through thousands.
    std::size_t capacity = std::max(kFirstCapacity, table.size() * 4);
    while (capacity < count * 2) {
        capacity *= 2;
    }
    std::vector<Slot> grown(capacity);
    const std::size_t mask = capacity - 1;
    for (const Slot& slot : table) {
        if (slot.item == 0) {
            continue;
        }
        std::size_t i = slot.tag & mask;
        while (grown[i].item != 0) {
            i = (i + 1) & mask;
        }
        grown[i] = slot;
    }
    table.swap(grown);
}

// Section by section; a table holds its entries in no order, so they are sorted back into the
// order of the file.
void IniIndex::ForEachEntry(const std::function<void(const EntryText&)>& visit) const {
    for (std::uint32_t number = 0; number < m_sectionCount; ++number) {
        const Section& section = m_sections[number];
        std::vector<EntrySlot> walked;
        const std::vector<EntrySlot>& table = section.indexed.load(std::memory_order_acquire)
                                                  ? section.entries
                                                  : (walked = IndexEntries(Text(section.body)));
        std::vector<const EntrySlot*> slots;
        for (const EntrySlot& slot : table) {
            if (slot.item != 0) {
                slots.push_back(&slot);
            }
        }
        std::sort(slots.begin(), slots.end(),
                  [](const EntrySlot* a, const EntrySlot* b) { return a->item < b->item; });
        const std::string_view name = NameText(section.name);
        for (const EntrySlot* slot : slots) {
            visit({name, Text(slot->key), Text(slot->value)});
        }
    }
}

} // namespace KorvaneIni
