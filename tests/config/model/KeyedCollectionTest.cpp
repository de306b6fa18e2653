// The keyed collections: positions, keys, errors and their sources, enumeration, copies.
#include "ledgerline/config/model/CConfigOptions.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
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

// Each case: before, after, then the order that results.
TEST_F(KeyedCollectionTest, PlacementByPositionAndKey) {
    const std::tuple<Place, Place, const char*> cases[] = {
        {{}, {}, "abcX"}, {1, {}, "Xabc"},    {3, {}, "abXc"},    {{}, 3, "abcX"},
        {{}, 1, "aXbc"},  {"KB", {}, "aXbc"}, {{}, "kc", "abcX"},
    };
    for (const auto& [before, after, order] : cases) {
        SCOPED_TRACE(order);
        collection.RemoveAll();
        Fill({{"a", "ka"}, {"b", "kb"}, {"c", "kc"}});
        collection.NewCPreDefinedValue({}, before, after)->ConstantText = "X";
        EXPECT_EQ(Order(), order);
    }
}

// Each case: key, before, after, then the error raised.
TEST_F(KeyedCollectionTest, RefusedAddLeavesCollectionUnchanged) {
    const std::tuple<Key, Place, Place, std::int32_t> cases[] = {
        {"KA", {}, {}, 457}, {{}, 0, {}, 9}, {{}, {}, 3, 9}, {{}, "nope", {}, 5}, {{}, 1, 2, 5},
    };
    Fill({{"a", "ka"}, {"b", std::nullopt}});
    for (const auto& [key, before, after, number] : cases) {
        SCOPED_TRACE(number);
        const auto add = [&, &key = key, &before = before, &after = after] {
            collection.Add(std::make_shared<CPreDefinedValue>(), key, before, after);
        };
        EXPECT_EQ(Raised(add), std::pair(number, std::string("CPreDefinedValues::Add")));
        EXPECT_EQ(Order(), "ab");
        EXPECT_TRUE(collection.Exists("ka"));
    }
}

TEST_F(KeyedCollectionTest, LookupAndRemoveByPositionOrKey) {
    Fill({{"a", std::nullopt}, {"b", "Printer 1"}, {"c", "12"}});
    EXPECT_TRUE(collection.Exists("PRINTER 1"));
    for (const char* absent : {"1", "", "Printer 1 "}) { // keys only, never positions
        EXPECT_FALSE(collection.Exists(absent)) << absent;
    }
    EXPECT_EQ(collection.Item("printer 1"), collection.Item(2)); // the shared object
    for (const PositionOrKey& missing : {PositionOrKey(0), PositionOrKey(4), PositionOrKey("1")}) {
        EXPECT_EQ(Raised([&] { collection.Item(missing); }).second, "CPreDefinedValues::Item");
    }
    // Removing moves later items forward; the key of a removed item can be given again.
    collection.Remove(1);
    collection.Remove("PRINTER 1");
    for (const PositionOrKey& missing : {PositionOrKey(2), PositionOrKey("printer 1")}) {
        EXPECT_EQ(Raised([&] { collection.Remove(missing); }).second, "CPreDefinedValues::Remove");
    }
    EXPECT_EQ(Order(), "c");
    Fill({{"b", "printer 1"}});
    EXPECT_EQ(Order(), "cb");
}

TEST_F(KeyedCollectionTest, EqualsMakesIndependentCopiesWithoutKeys) {
    CPreDefinedValues source;
    source.NewCPreDefinedValue("first")->ConstantText = "a";
    source.NewCPreDefinedValue()->ConstantText = "b";
    Fill({{"old", "old"}});

    collection.Equals(source);

    EXPECT_EQ(Order(), "ab");
    EXPECT_FALSE(collection.Exists("first"));
    EXPECT_FALSE(collection.Exists("old"));
    collection.Item(1)->ConstantText = "changed";
    EXPECT_EQ(source.Item(1)->ConstantText, "a");

    collection.Equals(CPreDefinedValues());
    EXPECT_EQ(collection.Count(), 0);
}

// What differs per collection: whether a missing item is an error.
TEST(KeyedCollections, MissingGroupIsAnErrorMissingCategoryIsNothing) {
    EXPECT_EQ(Raised([] { CPrinterGroups().Item(1); }).second, "CPrinterGroups::Item");
    EXPECT_EQ(CCategories().Item(1), nullptr);
    EXPECT_EQ(CCategories().Item("x"), nullptr);
}

} // namespace
