// The registry held as a text file in the format that regedit exports and imports.
#include "ledgerline/platform/posix/RegFile.h"

#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

namespace platform::posix {
namespace {

using ldgr::ascii::TrimBlanks;

// Windows refuses longer key names and deeper keys; the limits also keep a hostile file from
// costing unbounded memory or stack.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), UpperCodePage);
    return folded;
}

bool StartsWithFolded(std::string_view text, std::string_view upperPrefix) {
    return text.size() >= upperPrefix.size() &&
           Folded(text.substr(0, upperPrefix.size())) == upperPrefix;
}

// The text of a file: its bytes, converted to the code page when a byte-order mark says they
// are Unicode (regedit writes UTF-16LE).
std::string DecodeFileText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return Utf16LeToCodePage(bytes.substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return Utf8ToCodePage(bytes.substr(3));
    }
    return std::string(bytes);
}

// The lines of a text ending in CR LF, LF or CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end;
        if (start < text.size() && text[start] == '\r') {
            ++start;
        }
        if (start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

bool IsValidKeyPath(std::span<const std::string_view> components) {
    return components.size() <= kMaxKeyDepth &&
           std::all_of(components.begin(), components.end(),
                       [](std::string_view name) { return name.size() <= kMaxKeyNameLength; });
}

struct RootName {
    std::string_view name;
    RootKey root;
};

// The names of the root keys in key headers: regedit's, and the short forms people type.
constexpr std::array<RootName, 10> kRootNames = {{
    {"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
    {"HKEY_CURRENT_USER", RootKey::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
    {"HKEY_USERS", RootKey::Users},
    {"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
    {"HKCR", RootKey::ClassesRoot},
    {"HKCU", RootKey::CurrentUser},
    {"HKLM", RootKey::LocalMachine},
    {"HKU", RootKey::Users},
    {"HKCC", RootKey::CurrentConfig},
}};

std::optional<RootKey> RootNamed(std::string_view name) {
    const std::string folded = Folded(name);
    for (const RootName& entry : kRootNames) {
        if (entry.name == folded) {
            return entry.root;
        }
    }
    return std::nullopt;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::uint32_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint32_t>(c - '0');
    }
    return static_cast<std::uint32_t>(UpperCodePage(c) - 'A' + 10);
}

// A number written as 1 to maxDigits hex digits and nothing else.
std::optional<std::uint32_t> ReadHexNumber(std::string_view text, std::size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits ||
        !std::all_of(text.begin(), text.end(), IsHexDigit)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        value = (value << 4) | HexDigitValue(c);
    }
    return value;
}

// The bytes of a comma-separated hex list ("0a,01,00"); a trailing comma is allowed.
std::optional<std::string> ReadHexBytes(std::string_view list) {
    std::string bytes;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        const std::string_view item = TrimBlanks(list.substr(start, end - start));
        if (item.empty()) {
            if (end != list.size()) {
                return std::nullopt;
            }
            break;
        }
        const std::optional<std::uint32_t> byte = ReadHexNumber(item, 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes += static_cast<char>(*byte);
        start = end + 1;
    }
    return bytes;
}

// A quoted text at the start of `text`, with the escapes \\ and \" resolved (any other backslash
// stays as written); `rest` receives what follows the closing quote. Nothing when the quote is
// never closed.
std::optional<std::string> ReadQuoted(std::string_view text, std::string_view& rest) {
    std::string value;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            rest = text.substr(i + 1);
            return value;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
            ++i;
        }
        value += text[i];
    }
    return std::nullopt;
}

std::string LittleEndian(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

bool IsTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// A line that continues a hex list: hex digits, commas and blanks, perhaps a continuation mark.
bool IsContinuationLine(std::string_view line) {
    const std::string_view list = line.ends_with('\\') ? line.substr(0, line.size() - 1) : line;
    return !line.empty() &&
           list.find_first_not_of("0123456789abcdefABCDEF, \t") == std::string_view::npos;
}

} // namespace

// Reads the lines of a file into a RegFile, in order.
class RegFileReader {
public:
    RegFileReader(std::string_view text, RegFile& file) : m_lines(SplitLines(text)), m_file(file) {}

