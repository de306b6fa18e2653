// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#include "KorvaneIni/IniIndex.h"

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

// Eight bytes of a name, the bytes past its end zero.
std::uint64_t WordAt(std::string_view name, std::size_t at) {
    std::uint64_t word = 0;
    std::memcpy(&word, name.data() + at, std::min<std::size_t>(8, name.size() - at));
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

bool EqualsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t at = 0; at < a.size(); at += 8) {
        if (Folded(WordAt(a, at)) != Folded(WordAt(b, at))) {
            return false;
        }
    }
    return true;
}

// A hash of the upper-cased name, eight bytes a step, mixed with the owning section so that a
// key hashes apart per section, then spread with the finaliser of splitmix64. The upper half
// is the tag.
std::uint32_t FoldedTag(std::string_view name, std::uint32_t owner) {
    std::uint64_t hash = name.size() ^ (static_cast<std::uint64_t>(owner) << 32);
    for (std::size_t at = 0; at < name.size(); at += 8) {
        hash = (hash ^ Folded(WordAt(name, at))) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
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

} // namespace

IniIndex::IniIndex(std::string content) : m_content(std::move(content)) {
    Parse();
}

void IniIndex::Parse() {
    // Offsets are 32-bit; the rest of a larger file is not read (a configuration file is a few
    // megabytes at most).
    std::string_view rest(
        m_content.data(),
        std::min<std::size_t>(m_content.size(), std::numeric_limits<std::uint32_t>::max()));
    // Every entry line holds an '=', so their count bounds the entries: no table grows twice.
    const auto equalsSigns = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), '='));
    Reserve(m_entryTable, equalsSigns);
    m_entries.reserve(equalsSigns);
    if (rest.starts_with(kByteOrderMark)) {
        rest.remove_prefix(kByteOrderMark.size());
    }
    std::optional<std::uint32_t> section = AddSection({});
    // The next CR and the next LF are each searched for only once they have been passed, so a
    // file of either kind of line end is scanned once.
    const char* cursor = rest.data();
    const char* const end = rest.data() + rest.size();
    const char* nextCR = nullptr;
    const char* nextLF = nullptr;
    while (cursor < end) {
        nextCR = NextOf('\r', cursor, end, nextCR);
        nextLF = NextOf('\n', cursor, end, nextLF);
        const char* lineEnd = std::min(nextCR, nextLF);
        ParseLine(std::string_view(cursor, static_cast<std::size_t>(lineEnd - cursor)), section);
        if (lineEnd == end) {
            break;
        }
        const bool crlf = *lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n';
        cursor = lineEnd + (crlf ? 2 : 1);
    }
}

void IniIndex::ParseLine(std::string_view line, std::optional<std::uint32_t>& section) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') {
        return;
    }
    if (line.front() == '[') {
        line.remove_prefix(1);
        section = AddSection(TrimBlanks(line.substr(0, line.find(']'))));
        return;
    }
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && section) {
        AddEntry(*section, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)));
    }
}

IniIndex::Piece IniIndex::PieceOf(std::string_view text) const {
    if (text.empty()) {
        return {};
    }
    return {static_cast<std::uint32_t>(text.data() - m_content.data()),
            static_cast<std::uint32_t>(text.size())};
}

std::string_view IniIndex::Text(Piece piece) const {
    return std::string_view(m_content).substr(piece.offset, piece.length);
}

std::optional<std::uint32_t> IniIndex::AddSection(std::string_view name) {
    Reserve(m_sectionTable, m_sections.size() + 1);
    const std::uint32_t tag = FoldedTag(name, 0);
    Bucket& bucket = m_sectionTable[Probe(m_sectionTable, tag, [&](std::uint32_t number) {
        return EqualsFolded(Text(m_sections[number]), name);
    })];
    if (bucket.item != 0) {
        return std::nullopt;
    }
    m_sections.push_back(PieceOf(name));
    bucket = {tag, static_cast<std::uint32_t>(m_sections.size())};
    return bucket.item - 1;
}

void IniIndex::AddEntry(std::uint32_t section, std::string_view key, std::string_view value) {
    Reserve(m_entryTable, m_entries.size() + 1);
    const std::uint32_t tag = FoldedTag(key, section);
    Bucket& bucket = m_entryTable[Probe(m_entryTable, tag, [&](std::uint32_t number) {
        const Entry& entry = m_entries[number];
        return entry.section == section && EqualsFolded(Text(entry.key), key);
    })];
    if (bucket.item == 0) {
        m_entries.push_back({section, PieceOf(key), PieceOf(value)});
        bucket = {tag, static_cast<std::uint32_t>(m_entries.size())};
    }
}

std::optional<std::uint32_t> IniIndex::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    const Bucket& bucket =
        m_sectionTable[Probe(m_sectionTable, FoldedTag(name, 0), [&](std::uint32_t number) {
            return EqualsFolded(Text(m_sections[number]), name);
        })];
    return bucket.item != 0 ? std::optional(bucket.item - 1) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::uint32_t section, std::string_view key) const {
    if (m_entryTable.empty()) {
        return std::nullopt;
    }
    key = TrimBlanks(key);
    const Bucket& bucket =
        m_entryTable[Probe(m_entryTable, FoldedTag(key, section), [&](std::uint32_t item) {
            const Entry& entry = m_entries[item];
            return entry.section == section && EqualsFolded(Text(entry.key), key);
        })];
    return bucket.item != 0 ? std::optional(Text(m_entries[bucket.item - 1].value)) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::string_view section,
                                               std::string_view key) const {
    const std::optional<std::uint32_t> number = FindSection(section);
    return number ? Find(*number, key) : std::nullopt;
}

template <class Matches>
std::size_t IniIndex::Probe(const std::vector<Bucket>& table, std::uint32_t tag,
                            Matches&& matches) {
    const std::size_t mask = table.size() - 1;
    for (std::size_t i = tag & mask;; i = (i + 1) & mask) {
        const Bucket& bucket = table[i];
        if (bucket.item == 0 || (bucket.tag == tag && matches(bucket.item - 1))) {
            return i;
        }
    }
}

void IniIndex::Reserve(std::vector<Bucket>& table, std::size_t count) {
    if (count * 2 <= table.size()) {
        return;
    }
    std::size_t capacity = std::max(kFirstCapacity, table.size());
    while (capacity < count * 2) {
        capacity *= 2;
    }
    std::vector<Bucket> grown(capacity);
    const std::size_t mask = capacity - 1;
    for (const Bucket& bucket : table) {
        if (bucket.item == 0) {
            continue;
        }
        std::size_t i = bucket.tag & mask;
        while (grown[i].item != 0) {
            i = (i + 1) & mask;
        }
        grown[i] = bucket;
    }
    table.swap(grown);
}

std::vector<IniIndex::EntryText> IniIndex::Entries() const {
    std::vector<EntryText> entries;
    entries.reserve(m_entries.size());
    for (const Entry& entry : m_entries) {
        entries.push_back({Text(m_sections[entry.section]), Text(entry.key), Text(entry.value)});
    }
    return entries;
}

} // namespace KorvaneIni
