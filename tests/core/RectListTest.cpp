// Tests of rectangle lists and cutting rectangles out of them.
#include "core/RectList.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <vector>

namespace qv {
namespace {

using Box = std::array<int32_t, 4>; // left, top, right, bottom

std::vector<Box> Boxes(const RectNode* head)
{
    std::vector<Box> v;
    for (; head; head = head->next)
        v.push_back({head->left, head->top, head->right, head->bottom});
    std::sort(v.begin(), v.end());
    return v;
}

int64_t TotalArea(const std::vector<Box>& boxes)
{
    int64_t a = 0;
    for (const Box& b : boxes)
        a += int64_t(b[2] - b[0]) * (b[3] - b[1]);
    return a;
}

struct CutCase {
    const char* name;
    Box cut;
    std::vector<Box> pieces;
};

TEST(RectList, SubtractingCutsANodeIntoThePiecesAroundTheCut)
{
    const CutCase cases[] = {
        {"apart", {200, 0, 300, 50}, {{0, 0, 100, 100}}},
        {"touching edge only", {100, 0, 200, 100}, {{0, 0, 100, 100}}},
        {"covering", {-10, -10, 110, 110}, {}},
        {"middle", {40, 40, 60, 60},
         {{0, 0, 40, 40}, {0, 40, 40, 60}, {0, 60, 40, 100}, {40, 0, 60, 40}, {40, 60, 60, 100}, {60, 0, 100, 40},
          {60, 40, 100, 60}, {60, 60, 100, 100}}},
        {"left strip", {-5, -5, 30, 105}, {{30, 0, 100, 100}}},
        {"top right corner", {50, -5, 105, 50}, {{0, 0, 50, 50}, {0, 50, 50, 100}, {50, 50, 100, 100}}},
    };
    for (const CutCase& c : cases) {
        RectNode* list = nullptr;
        AddRect(&list, 500, 600, 500, 600); // a node that follows and is never touched
        AddRect(&list, 0, 100, 0, 100);
        RectNode* following = SubtractRectFromRegionList(&list, list, c.cut[0], c.cut[1], c.cut[2], c.cut[3]);
        ASSERT_NE(following, nullptr) << c.name;
        EXPECT_EQ(following->left, 500) << c.name;
        std::vector<Box> got = Boxes(list);
        got.erase(std::find(got.begin(), got.end(), Box{500, 500, 600, 600}));
        std::vector<Box> want = c.pieces;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.name;
        FreeRectList(&list);
        EXPECT_EQ(list, nullptr);
    }
}

TEST(RectList, PiecesNeverOverlapAndKeepTheUncutArea)
{
    RectNode* list = nullptr;
    AddRect(&list, 0, 1000, 0, 800);
    const Box cuts[] = {{100, 100, 300, 400}, {250, 50, 700, 200}, {600, 500, 1100, 900}, {0, 700, 50, 800}};
    for (const Box& c : cuts)
        for (RectNode* n = list; n;)
            n = SubtractRectFromRegionList(&list, n, c[0], c[1], c[2], c[3]);
    std::vector<Box> boxes = Boxes(list);
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            const Box &a = boxes[i], &b = boxes[j];
            EXPECT_FALSE(a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3]);
        }
    // The area less the union of the cuts (the first two share 5000; the third is clipped).
    EXPECT_EQ(TotalArea(boxes), 800000 - (60000 + 67500 - 5000 + 120000 + 5000));
    FreeRectList(&list);
}

TEST(RectList, RemoveRectUnlinksOnlyThatNode)
{
    RectNode* list = nullptr;
    AddRect(&list, 0, 1, 0, 1);
    AddRect(&list, 2, 3, 2, 3);
    AddRect(&list, 4, 5, 4, 5);
    RemoveRect(&list, list->next);
    EXPECT_EQ(Boxes(list), (std::vector<Box>{{0, 0, 1, 1}, {4, 4, 5, 5}}));
    RectNode stranger;
    RemoveRect(&list, &stranger);
    EXPECT_EQ(CountRects(list), 2);
    FreeRectList(&list);
}

} // namespace
} // namespace qv