    void ReadAll() {
        bool first = true;
        while (m_next < m_lines.size()) {
            m_lineNumber = m_next + 1;
            const std::string_view line = TrimBlanks(m_lines[m_next++]);
            if (line.empty()) {
                continue;
            }
            if (std::exchange(first, false) && ReadVersionLine(line)) {
                continue;
            }
            if (!ReadLine(line)) {
                m_file.m_skippedLines.push_back(m_lineNumber);
            }
        }
    }

private:
    using Key = RegFile::Key;

    // The first line names the format. Without it, the file is read as the current format.
    bool ReadVersionLine(std::string_view line) {
        if (Folded(line) == "WINDOWS REGISTRY EDITOR VERSION 5.00") {
            m_hexTextIsUtf16 = true;
            return true;
        }
        if (Folded(line) == "REGEDIT4") {
            m_hexTextIsUtf16 = false;
            return true;
        }
        return false;
    }

    bool ReadLine(std::string_view line) {
        switch (line.front()) {
        case ';':
            return true;
        case '[':
            return ReadKeyLine(line);
        case '"':
        case '@':
            return ReadValueLine(line);
        default:
            return false;
        }
    }

    // "[path]" makes the key (and its parents) the one that values go to; "[-path]" deletes it
    // with its subkeys. After a deletion or an unreadable header, values have nowhere to go.
    bool ReadKeyLine(std::string_view line) {
        m_key = nullptr;
        if (line.size() < 2 || line.back() != ']') {
            return false;
        }
        std::string_view path = line.substr(1, line.size() - 2);
        const bool deleting = path.starts_with('-');
        if (deleting) {
            path.remove_prefix(1);
        }
        const std::vector<std::string_view> components = SplitComponents(path, '\\');
        if (components.empty() || !IsValidKeyPath(components)) {
            return false;
        }
        const std::optional<RootKey> root = RootNamed(components.front());
        if (!root) {
            return false;
        }
        const auto below = std::span(components).subspan(1);
        if (deleting) {
            return DeleteKey(*root, below);
        }
        m_key = &MakeKey(*root, below);
        return true;
    }

    Key& MakeKey(RootKey root, std::span<const std::string_view> components) {
        Key* key = &m_file.m_roots[root];
        for (const std::string_view name : components) {
            auto [entry, added] = key->subkeys.try_emplace(Folded(name));
            if (added) {
                entry->second = std::make_unique<Key>();
                entry->second->name = name;
            }
            key = entry->second.get();
        }
        return *key;
    }

    // Deleting a key that does not exist does nothing; a root key cannot be deleted.
    bool DeleteKey(RootKey root, std::span<const std::string_view> components) {
        if (components.empty()) {
            return false;
        }
        Key* parent = &m_file.m_roots[root];
        for (const std::string_view name : components.first(components.size() - 1)) {
            const auto entry = parent->subkeys.find(Folded(name));
            if (entry == parent->subkeys.end()) {
                return true;
            }
            parent = entry->second.get();
        }
        parent->subkeys.erase(Folded(components.back()));
        return true;
    }

    // "name"=data or @=data (the default value); "name"=- deletes the value.
    bool ReadValueLine(std::string_view line) {
        std::string name;
        std::string_view rest = line.substr(1);
        if (line.front() == '"') {
            std::optional<std::string> quoted = ReadQuoted(line, rest);
            if (!quoted) {
                return false;
            }
            name = std::move(*quoted);
        }
        rest = TrimBlanks(rest);
        if (!rest.starts_with('=')) {
            return false;
        }
        // The continuation lines of a hex list belong to this line even when it is unreadable.
        const std::optional<std::string> data = ReadDataText(TrimBlanks(rest.substr(1)));
        if (!data || m_key == nullptr) {
            return false;
        }
        if (*data == "-") {
            m_key->values.erase(Folded(name));
            return true;
        }
        std::optional<RegEntry> entry = ReadData(*data);
        if (!entry) {
            return false;
        }
        entry->name = std::move(name);
        m_key->values.insert_or_assign(Folded(entry->name), std::move(*entry));
        return true;
    }

    // The data of a value line, with the lines that a hex list continues on (each line but the
    // last ends in a backslash) joined to it. Nothing when the list is cut off.
    std::optional<std::string> ReadDataText(std::string_view data) {
        std::string text(data);
        if (!StartsWithFolded(data, "HEX")) {
            return text;
        }
        while (text.ends_with('\\')) {
            text.pop_back();
            if (m_next >= m_lines.size()) {
                return std::nullopt;
            }
            const std::string_view next = TrimBlanks(m_lines[m_next]);
            if (!IsContinuationLine(next)) {
                return std::nullopt;
            }
            text += next;
            ++m_next;
        }
        return text;
    }

