// The keyed collections: positions, keys, errors and their sources, enumeration, copies.
#include "config/model/CConfigOptions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Key = std::optional<std::string>;
using Place = std::optional<PositionOrKey>;

// The number and source of the error the operation raises ({0, ""} when it raises none).
template <class Operation> std::pair<std::int32_t, std::string> Raised(Operation&& operation) {
    try {
        operation();
    } catch (const ldgr::Error& error) {
        return {error.Number(), error.Source()};
    }
    return {0, ""};
}

// The shared behaviour, shown on the values collection; an item is told by its text.
class KeyedCollectionTest : public ::testing::Test {
protected:
    // Adds items with the texts, with keys where given.
    void Fill(const std::vector<std::pair<std::string, Key>>& items) {
        for (const auto& [text, key] : items) {
            collection.NewCPreDefinedValue(key)->ConstantText = text;
        }
    }
    std::string Order() const {
        std::string order;
        for (const auto& item : collection) {
            order += item->ConstantText;
        }
        return order;
    }

    CPreDefinedValues collection;
};

TEST_F(KeyedCollectionTest, PlacementByPositionAndKey) {
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
        collection.RemoveAll();
        Fill({{"a", "ka"}, {"b", "kb"}, {"c", "kc"}});
        collection.NewCPreDefinedValue({}, c.before, c.after)->ConstantText = "X";
        EXPECT_EQ(Order(), c.order);
    }
}

TEST_F(KeyedCollectionTest, RefusedAddLeavesCollectionUnchanged) {
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
    Fill({{"a", "ka"}, {"b", std::nullopt}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto add = [&] {
            collection.Add(std::make_shared<CPreDefinedValue>(), c.key, c.before, c.after);
        };
        EXPECT_EQ(Raised(add), std::pair(c.number, std::string("CPreDefinedValues::Add")));
        EXPECT_EQ(Order(), "ab");
        EXPECT_TRUE(collection.Exists("ka"));
    }
    EXPECT_EQ(Raised([&] { collection.Add(nullptr); }).second, "CPreDefinedValues::Add");
    EXPECT_EQ(Order(), "ab");
}

TEST_F(KeyedCollectionTest, LookupByPositionOrKey) {
    Fill({{"a", std::nullopt}, {"b", "Printer 1"}, {"c", "12"}});
    EXPECT_TRUE(collection.Exists("PRINTER 1"));
    EXPECT_TRUE(collection.Exists("12"));
    for (const char* absent : {"1", "3", "", "Printer 1 "}) { // keys only, never positions
        EXPECT_FALSE(collection.Exists(absent)) << absent;
    }
    EXPECT_EQ(collection.Item(3)->ConstantText, "c");
    EXPECT_EQ(collection.Item("printer 1"), collection.Item(2)); // the shared object
    for (const PositionOrKey& missing : {PositionOrKey(0), PositionOrKey(4), PositionOrKey(-1),
                                         PositionOrKey("absent"), PositionOrKey("1")}) {
        EXPECT_EQ(Raised([&] { collection.Item(missing); }).second, "CPreDefinedValues::Item");
    }
}

TEST_F(KeyedCollectionTest, RemoveMovesLaterItemsForward) {
    Fill({{"a", std::nullopt}, {"b", "kb"}, {"c", "kc"}});
    const auto first = collection.Item(1);
    collection.Remove(1);
    EXPECT_EQ(collection.Item(1)->ConstantText, "b");
    EXPECT_EQ(first->ConstantText, "a"); // a removed item lives on while someone holds it
    collection.Remove("KC");
    for (const PositionOrKey& missing : {PositionOrKey(2), PositionOrKey("kc")}) {
        EXPECT_EQ(Raised([&] { collection.Remove(missing); }).second, "CPreDefinedValues::Remove");
    }
    EXPECT_EQ(Order(), "b");
    // The key of a removed item can be given again.
    Fill({{"c", "kc"}});
    EXPECT_EQ(Order(), "bc");
}

TEST_F(KeyedCollectionTest, EnumerationSurvivesRemovalInsideTheLoop) {
    Fill({{"a", std::nullopt}, {"b", std::nullopt}, {"c", std::nullopt}});
    std::string seen;
    for (const auto& item : collection) {
        collection.Remove(1);
        seen += item->ConstantText; // still held by the loop
    }
    // Positions move forward under the loop: the second step lands on the third item.
    EXPECT_EQ(seen, "ac");
    EXPECT_EQ(Order(), "c");
}

TEST_F(KeyedCollectionTest, EqualsMakesIndependentCopiesWithoutKeys) {
    CPreDefinedValues source;
    source.NewCPreDefinedValue("first")->ConstantText = "a";
    source.NewCPreDefinedValue()->ConstantText = "b";
    Fill({{"old", "old"}});

    collection.Equals(source);

    EXPECT_EQ(Order(), "ab");
    EXPECT_TRUE(collection == source);
    EXPECT_FALSE(collection.Exists("first"));
    EXPECT_FALSE(collection.Exists("old"));
    collection.Item(1)->ConstantText = "changed";
    EXPECT_EQ(source.Item(1)->ConstantText, "a");
    EXPECT_FALSE(collection == source);

    // A copy of itself: new objects, the same order.
    const auto before = source.Item(1);
    source.Equals(source);
    EXPECT_NE(source.Item(1), before);
    EXPECT_EQ(source.Item(2)->ConstantText, "b");

    collection.Equals(CPreDefinedValues());
    EXPECT_EQ(collection.Count(), 0);
    EXPECT_EQ(collection.begin(), collection.end());
}

// What differs per collection: the names errors carry, and whether a missing item is an error.
TEST(KeyedCollections, ErrorsNameTheirClassAndOperation) {
    CPrinterGroups groups;
    CCategories categories;
    groups.NewCPrinterGroup("k");
    categories.NewCCategory("k");
    EXPECT_EQ(Raised([&] { groups.NewCPrinterGroup("K"); }).second,
              "CPrinterGroups::NewCPrinterGroup");
    EXPECT_EQ(Raised([&] { categories.NewCCategory("K"); }).second, "CCategories::NewCCategory");
    EXPECT_EQ(Raised([&] { CPreDefinedValues().NewCPreDefinedValue({}, 1); }).second,
              "CPreDefinedValues::NewCPreDefinedValue");
    EXPECT_EQ(Raised([&] { groups.Remove(2); }).second, "CPrinterGroups::Remove");
    EXPECT_EQ(Raised([&] { categories.Remove("x"); }).second, "CCategories::Remove");
    EXPECT_EQ(Raised([&] { groups.Item(2); }).second, "CPrinterGroups::Item");
    EXPECT_EQ(categories.Item(2), nullptr);
    EXPECT_EQ(categories.Item("x"), nullptr);
}

} // namespace
