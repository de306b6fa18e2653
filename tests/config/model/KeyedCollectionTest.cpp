// The three keyed collections: positions, keys, errors and their sources, enumeration, copies.
#include "config/model/CConfigOptions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Key = std::optional<std::string>;
using Place = std::optional<PositionOrKey>;

// What differs per class: its names, its factory, and the text that tells its items apart.
template <class Collection> struct Traits;
template <> struct Traits<CPrinterGroups> {
    static constexpr const char* kClass = "CPrinterGroups";
    static constexpr const char* kFactory = "NewCPrinterGroup";
    static auto New(CPrinterGroups& c, Key key = {}, Place before = {}, Place after = {}) {
        return c.NewCPrinterGroup(key, before, after);
    }
    static std::string& Tag(CPrinterGroup& item) { return item.GroupName; }
};
template <> struct Traits<CCategories> {
    static constexpr const char* kClass = "CCategories";
    static constexpr const char* kFactory = "NewCCategory";
    static auto New(CCategories& c, Key key = {}, Place before = {}, Place after = {}) {
        return c.NewCCategory(key, before, after);
    }
    static std::string& Tag(CCategory& item) { return item.CategoryName; }
};
template <> struct Traits<CPreDefinedValues> {
    static constexpr const char* kClass = "CPreDefinedValues";
    static constexpr const char* kFactory = "NewCPreDefinedValue";
    static auto New(CPreDefinedValues& c, Key key = {}, Place before = {}, Place after = {}) {
        return c.NewCPreDefinedValue(key, before, after);
    }
    static std::string& Tag(CPreDefinedValue& item) { return item.ConstantText; }
};

template <class Collection> class KeyedCollectionTest : public ::testing::Test {
protected:
    using T = Traits<Collection>;

    // Adds items tagged with the texts, with keys where given.
    void Fill(const std::vector<std::pair<std::string, Key>>& items) {
        for (const auto& [tag, key] : items) {
            Tag(New(key)) = tag;
        }
    }
    std::string Order() const {
        std::string order;
        for (const auto& item : collection) {
            order += Tag(item);
        }
        return order;
    }
    // The number and source of the error the operation raises ({0, ""} when it raises none).
    template <class Operation>
    static std::pair<std::int32_t, std::string> Raised(Operation&& operation) {
        try {
            operation();
        } catch (const ldgr::Error& error) {
            return {error.Number(), error.Source()};
        }
        return {0, ""};
    }
    static std::string Source(const char* operation) {
        return std::string(T::kClass) + "::" + operation;
    }

    static std::string& Tag(const auto& item) { return T::Tag(*item); }
    auto New(Key key = {}, Place before = {}, Place after = {}) {
        return T::New(collection, key, before, after);
    }

    Collection collection;
};

using CollectionTypes = ::testing::Types<CPrinterGroups, CCategories, CPreDefinedValues>;
TYPED_TEST_SUITE(KeyedCollectionTest, CollectionTypes);