    std::optional<RegEntry> ReadData(std::string_view data) const {
        if (data.starts_with('"')) {
            return ReadTextData(data);
        }
        if (StartsWithFolded(data, "DWORD:")) {
            return ReadDwordData(data.substr(6));
        }
        if (StartsWithFolded(data, "HEX")) {
            return ReadHexData(data.substr(3));
        }
        return std::nullopt;
    }

    static std::optional<RegEntry> ReadTextData(std::string_view data) {
        std::string_view rest;
        std::optional<std::string> text = ReadQuoted(data, rest);
        if (!text || !TrimBlanks(rest).empty()) {
            return std::nullopt;
        }
        return RegEntry{{}, kRegSz, std::move(*text) + '\0'};
    }

    static std::optional<RegEntry> ReadDwordData(std::string_view digits) {
        const std::optional<std::uint32_t> value = ReadHexNumber(digits, 8);
        if (!value) {
            return std::nullopt;
        }
        return RegEntry{{}, kRegDword, LittleEndian(*value)};
    }

    // hex:list is binary data; hex(N):list has type N (hex digits). Text types hold UTF-16LE
    // in a version 5 file and code-page bytes in a REGEDIT4 file.
    std::optional<RegEntry> ReadHexData(std::string_view rest) const {
        std::uint32_t type = kRegBinary;
        if (rest.starts_with('(')) {
            const std::size_t close = rest.find(')');
            const std::optional<std::uint32_t> number =
                close == std::string_view::npos ? std::nullopt
                                                : ReadHexNumber(rest.substr(1, close - 1), 8);
            if (!number) {
                return std::nullopt;
            }
            type = *number;
            rest.remove_prefix(close + 1);
        }
        if (!rest.starts_with(':')) {
            return std::nullopt;
        }
        std::optional<std::string> bytes = ReadHexBytes(rest.substr(1));
        if (!bytes) {
            return std::nullopt;
        }
        if (m_hexTextIsUtf16 && IsTextType(type)) {
            return RegEntry{{}, type, Utf16LeToCodePage(*bytes)};
        }
        return RegEntry{{}, type, std::move(*bytes)};
    }

    std::vector<std::string_view> m_lines;
    std::size_t m_next = 0;       // index of the next line to read
    std::size_t m_lineNumber = 0; // number of the line being read
    RegFile& m_file;
    Key* m_key = nullptr; // where values go
    bool m_hexTextIsUtf16 = true;
};

RegFile::RegFile() {
    for (const RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine,
                               RootKey::Users, RootKey::CurrentConfig}) {
        m_roots[root];
    }
}

RegFile RegFile::Parse(std::string_view bytes) {
    const std::string text = DecodeFileText(bytes);
    RegFile file;
    RegFileReader(text, file).ReadAll();
    return file;
}

const RegFile::Key* RegFile::FindKey(RootKey root, std::string_view subKey) const {
    const auto rootEntry = m_roots.find(root);
    if (rootEntry == m_roots.end() || subKey.starts_with('\\')) {
        return nullptr;
    }
    const Key* key = &rootEntry->second;
    for (const std::string_view name : SplitComponents(subKey, '\\')) {
        const auto entry = key->subkeys.find(Folded(name));
        if (entry == key->subkeys.end()) {
            return nullptr;
        }
        key = entry->second.get();
    }
    return key;
}

bool RegFile::HasKey(RootKey root, std::string_view subKey) const {
    return FindKey(root, subKey) != nullptr;
}

const RegEntry* RegFile::FindValue(RootKey root, std::string_view subKey,
                                   std::string_view valueName) const {
    const Key* key = FindKey(root, subKey);
    if (key == nullptr) {
        return nullptr;
    }
    const auto entry = key->values.find(Folded(valueName));
    return entry == key->values.end() ? nullptr : &entry->second;
}

std::vector<std::string> RegFile::SubKeyNames(RootKey root, std::string_view subKey) const {
    std::vector<std::string> names;
    if (const Key* key = FindKey(root, subKey)) {
        for (const auto& [folded, subkey] : key->subkeys) {
            names.push_back(subkey->name);
        }
    }
    return names;
}

} // namespace platform::posix
