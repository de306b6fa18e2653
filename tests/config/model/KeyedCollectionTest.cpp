// The keyed collections: positions, keys, neighbours, errors and their sources, shared items,
// enumeration and deep copies, for each of the three collection classes.
#include "config/model/CConfigOptions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// What differs per class: how an item is told apart, and the factory.
void Tag(CPrinterGroup& item, const std::string& tag) {
    item.GroupName = tag;
}
void Tag(CCategory& item, const std::string& tag) {
    item.CategoryName = tag;
}
void Tag(CPreDefinedValue& item, const std::string& tag) {
    item.ConstantText = tag;
}
std::string TagOf(const CPrinterGroup& item) {
    return item.GroupName;
}
std::string TagOf(const CCategory& item) {
    return item.CategoryName;
}
std::string TagOf(const CPreDefinedValue& item) {
    return item.ConstantText;
}

template <class Collection>
auto New(Collection& c, std::optional<std::string> key = {},
         std::optional<PositionOrKey> before = {}, std::optional<PositionOrKey> after = {}) {
    if constexpr (std::is_same_v<Collection, CPrinterGroups>) {
        return c.NewCPrinterGroup(key, before, after);
    } else if constexpr (std::is_same_v<Collection, CCategories>) {
        return c.NewCCategory(key, before, after);
    } else {
        return c.NewCPreDefinedValue(key, before, after);
    }
}

template <class Collection> struct Names;
template <> struct Names<CPrinterGroups> {
    static constexpr const char* kClass = "CPrinterGroups";
    static constexpr const char* kFactory = "NewCPrinterGroup";
};
template <> struct Names<CCategories> {
    static constexpr const char* kClass = "CCategories";
    static constexpr const char* kFactory = "NewCCategory";
};
template <> struct Names<CPreDefinedValues> {
    static constexpr const char* kClass = "CPreDefinedValues";
    static constexpr const char* kFactory = "NewCPreDefinedValue";
};

template <class Collection> class KeyedCollectionTest : public ::testing::Test {
protected:
    using Item = typename std::decay_t<decltype(*New(std::declval<Collection&>()))>;

    // Adds items tagged with the texts, with keys where given.
    void Fill(const std::vector<std::pair<std::string, std::optional<std::string>>>& items) {
        for (const auto& [tag, key] : items) {
            Tag(*New(collection, key), tag);
        }
    }
    std::string Order() const {
        std::string order;
        for (const auto& item : collection) {
            order += TagOf(*item);
        }
        return order;
    }
    // The source of the error the operation raises ("" when it raises none).
    template <class Operation> std::string SourceOf(Operation&& operation) {
        try {
            operation();
        } catch (const ldgr::Error& error) {
            return error.Source();
        }
        return "";
    }
    std::string Source(const char* operation) const {
        return std::string(Names<Collection>::kClass) + "::" + operation;
    }

    Collection collection;
};

using CollectionTypes = ::testing::Types<CPrinterGroups, CCategories, CPreDefinedValues>;
TYPED_TEST_SUITE(KeyedCollectionTest, CollectionTypes);

TYPED_TEST(KeyedCollectionTest, NewCollectionIsEmptyAndStaysEmptyAfterRemoveAll) {
    EXPECT_EQ(this->collection.Count(), 0);
    this->collection.RemoveAll();
    EXPECT_EQ(this->collection.Count(), 0);
    EXPECT_EQ(this->collection.begin(), this->collection.end());
}

TYPED_TEST(KeyedCollectionTest, PlacementByPositionAndKey) {
    struct Case {
        const char* name;
        std::optional<PositionOrKey> before;
        std::optional<PositionOrKey> after;
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
        Tag(*New(this->collection, std::nullopt, c.before, c.after), "X");
        EXPECT_EQ(this->Order(), c.order);
        EXPECT_EQ(this->collection.Count(), 4);
    }
}

