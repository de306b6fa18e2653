/// @file
/// The keyed collection behind CPrinterGroups, CCategories and CPreDefinedValues: shared items
/// at 1-based positions, each with an optional key that is unique ignoring letter case.
#pragma once

#include "ledgerline/platform/Error.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

/// Names an entry of a collection: a number is a position (from 1), a text is a key.
class PositionOrKey {
public:
    /// @{
    /// A position, or a key: implicit, so that a number or a text can be passed as it is.
    PositionOrKey(std::int32_t lPosition) : m_value(lPosition) {}
    PositionOrKey(std::string sKey) : m_value(std::move(sKey)) {}
    PositionOrKey(const char* sKey) : m_value(std::string(sKey)) {}
    /// @}

    /// The position; null for a key.
    const std::int32_t* Position() const { return std::get_if<std::int32_t>(&m_value); }
    /// The key; null for a position.
    const std::string* Key() const { return std::get_if<std::string>(&m_value); }

private:
    std::variant<std::int32_t, std::string> m_value;
};

namespace model {

/// @{
/// The collection's own failures; the collection classes raise them again under their names.
ldgr::Error DuplicateKey(const std::string& sKey);
ldgr::Error NoSuchKey(const std::string& sKey);
ldgr::Error NoSuchPosition(std::int32_t lPosition, std::size_t count);
ldgr::Error BothNeighbours();
ldgr::Error NoItem();
/// @}

/// Keys are the same when they differ at most in letter case.
bool SameKey(const std::string& a, const std::string& b);

} // namespace model

/// The shared pattern. Derived names itself (kClassName), its factory operation (kFactoryName)
/// and whether Item answers an absent entry with a null reference (kMissingItemIsNull) instead
/// of an error.
template <class Derived, class T> class KeyedCollection {
public:
    KeyedCollection(const KeyedCollection&) = delete;
    KeyedCollection& operator=(const KeyedCollection&) = delete;

    /// Appends the item, or puts it right in front of vBefore or right behind vAfter (at most
    /// one of them). Raises, leaving the collection unchanged, for a key already present, a
    /// neighbour that does not exist, or both neighbours.
    void Add(std::shared_ptr<T> item, const std::optional<std::string>& sKey = std::nullopt,
             const std::optional<PositionOrKey>& vBefore = std::nullopt,
             const std::optional<PositionOrKey>& vAfter = std::nullopt) {
        RaisingAs("::Add", [&] { Insert(std::move(item), sKey, vBefore, vAfter); });
    }

    /// The number of items.
    std::int32_t Count() const noexcept { return static_cast<std::int32_t>(m_entries.size()); }

    /// Makes this collection a deep copy of the other: the same items in the same order, as
    /// new objects, without keys. Failures pass to the caller, leaving what was copied so far.
    void Equals(const Derived& other) {
        // Taken first, so that a collection can be made a copy of itself.
        const std::vector<std::shared_ptr<T>> sources = other.Items();
        RemoveAll();
        for (const std::shared_ptr<T>& source : sources) {
            AddNew({}, {}, {})->Equals(*source);
        }
    }

    /// Whether the text is a key of this collection; never a position, never raises.
    bool Exists(const std::string& sKey) const noexcept {
        try {
            return FindKey(sKey).has_value();
        } catch (...) {
            return false;
        }
    }

    /// The item at a position or with a key (a further reference, not a copy).
    std::shared_ptr<T> Item(const PositionOrKey& vKey) const {
        if constexpr (Derived::kMissingItemIsNull) {
            const std::optional<std::size_t> index = Find(vKey);
            return index ? m_entries[*index].item : nullptr;
        } else {
            return RaisingAs("::Item", [&] { return m_entries[Locate(vKey)].item; });
        }
    }

    /// Removes one entry; later items move one position forward.
    void Remove(const PositionOrKey& vKey) {
        RaisingAs("::Remove", [&] {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(Locate(vKey)));
        });
    }

    /// Removes every entry.
    void RemoveAll() noexcept { std::vector<Entry>().swap(m_entries); }

    /// Position order. The iterator holds a position and hands out a further reference to
    /// each item, so removing items inside a loop never reads past the end or leaves the loop
    /// variable dangling.
    class const_iterator {
    public:
        /// @{
        /// The iterator's types, as the standard algorithms ask for them.
        using iterator_category = std::input_iterator_tag;
        using value_type = std::shared_ptr<T>;
        using difference_type = std::ptrdiff_t;
        using reference = std::shared_ptr<T>;
        /// @}

        /// An iterator at the end of no collection.
        const_iterator() = default;
        /// A further reference to the item at the iterator's position.
        reference operator*() const { return m_pOwner->m_entries[m_index].item; }
        /// @{
        /// Moves to the next position.
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_index;
            return before;
        }
        /// @}
        /// Whether both are at an end, or at the same position.
        bool operator==(const const_iterator& other) const {
            return AtEnd() == other.AtEnd() && (AtEnd() || m_index == other.m_index);
        }

    private:
        friend KeyedCollection;
        const_iterator(const KeyedCollection* pOwner, std::size_t index)
            : m_pOwner(pOwner), m_index(index) {}
        bool AtEnd() const { return m_pOwner == nullptr || m_index >= m_pOwner->m_entries.size(); }

        const KeyedCollection* m_pOwner = nullptr;
        std::size_t m_index = 0;
    };

    /// The first position, for a range-for loop.
    const_iterator begin() const { return const_iterator(this, 0); }
    /// The end, past the last position.
    const_iterator end() const { return const_iterator(this, m_entries.size()); }

    /// Same content position by position (items compared by value); keys are not compared,
    /// so a copy made by Equals compares equal to its source.
    friend bool operator==(const KeyedCollection& a, const KeyedCollection& b) {
        if (a.m_entries.size() != b.m_entries.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.m_entries.size(); ++i) {
            if (!(*a.m_entries[i].item == *b.m_entries[i].item)) {
                return false;
            }
        }
        return true;
    }

