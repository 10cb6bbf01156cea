// Rectangle lists.
#include "core/RectList.h"

#include "core/Memory.h"

#include <algorithm>

namespace qv {

void AddRect(RectNode** head, int32_t left, int32_t right, int32_t top, int32_t bottom)
{
    auto* node = static_cast<RectNode*>(ProCalloc(1, sizeof(RectNode), "AddRect"));
    if (!node)
        return;
    node->left = left;
    node->top = top;
    node->right = right;
    node->bottom = bottom;
    node->next = *head;
    *head = node;
}

void RemoveRect(RectNode** head, RectNode* node)
{
    for (RectNode** link = head; *link; link = &(*link)->next) {
        if (*link != node)
            continue;
        *link = node->next;
        ProFree(node);
        return;
    }
}

RectNode* SubtractRectFromRegionList(RectNode** head, RectNode* node, int32_t left, int32_t top, int32_t right,
                                     int32_t bottom)
{
    RectNode* following = node->next;
    if (right <= node->left || left >= node->right || bottom <= node->top || top >= node->bottom)
        return following;
    RectNode n = *node;
    left = std::max(left, n.left);
    right = std::min(right, n.right);
    top = std::max(top, n.top);
    bottom = std::min(bottom, n.bottom);
    RemoveRect(head, node);
    // Above and below: the band over the cut's width with its corner pieces; then the two sides.
    for (auto [bandTop, bandBottom] : {std::pair{n.top, top}, std::pair{bottom, n.bottom}}) {
        if (bandTop >= bandBottom)
            continue;
        if (n.left < left)
            AddRect(head, n.left, left, bandTop, bandBottom);
        AddRect(head, left, right, bandTop, bandBottom);
        if (right < n.right)
            AddRect(head, right, n.right, bandTop, bandBottom);
    }
    if (n.left < left)
        AddRect(head, n.left, left, top, bottom);
    if (right < n.right)
        AddRect(head, right, n.right, top, bottom);
    return following;
}

void FreeRectList(RectNode** head)
{
    while (*head) {
        RectNode* next = (*head)->next;
        ProFree(*head);
        *head = next;
    }
}

int32_t CountRects(const RectNode* head)
{
    int32_t n = 0;
    for (; head; head = head->next)
        ++n;
    return n;
}

} // namespace qv
