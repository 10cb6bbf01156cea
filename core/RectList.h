// Lists of rectangles from which other rectangles are cut: singly linked nodes in guarded memory,
// held by a head pointer. The window arrangement finds free screen areas with them.
#pragma once

#include <cstdint>

namespace qv {

struct RectNode {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    RectNode* next = nullptr;
};

// Pushes a new node at the head (note the argument order: left, right, top, bottom).
void AddRect(RectNode** head, int32_t left, int32_t right, int32_t top, int32_t bottom);
// Unlinks the node and frees it; a node not in the list is left alone.
void RemoveRect(RectNode** head, RectNode* node);
// Cuts the rectangle out of the node: when they overlap the node is replaced by up to eight pieces
// around the cut (pushed at the head). Answers the node that followed the given one.
RectNode* SubtractRectFromRegionList(RectNode** head, RectNode* node, int32_t left, int32_t top, int32_t right,
                                     int32_t bottom);
// Frees every node.
void FreeRectList(RectNode** head);
int32_t CountRects(const RectNode* head);

} // namespace qv