protected:
    KeyedCollection() = default;
    ~KeyedCollection() = default;

    /// The factory operation: a new item in its initial state, added as Add adds it.
    std::shared_ptr<T> AddNew(const std::optional<std::string>& sKey,
                              const std::optional<PositionOrKey>& vBefore,
                              const std::optional<PositionOrKey>& vAfter) {
        return RaisingAs(std::string("::") + Derived::kFactoryName, [&] {
            auto item = std::make_shared<T>();
            Insert(item, sKey, vBefore, vAfter);
            return item;
        });
    }

    /// Appends lCount new items and reads each with readItem(item, number), numbering from 1.
    /// Stops at the first False; the items read so far and the failing one stay.
    template <class ReadItem> bool AppendRead(std::int32_t lCount, ReadItem&& readItem) {
        for (std::int32_t n = 1; n <= lCount; ++n) {
            if (!readItem(*AddNew({}, {}, {}), n)) {
                return false;
            }
        }
        return true;
    }

    /// Writes each item with writeItem(item, position); stops at the first False.
    template <class WriteItem> bool WriteEach(WriteItem&& writeItem) const {
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (!writeItem(*m_entries[i].item, static_cast<std::int32_t>(i + 1))) {
                return false;
            }
        }
        return true;
    }

private:
    struct Entry {
        std::shared_ptr<T> item;
        std::optional<std::string> sKey;
    };

    std::vector<std::shared_ptr<T>> Items() const {
        std::vector<std::shared_ptr<T>> items;
        items.reserve(m_entries.size());
        for (const Entry& entry : m_entries) {
            items.push_back(entry.item);
        }
        return items;
    }

    /// Runs an operation; its failure is raised again under this class's name.
    template <class Operation>
    auto RaisingAs(const std::string& sOperation, Operation&& operation) const {
        try {
            return operation();
        } catch (...) {
            throw ldgr::CurrentError().WithSource(Derived::kClassName + sOperation);
        }
    }

    void Insert(std::shared_ptr<T> item, const std::optional<std::string>& sKey,
                const std::optional<PositionOrKey>& vBefore,
                const std::optional<PositionOrKey>& vAfter) {
        if (item == nullptr) {
            throw model::NoItem();
        }
        if (vBefore && vAfter) {
            throw model::BothNeighbours();
        }
        if (sKey && FindKey(*sKey)) {
            throw model::DuplicateKey(*sKey);
        }
        std::size_t at = m_entries.size();
        if (vBefore) {
            at = Locate(*vBefore);
        } else if (vAfter) {
            at = Locate(*vAfter) + 1;
        }
        m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at),
                         Entry{std::move(item), sKey});
    }

    std::optional<std::size_t> FindKey(const std::string& sKey) const {
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].sKey && model::SameKey(*m_entries[i].sKey, sKey)) {
                return i;
            }
        }
        return std::nullopt;
    }

    std::optional<std::size_t> Find(const PositionOrKey& vKey) const {
        if (const std::int32_t* position = vKey.Position()) {
            if (*position >= 1 && static_cast<std::size_t>(*position) <= m_entries.size()) {
                return static_cast<std::size_t>(*position) - 1;
            }
            return std::nullopt;
        }
        return FindKey(*vKey.Key());
    }

    /// The index of the entry, or the error that says why there is none.
    std::size_t Locate(const PositionOrKey& vKey) const {
        if (const std::optional<std::size_t> index = Find(vKey)) {
            return *index;
        }
        if (const std::int32_t* position = vKey.Position()) {
            throw model::NoSuchPosition(*position, m_entries.size());
        }
        throw model::NoSuchKey(*vKey.Key());
    }

    std::vector<Entry> m_entries;
};

/// A collection that an object owns: created with it, replaceable by another collection (which
/// is then shared with whoever else holds it), never absent.
template <class Collection> class OwnedCollection {
public:
    OwnedCollection() : m_pCollection(std::make_shared<Collection>()) {}

    /// The collection.
    Collection& operator*() const { return *m_pCollection; }

    /// sProperty names the owner's property in the error raised for a null replacement.
    void Replace(std::shared_ptr<Collection> pCollection, const char* sProperty) {
        if (pCollection == nullptr) {
            throw ldgr::Error(ldgr::kObjectNotSet, sProperty);
        }
        m_pCollection = std::move(pCollection);
    }

private:
    std::shared_ptr<Collection> m_pCollection;
};
