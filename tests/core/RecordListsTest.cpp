// Tests of the singly linked lists of records beside the main block.
#include "core/RecordLists.h"

#include "core/Memory.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(RecordLists, RemoveListNodeUnlinksHeadOrInnerNodesOnly)
{
    RecordListNode* head = nullptr;
    RecordListNode* nodes[3];
    for (int i = 2; i >= 0; --i) {
        nodes[i] = NewListNode(nullptr, uint32_t(i));
        nodes[i]->next = head;
        head = nodes[i];
    }
    RecordListNode stranger;
    EXPECT_FALSE(RemoveListNode(&head, &stranger));
    EXPECT_FALSE(RemoveListNode(nullptr, nodes[0]));
    EXPECT_FALSE(RemoveListNode(&head, nullptr));

    EXPECT_TRUE(RemoveListNode(&head, nodes[0])); // the head: the second becomes the head
    EXPECT_EQ(head, nodes[1]);
    EXPECT_TRUE(RemoveListNode(&head, nodes[2])); // an inner (last) node
    EXPECT_EQ(head, nodes[1]);
    EXPECT_EQ(head->next, nullptr);
    EXPECT_TRUE(RemoveListNode(&head, nodes[1]));
    EXPECT_EQ(head, nullptr);
    RecordListNode* empty = nullptr;
    EXPECT_FALSE(RemoveListNode(&empty, nodes[1]));
}

TEST(RecordLists, FreeItemListFreesNodesAndTheirBlocks)
{
    for (int i = 0; i < 3; ++i) {
        RecordListNode* node = NewListNode(static_cast<uint8_t*>(ProCalloc(1, 32, "values")), 0);
        node->next = DataMiningValueList;
        DataMiningValueList = node;
    }
    FreeItemList(); // the sanitizer build checks that nothing leaks
    EXPECT_EQ(DataMiningValueList, nullptr);
    FreeItemList();

    int32_t count = 2;
    RecordListNode* list = NewListNode(nullptr, 0);
    FreeRecordList(&list, &count);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0);
}
