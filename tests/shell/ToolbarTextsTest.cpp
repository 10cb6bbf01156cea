// The texts of the toolbar's Setting buttons: the setting's own name for the active view's kind.
#include "shell/ToolbarTexts.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "shell/ToolbarCatalogue.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ToolbarTexts, SettingButtonsNameTheActiveKindsSettingsAfterARename)
{
    const ConfigState saved = Config();
    CViewBase* const savedView = MainFrameState().activeView;
    ResetConfigFamily(Config(), ConfigFamily::ListTables);
    ResetConfigFamily(Config(), ConfigFamily::DailyGraphs);
    const uint16_t second = uint16_t(kFirstSettingCode + 1);

    MainFrameState().activeView = nullptr;
    EXPECT_EQ(WideButtonLabel(second, 0), "Table 2") << "without a view: the list tables";
    CViewBase list(kViewList);
    MainFrameState().activeView = &list;
    EXPECT_EQ(WideButtonLabel(second, 0), "Table 2");
    Config().listTables.designs[1].name = "Growth & Income";
    EXPECT_EQ(WideButtonLabel(second, 0), "Growth & Income");
    EXPECT_EQ(ButtonTooltipText(second, 0), "Growth & Income");

    CViewBase chart(kViewDailyChart);
    MainFrameState().activeView = &chart;
    EXPECT_EQ(WideButtonLabel(second, 0), "Setting 2");
    Config().dailyGraphs.names[1] = "Candles";
    EXPECT_EQ(ButtonTooltipText(second, 0), "Candles");

    MainFrameState().activeView = savedView;
    Config() = saved;
}
