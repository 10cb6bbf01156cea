// Pictures of the program's message dialog in each of its button modes, for a person to look at.
#include "shell/ui/SuppressibleMessage.h"

#include "support/ui/Render.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace qv;

TEST(MessageDialogModes, EachButtonModeRenders)
{
    ASSERT_TRUE(test::FontsAvailable());
    struct Mode {
        const char* name;
        CSuppressibleMessage::Options options;
        const char* first;
        const char* second; // null: hidden
    } modes[] = {
        {"message-ok-cancel", {}, "OK", "Cancel"},
        {"message-single", {true, false, false, true, 0}, "OK", nullptr},
        {"message-yes-no", {false, true, false, false, 0}, "Yes", "No"},
        {"message-help", {false, false, true, false, 86457}, "OK", "Help"},
    };
    for (const Mode& m : modes) {
        CSuppressibleMessage dialog(QStringLiteral("The prices of 3 shares were corrected by the last update.\n"
                                                   "Their graphs now show the corrected prices."),
                                    m.options);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Quorvantis message");
        EXPECT_EQ(dialog.firstButton()->text(), m.first) << m.name;
        EXPECT_EQ(dialog.secondButton()->isVisible(), m.second != nullptr) << m.name;
        if (m.second) {
            EXPECT_EQ(dialog.secondButton()->text(), m.second) << m.name;
        }
        test::SaveRender(test::RenderWidget(dialog), m.name);
    }
}
