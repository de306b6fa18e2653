/// @file
/// A file's bytes read whole and owned: a text, or memory the system layer read a large file
/// into, so a reader that keeps a file's bytes keeps them without a copy.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

/// A file's bytes, owned: a text, or memory the system layer read the file into.
class FileBytes {
public:
    /// How memory of the system layer's own is given back.
    using Release = void (*)(char*);

    /// The bytes of a text.
    explicit FileBytes(std::string text) : m_text(std::move(text)) {}
    /// size bytes at memory, given back with release once these bytes go.
    FileBytes(char* memory, std::size_t size, Release release)
        : m_memory(memory, release), m_size(size) {}

    /// The bytes, valid as long as this object lives.
    std::string_view View() const {
        return m_memory ? std::string_view(m_memory.get(), m_size) : std::string_view(m_text);
    }

private:
    std::string m_text;
    std::unique_ptr<char, Release> m_memory{nullptr, nullptr};
    std::size_t m_size = 0;
};

} // namespace platform
