// The parsed form of one INI file: its bytes and a hash index of its sections and entries.
#include "KorvaneIni/IniIndex.h"

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

unsigned char Folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 32) : byte;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i])) {
            return false;
        }
    }
    return true;
}

// The finaliser of splitmix64: spreads every input bit over the whole result.
std::uint64_t Mix(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// FNV-1a over the upper-cased bytes, mixed with the owner so a key hashes apart per section.
std::uint64_t FoldedHash(std::string_view name, std::uint32_t owner) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char c : name) {
        hash = (hash ^ Folded(c)) * 0x100000001B3ull;
    }
    return Mix(hash + owner);
}

} // namespace

IniIndex::IniIndex(std::string content) : m_content(std::move(content)) {
    Parse();
}

void IniIndex::Parse() {
    std::string_view rest = m_content;
    if (rest.starts_with(kByteOrderMark)) {
        rest.remove_prefix(kByteOrderMark.size());
    }
    std::optional<std::uint32_t> section = AddSection({});
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n') {
            ++end;
        }
        ParseLine(rest.substr(0, end), section);
        if (end < rest.size() && rest[end] == '\r' && end + 1 < rest.size() &&
            rest[end + 1] == '\n') {
            ++end;
        }
        rest.remove_prefix(end < rest.size() ? end + 1 : end);
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

std::optional<std::uint32_t> IniIndex::AddSection(std::string_view name) {
    Reserve(m_sections, m_lSections + 1);
    const std::uint64_t hash = FoldedHash(name, 0);
    Slot& slot = m_sections[Probe(m_sections, hash, 0, name)];
    if (slot.used) {
        return std::nullopt;
    }
    slot = Slot{hash, 0, static_cast<std::uint32_t>(m_lSections), name, {}, true};
    ++m_lSections;
    return slot.number;
}

void IniIndex::AddEntry(std::uint32_t section, std::string_view key, std::string_view value) {
    Reserve(m_entries, m_lEntries + 1);
    const std::uint64_t hash = FoldedHash(key, section);
    Slot& slot = m_entries[Probe(m_entries, hash, section, key)];
    if (slot.used) {
        return;
    }
    slot = Slot{hash, section, 0, key, value, true};
    ++m_lEntries;
}

std::optional<std::uint32_t> IniIndex::FindSection(std::string_view name) const {
    const Slot& slot = m_sections[Probe(m_sections, FoldedHash(name, 0), 0, name)];
    return slot.used ? std::optional(slot.number) : std::nullopt;
}

std::optional<std::string_view> IniIndex::Find(std::string_view section,
                                               std::string_view key) const {
    const std::optional<std::uint32_t> number = FindSection(TrimBlanks(section));
    if (!number || m_entries.empty()) {
        return std::nullopt;
    }
    key = TrimBlanks(key);
    const Slot& slot = m_entries[Probe(m_entries, FoldedHash(key, *number), *number, key)];
    return slot.used ? std::optional(slot.value) : std::nullopt;
}

std::size_t IniIndex::Probe(const std::vector<Slot>& table, std::uint64_t hash, std::uint32_t owner,
                            std::string_view name) {
    const std::size_t mask = table.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = table[i];
        if (!slot.used ||
            (slot.hash == hash && slot.owner == owner && EqualsFolded(slot.name, name))) {
            return i;
        }
    }
}

void IniIndex::Reserve(std::vector<Slot>& table, std::size_t count) {
    if (count * 2 <= table.size()) {
        return;
    }
    std::vector<Slot> grown(table.empty() ? kFirstCapacity : table.size() * 2);
    const std::size_t mask = grown.size() - 1;
    for (const Slot& slot : table) {
        if (!slot.used) {
            continue;
        }
        std::size_t i = slot.hash & mask;
        while (grown[i].used) {
            i = (i + 1) & mask;
        }
        grown[i] = slot;
    }
    table.swap(grown);
}

} // namespace KorvaneIni
