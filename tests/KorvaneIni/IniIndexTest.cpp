// The parsed form of an INI file: letter case at the folding's byte boundaries, and the memory
// a first lookup takes, counted by this binary's operator new.
#include "ledgerline/KorvaneIni/IniIndex.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <string>

namespace {

// Every allocation of the binary carries its size before it, so the bytes in use are known (the
// array forms of the library pass through these).
// allocationLimit makes larger allocations fail as a full address space would.
std::atomic<std::size_t> g_inUse = 0;
std::atomic<std::size_t> g_peak = 0;
std::atomic<std::size_t> g_allocationLimit = SIZE_MAX;
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
    if (size > g_allocationLimit) {
        throw std::bad_alloc();
    }
    auto* block = static_cast<char*>(std::malloc(size + kHeader));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t inUse = g_inUse += size;
    for (std::size_t peak = g_peak; inUse > peak && !g_peak.compare_exchange_weak(peak, inUse);) {
    }
    return block + kHeader;
}

void Free(void* memory) {
    if (memory != nullptr) {
        char* block = static_cast<char*>(memory) - kHeader;
        g_inUse -= *reinterpret_cast<std::size_t*>(block);
        std::free(block);
    }
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    Free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    Free(memory);
}

namespace {

using KorvaneIni::IniIndex;

struct Folding {
    char stored;
    char asked;
    bool same;
};

// Pairs of bytes 0x20 apart, which the folding tells apart by range: letters alone match.
const Folding kFoldings[] = {
    {.stored = 'a', .asked = 'A', .same = true},
    {.stored = 'Z', .asked = 'z', .same = true},
    {.stored = '@', .asked = '`', .same = false},
    {.stored = '`', .asked = '@', .same = false},
    {.stored = '[', .asked = '{', .same = false},
    {.stored = '{', .asked = '[', .same = false},
    {.stored = '\\', .asked = '|', .same = false},
    {.stored = '\xC0', .asked = '\xE0', .same = false},
    {.stored = '\xE1', .asked = '\xC1', .same = false},
    {.stored = '\xFA', .asked = '\xDA', .same = false},
};

// Each pair at the first and the last byte of names as long as a word less one, a word, a
// word and one, two words, and longer than a key's length field holds, as section and as key.
TEST(IniIndexTest, NamesMatchIgnoringLetterCaseOnly) {
    for (const Folding& row : kFoldings) {
        for (const std::size_t length : {7, 8, 9, 16, 300}) {
            for (const std::size_t at : {std::size_t{0}, length - 1}) {
                std::string stored(length, 'n');
                std::string asked(length, 'N');
                stored[at] = row.stored;
                asked[at] = row.asked;
                SCOPED_TRACE("'" + stored + "' asked as '" + asked + "'");
                const IniIndex index("[" + stored + "]\r\n" + stored + "=v");
                EXPECT_EQ(index.FindSection(asked).has_value(), row.same);
                EXPECT_EQ(index.Find(stored, asked).has_value(), row.same);
            }
        }
    }
}

// Among this many names some share their hash tag, and so their place in the table: each must
// still find its own entry, in the unnamed section, kept as the sections after it grow its table.
TEST(IniIndexTest, NamesSharingAHashTagAreToldApart) {
    std::string content;
    for (int k = 0; k < 20000; ++k) {
        content += std::to_string(k) + "NameTail=" + std::to_string(k) + "\r\n";
    }
    for (int k = 0; k < 64; ++k) {
        content += "[" + std::to_string(k) + "]\r\n";
    }
    const IniIndex index(std::move(content));
    for (int k = 0; k < 20000; ++k) {
        ASSERT_EQ(index.Find("", std::to_string(k) + "nametail"), std::to_string(k)) << k;
    }
}

struct Shape {
    const char* what;
    std::string (*entry)(int number);
    const char* key; // one of the entries
};

// Entries decorated with comment rules and values full of '=', and short entries.
const Shape kShapes[] = {
    {.what = "decorated entries",
     .entry =
         [](int number) {
             return "; " + std::string(70, '=') + "\r\nKey" + std::to_string(number) +
                    " = a==b==c\r\n";
         },
     .key = "KEY1"},
    {.what = "short entries",
     .entry = [](int number) { return "K" + std::to_string(number) + "=1\n"; },
     .key = "k1"},
    {.what = "entries of three bytes",
     .entry = [](int) { return std::string("a=\n"); },
     .key = "A"},
};

// The index of a file of one large section takes no more than twice the file's size beside its
// bytes when the section is first read.
TEST(IniIndexTest, AFirstLookupTakesAtMostTwiceTheFilesSize) {
    for (const Shape& shape : kShapes) {
        std::string content = "[A]\r\n";
        for (int number = 0; number < 50000; ++number) {
            content += shape.entry(number);
        }
        const std::size_t size = content.size();
        const std::size_t before = g_inUse; // the file's bytes, which the index takes over
        g_peak = before;
        const IniIndex index(std::move(content));
        EXPECT_TRUE(index.Find("A", shape.key).has_value()) << shape.what;
        EXPECT_LE(g_peak - before, 2 * size) << shape.what;
    }
}

// Where a section's table cannot be had, the lookup reads its lines: an entry never reads as
// missing for want of memory.
TEST(IniIndexTest, AnEntryIsFoundWithoutMemoryForItsTable) {
    std::string content = "[A]\r\n";
    for (int k = 0; k < 100; ++k) {
        content += "k" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    }
    content += "; K42=comment\r\nK42=second\r\n";
    const IniIndex index(std::move(content));
    g_allocationLimit = 64;
    const auto found = index.Find("A", "K42");
    const auto missing = index.Find("A", "K100");
    g_allocationLimit = SIZE_MAX;
    EXPECT_EQ(found, "42");
    EXPECT_EQ(missing, std::nullopt);
}

} // namespace