TYPED_TEST(KeyedCollectionTest, PlacementByPositionAndKey) {
    struct Case {
        const char* name;
        Place before;
        Place after;
        const char* order;
    };
    const Case cases[] = {
        {"appended", {}, {}, "abcX"},    {"before 1", 1, {}, "Xabc"},
        {"before 3", 3, {}, "abXc"},     {"after Count", {}, 3, "abcX"},
        {"after 1", {}, 1, "aXbc"},      {"before key in other case", "KB", {}, "aXbc"},
        {"after key", {}, "kc", "abcX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        this->collection.RemoveAll();
        this->Fill({{"a", "ka"}, {"b", "kb"}, {"c", "kc"}});
        this->Tag(this->New({}, c.before, c.after)) = "X";
        EXPECT_EQ(this->Order(), c.order);
    }
}

TYPED_TEST(KeyedCollectionTest, RefusedAddLeavesCollectionUnchanged) {
    using Item = std::decay_t<decltype(*this->New())>;
    struct Case {
        const char* name;
        Key key;
        Place before;
        Place after;
        std::int32_t number;
    };
    const Case cases[] = {
        {"key differing only in case", "KA", {}, {}, 457},
        {"before position 0", {}, 0, {}, 9},
        {"after Count + 1", {}, {}, 3, 9},
        {"before absent key", {}, "nope", {}, 5},
        {"both neighbours", {}, 1, 2, 5},
    };
    this->Fill({{"a", "ka"}, {"b", std::nullopt}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto add = [&] {
            this->collection.Add(std::make_shared<Item>(), c.key, c.before, c.after);
        };
        EXPECT_EQ(this->Raised(add), std::pair(c.number, this->Source("Add")));
        EXPECT_EQ(this->Order(), "ab");
        EXPECT_TRUE(this->collection.Exists("ka"));
    }
    EXPECT_EQ(this->Raised([&] { this->New("KA"); }).second,
              this->Source(Traits<TypeParam>::kFactory));
    EXPECT_EQ(this->Raised([&] { this->collection.Add(nullptr); }).second, this->Source("Add"));
    EXPECT_EQ(this->Order(), "ab");
}

TYPED_TEST(KeyedCollectionTest, LookupByPositionOrKey) {
    this->Fill({{"a", std::nullopt}, {"b", "Printer 1"}, {"c", "12"}});
    EXPECT_TRUE(this->collection.Exists("PRINTER 1"));
    EXPECT_TRUE(this->collection.Exists("12"));
    for (const char* absent : {"1", "3", "", "Printer 1 "}) { // keys only, never positions
        EXPECT_FALSE(this->collection.Exists(absent)) << absent;
    }
    EXPECT_EQ(this->Tag(this->collection.Item(3)), "c");
    EXPECT_EQ(this->collection.Item("printer 1"), this->collection.Item(2)); // the shared object
    for (const PositionOrKey& missing : {PositionOrKey(0), PositionOrKey(4), PositionOrKey(-1),
                                         PositionOrKey("absent"), PositionOrKey("1")}) {
        if constexpr (std::is_same_v<TypeParam, CCategories>) {
            EXPECT_EQ(this->collection.Item(missing), nullptr);
        } else {
            EXPECT_EQ(this->Raised([&] { this->collection.Item(missing); }).second,
                      this->Source("Item"));
        }
    }
}

TYPED_TEST(KeyedCollectionTest, RemoveMovesLaterItemsForward) {
    this->Fill({{"a", std::nullopt}, {"b", "kb"}, {"c", "kc"}});
    const auto first = this->collection.Item(1);
    this->collection.Remove(1);
    EXPECT_EQ(this->Tag(this->collection.Item(1)), "b");
    EXPECT_EQ(this->Tag(first), "a"); // a removed item lives on while someone holds it
    this->collection.Remove("KC");
    for (const PositionOrKey& missing : {PositionOrKey(2), PositionOrKey("kc")}) {
        EXPECT_EQ(this->Raised([&] { this->collection.Remove(missing); }).second,
                  this->Source("Remove"));
    }
    EXPECT_EQ(this->Order(), "b");
    // The key of a removed item can be given again.
    this->Tag(this->New("kc")) = "c";
    EXPECT_EQ(this->Order(), "bc");
}

TYPED_TEST(KeyedCollectionTest, EnumerationSurvivesRemovalInsideTheLoop) {
    this->Fill({{"a", std::nullopt}, {"b", std::nullopt}, {"c", std::nullopt}});
    std::string seen;
    for (const auto& item : this->collection) {
        this->collection.Remove(1);
        seen += this->Tag(item); // still held by the loop
    }
    // Positions move forward under the loop: the second step lands on the third item.
    EXPECT_EQ(seen, "ac");
    EXPECT_EQ(this->Order(), "c");
}

TYPED_TEST(KeyedCollectionTest, EqualsMakesIndependentCopiesWithoutKeys) {
    TypeParam source;
    this->Tag(Traits<TypeParam>::New(source, "first")) = "a";
    this->Tag(Traits<TypeParam>::New(source)) = "b";
    this->Fill({{"old", "old"}});

    this->collection.Equals(source);

    EXPECT_EQ(this->Order(), "ab");
    EXPECT_TRUE(this->collection == source);
    EXPECT_FALSE(this->collection.Exists("first"));
    EXPECT_FALSE(this->collection.Exists("old"));
    this->Tag(this->collection.Item(1)) = "changed";
    EXPECT_EQ(this->Tag(source.Item(1)), "a");
    EXPECT_FALSE(this->collection == source);

    // A copy of itself: new objects, the same order.
    const auto before = source.Item(1);
    source.Equals(source);
    EXPECT_NE(source.Item(1), before);
    EXPECT_EQ(this->Tag(source.Item(2)), "b");

    this->collection.Equals(TypeParam());
    EXPECT_EQ(this->collection.Count(), 0);
    EXPECT_EQ(this->collection.begin(), this->collection.end());
}

} // namespace
