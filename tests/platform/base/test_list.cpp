// The walk rules of TList, through both ways of walking it.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/list.h"

using plat::TList;

namespace {

struct WalkCase {
    const char* name;
    std::vector<int> start;
    // Runs for each visited value; may change the list.
    std::function<void(TList<int>&, int)> body;
    std::vector<int> visited, after;
};

std::vector<int> Walk(TList<int>& l, bool rangeFor, const std::function<void(TList<int>&, int)>& body) {
    std::vector<int> seen;
    auto visit = [&](int v) {
        seen.push_back(v);
        body(l, v);
    };
    if (rangeFor) {
        for (int v : l) visit(v);
    } else {
        l.ForEach(visit);
    }
    return seen;
}

const std::vector<WalkCase>& Cases() {
    static const std::vector<WalkCase> cases = {
        {"plain", {1, 2, 3}, [](TList<int>&, int) {}, {1, 2, 3}, {1, 2, 3}},
        {"remove current", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 2) l.Remove(2); }, {1, 2, 3}, {1, 3}},
        {"remove every one", {1, 2, 3}, [](TList<int>& l, int v) { l.Remove(v); }, {1, 2, 3}, {}},
        {"remove the next", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 1) l.Remove(2); }, {1, 3}, {1, 3}},
        {"remove a later one", {1, 2, 3, 4}, [](TList<int>& l, int v) { if (v == 1) l.Remove(3); }, {1, 2, 4}, {1, 2, 4}},
        {"remove the last from the first", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 1) l.Remove(3); }, {1, 2}, {1, 2}},
        {"append in the middle", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 1) l.AddLast(4); }, {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"appended ones append", {1, 2}, [](TList<int>& l, int v) { if (v < 4 && v != 2) l.AddLast(v + 2); },
         {1, 2, 3}, {1, 2, 3, 5}},
        {"append at the last", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 3) l.AddLast(4); }, {1, 2, 3}, {1, 2, 3, 4}},
        {"add first", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 2) l.AddFirst(0); }, {1, 2, 3}, {0, 1, 2, 3}},
        {"remove current, then append", {1, 2, 3},
         [](TList<int>& l, int v) { if (v == 2) { l.Remove(2); l.AddLast(4); } }, {1, 2, 3, 4}, {1, 3, 4}},
        {"remove current and append at the last", {1, 2, 3},
         [](TList<int>& l, int v) { if (v == 3) { l.Remove(3); l.AddLast(4); } }, {1, 2, 3}, {1, 2, 4}},
        // The fetched next is gone, but the list grew behind the current one.
        {"remove the rest, then append", {1, 2, 3},
         [](TList<int>& l, int v) { if (v == 1) { l.Remove(2); l.Remove(3); l.AddLast(4); } }, {1, 4}, {1, 4}},
        {"clear", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 1) l.Clear(); }, {1}, {}},
        {"clear at the last", {1, 2, 3}, [](TList<int>& l, int v) { if (v == 3) l.Clear(); }, {1, 2, 3}, {}},
    };
    return cases;
}

}  // namespace

TEST(TList, WalkRules) {
    for (bool rangeFor : {false, true}) {
        for (const WalkCase& c : Cases()) {
            SCOPED_TRACE(std::string(c.name) + (rangeFor ? " (range-for)" : " (ForEach)"));
            TList<int> l;
            for (int v : c.start) l.AddLast(v);
            EXPECT_EQ(Walk(l, rangeFor, c.body), c.visited);
            EXPECT_EQ(l.ToArray(), c.after);
            EXPECT_EQ(l.Count(), static_cast<int>(c.after.size()));
            // The links stay consistent: a second walk sees the same.
            EXPECT_EQ(Walk(l, rangeFor, [](TList<int>&, int) {}), c.after);
        }
    }
}

TEST(TList, Operations) {
    TList<int> l;
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.First(), 0);
    EXPECT_EQ(l.Last(), 0);
    plat::ListAddLast(l, 2);
    plat::ListAddFirst(l, 1);
    auto link3 = plat::ListAddLast(l, 3);
    plat::ListAddFirst(l, 0);
    EXPECT_EQ(plat::ListToArray(l), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(l.First(), 0);
    EXPECT_EQ(l.Last(), 3);
    EXPECT_EQ(l.ValueAtIndex(2), 2);
    EXPECT_EQ(l.ValueAtIndex(9), 0);
    EXPECT_TRUE(l.Contains(2));

    plat::ReverseList(l);
    EXPECT_EQ(l.ToArray(), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(l.Last(), 0);

    EXPECT_TRUE(plat::ListRemove(l, 1));
    EXPECT_FALSE(plat::ListRemove(l, 1));
    EXPECT_EQ(plat::CountList(l), 3);

    // The link handed out before Reverse belongs to the old chain: removing
    // it again touches nothing.
    l.RemoveLink(link3);
    EXPECT_EQ(l.ToArray(), (std::vector<int>{3, 2, 0}));
    auto link5 = l.AddLast(5);
    l.RemoveLink(link5);
    l.RemoveLink(link5);
    EXPECT_EQ(l.ToArray(), (std::vector<int>{3, 2, 0}));
    EXPECT_EQ(l.Last(), 0);

    plat::ClearList(l);
    EXPECT_EQ(l.Count(), 0);
    l.AddLast(7);
    EXPECT_EQ(l.ToArray(), std::vector<int>{7});
}

TEST(TList, LongChainsFreeWithoutDeepRecursion) {
    // A kept link of a cleared list owns the rest of the old chain.
    TList<int>::LinkPtr kept;
    {
        TList<int> l;
        for (int i = 0; i < 1000000; ++i) {
            auto link = l.AddLast(i);
            if (i == 0) kept = link;
        }
        l.RemoveLink(kept);
        l.Clear();
    }
    kept.reset();
    SUCCEED();
}
