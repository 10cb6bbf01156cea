// Delete-all by setting and the keyboard ring over the drawing objects of several panes.
#include "charts/DrawingObjectEdits.h"

#include "charts/DrawingObjectHits.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Two panes: the price pane with objects of settings 0, 1 and 0+1, an add-on window with a text box
// of setting 0 and a deleted line of setting 0.
class DrawingObjectEdits : public ::testing::Test {
protected:
    DrawingObjectEdits()
    {
        onlyFirst = Add(price, 0x0001);
        onlySecond = Add(price, 0x0002);
        both = Add(price, 0x0003);
        text = AddTextObject(addOn);
        SetObjectSettingsMask(*text, 0x0001);
        text->flags |= 1;
        deleted = Add(addOn, 0x0001);
        deleted->flags &= uint8_t(~1);
    }
    ~DrawingObjectEdits() override
    {
        FreeLineObjectList(price);
        FreeLineObjectList(addOn);
    }
    static LineObject* Add(LineObjectList& list, uint16_t mask)
    {
        LineObject* object = AddLineObject(list, 0, 0);
        SetObjectSettingsMask(*object, mask);
        return object;
    }

    LineObjectList price, addOn;
    LineObjectList* panes[2] = {&price, &addOn};
    LineObject *onlyFirst, *onlySecond, *both, *text, *deleted;
};

TEST_F(DrawingObjectEdits, DeleteAllRemovesOnlyThePresentSettingsObjects)
{
    DeleteAllResult result = DeleteObjectsInSetting(panes, 1);
    EXPECT_EQ(result.masks, 0x0003);
    EXPECT_EQ(result.changedPanes, 1u) << "the add-on window holds nothing of setting 1";
    EXPECT_FALSE(onlySecond->flags & 1);
    EXPECT_FALSE(both->flags & 1);
    EXPECT_TRUE(onlyFirst->flags & 1);
    EXPECT_TRUE(text->flags & 1);
    EXPECT_FALSE(AnyObjectInSetting(panes, 1));
    EXPECT_TRUE(AnyObjectInSetting(panes, 0));
    // Setting 17 shares setting 1's bit.
    EXPECT_FALSE(AnyObjectInSetting(panes, 17));
}

TEST_F(DrawingObjectEdits, RingStepsRoundTheVisibleObjectsOfEveryPane)
{
    // New nodes go to the head: the price pane's order is both, onlySecond, onlyFirst.
    EXPECT_EQ(StepObjectRing(panes, nullptr, 0, true), both);
    EXPECT_EQ(StepObjectRing(panes, both, 0, true), onlyFirst) << "onlySecond is not in setting 0";
    EXPECT_EQ(StepObjectRing(panes, onlyFirst, 0, true), text) << "the deleted line is skipped";
    EXPECT_EQ(StepObjectRing(panes, text, 0, true), both) << "round the ring";
    EXPECT_EQ(StepObjectRing(panes, both, 0, false), text);
    EXPECT_EQ(StepObjectRing(panes, nullptr, 0, false), text);
    EXPECT_EQ(StepObjectRing(panes, nullptr, 5, true), nullptr);

    EXPECT_EQ(RingMenuText(kCommandNextLine, text), "Next text\tTab");
    EXPECT_EQ(RingMenuText(kCommandPreviousLine, text), "Previous text\tShift Tab");
    EXPECT_EQ(RingMenuText(kCommandDeleteLine, text), "Delete text\tDel");
    EXPECT_EQ(RingMenuText(kCommandNextLine, both), "");
}

} // namespace
} // namespace qv