TYPED_TEST(KeyedCollectionTest, RefusedAddLeavesCollectionUnchanged) {
    using Item = typename TestFixture::Item;
    struct Case {
        const char* name;
        std::optional<std::string> key;
        std::optional<PositionOrKey> before;
        std::optional<PositionOrKey> after;
        std::int32_t number;
    };
    const Case cases[] = {
        {"key differing only in case", "KA", {}, {}, 457},
        {"before position 0", {}, 0, {}, 9},
        {"after Count + 1", {}, {}, 3, 9},
        {"before absent key", {}, "nope", {}, 5},
        {"both neighbours", {}, 1, 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        this->collection.RemoveAll();
        this->Fill({{"a", "ka"}, {"b", std::nullopt}});
        for (const char* operation : {"Add", Names<TypeParam>::kFactory}) {
            try {
                if (std::string(operation) == "Add") {
                    this->collection.Add(std::make_shared<Item>(), c.key, c.before, c.after);
                } else {
                    New(this->collection, c.key, c.before, c.after);
                }
                ADD_FAILURE() << operation << " accepted it";
            } catch (const ldgr::Error& error) {
                EXPECT_EQ(error.Number(), c.number);
                EXPECT_EQ(error.Source(), this->Source(operation));
            }
            EXPECT_EQ(this->Order(), "ab");
            EXPECT_TRUE(this->collection.Exists("ka"));
        }
    }
}

TYPED_TEST(KeyedCollectionTest, AddingNoItemIsRefused) {
    EXPECT_EQ(this->SourceOf([&] { this->collection.Add(nullptr); }), this->Source("Add"));
    EXPECT_EQ(this->collection.Count(), 0);
}

TYPED_TEST(KeyedCollectionTest, ExistsLooksUpKeysOnly) {
    this->Fill({{"a", std::nullopt}, {"b", "Printer 1"}, {"c", "12"}});
    EXPECT_TRUE(this->collection.Exists("printer 1"));
    EXPECT_TRUE(this->collection.Exists("PRINTER 1"));
    EXPECT_TRUE(this->collection.Exists("12"));
    EXPECT_FALSE(this->collection.Exists("1")); // position 1 exists, but no key "1"
    EXPECT_FALSE(this->collection.Exists("3"));
    EXPECT_FALSE(this->collection.Exists(""));
    EXPECT_FALSE(this->collection.Exists("Printer 1 "));
}

TYPED_TEST(KeyedCollectionTest, ItemByPositionOrKeyIsTheSharedObject) {
    this->Fill({{"a", std::nullopt}, {"b", "Key"}, {"c", std::nullopt}});
    EXPECT_EQ(TagOf(*this->collection.Item(1)), "a");
    EXPECT_EQ(TagOf(*this->collection.Item(3)), "c");
    EXPECT_EQ(this->collection.Item("kEY"), this->collection.Item(2));
    Tag(*this->collection.Item(2), "changed");
    EXPECT_EQ(this->Order(), "achangedc");
}

TYPED_TEST(KeyedCollectionTest, ItemThatDoesNotExist) {
    this->Fill({{"a", "ka"}, {"b", std::nullopt}});
    for (const PositionOrKey& missing : {PositionOrKey(0), PositionOrKey(3), PositionOrKey(-1),
                                         PositionOrKey("absent"), PositionOrKey("1")}) {
        if constexpr (std::is_same_v<TypeParam, CCategories>) {
            EXPECT_EQ(this->collection.Item(missing), nullptr);
        } else {
            EXPECT_EQ(this->SourceOf([&] { this->collection.Item(missing); }),
                      this->Source("Item"));
        }
    }
}

TYPED_TEST(KeyedCollectionTest, RemoveMovesLaterItemsForward) {
    this->Fill({{"a", std::nullopt}, {"b", "kb"}, {"c", "kc"}});
    const auto first = this->collection.Item(1);
    this->collection.Remove(1);
    EXPECT_EQ(this->collection.Count(), 2);
    EXPECT_EQ(TagOf(*this->collection.Item(1)), "b");
    EXPECT_EQ(TagOf(*first), "a"); // a removed item lives on while someone holds it
    this->collection.Remove("KC");
    EXPECT_EQ(this->Order(), "b");
    EXPECT_FALSE(this->collection.Exists("kc"));
    // The key of a removed item can be given again.
    Tag(*New(this->collection, "kc"), "c");
    EXPECT_EQ(this->Order(), "bc");
}

TYPED_TEST(KeyedCollectionTest, RemoveOfAbsentEntryRaises) {
    this->Fill({{"a", "ka"}});
    for (const PositionOrKey& missing : {PositionOrKey(2), PositionOrKey("kb")}) {
        EXPECT_EQ(this->SourceOf([&] { this->collection.Remove(missing); }),
                  this->Source("Remove"));
    }
    EXPECT_EQ(this->Order(), "a");
}

TYPED_TEST(KeyedCollectionTest, EnumerationSurvivesRemovalInsideTheLoop) {
    this->Fill({{"a", std::nullopt}, {"b", std::nullopt}, {"c", std::nullopt}});
    std::string seen;
    for (const auto& item : this->collection) {
        this->collection.Remove(1);
        seen += TagOf(*item); // still held by the loop
    }
    // Positions move forward under the loop: the second step lands on the third item.
    EXPECT_EQ(seen, "ac");
    EXPECT_EQ(this->Order(), "c");
}

TYPED_TEST(KeyedCollectionTest, EqualsMakesIndependentCopiesWithoutKeys) {
    TypeParam source;
    Tag(*New(source, "first"), "a");
    Tag(*New(source), "b");
    this->Fill({{"old", "old"}});

    this->collection.Equals(source);

    EXPECT_EQ(this->Order(), "ab");
    EXPECT_TRUE(this->collection == source);
    EXPECT_FALSE(this->collection.Exists("first"));
    EXPECT_FALSE(this->collection.Exists("old"));
    EXPECT_NE(this->collection.Item(1), source.Item(1));
    Tag(*this->collection.Item(1), "changed");
    EXPECT_EQ(TagOf(*source.Item(1)), "a");
    EXPECT_TRUE(source.Exists("first"));
}

TYPED_TEST(KeyedCollectionTest, EqualsFromEmptyOrFromItself) {
    this->Fill({{"a", "ka"}, {"b", std::nullopt}});
    const auto before = this->collection.Item(1);
    this->collection.Equals(this->collection);
    EXPECT_EQ(this->Order(), "ab");
    EXPECT_NE(this->collection.Item(1), before);
    EXPECT_FALSE(this->collection.Exists("ka"));

    this->collection.Equals(TypeParam());
    EXPECT_EQ(this->collection.Count(), 0);
}

} // namespace
