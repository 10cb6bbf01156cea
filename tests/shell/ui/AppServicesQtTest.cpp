// The Qt side of the application services.
#include "shell/ui/AppServicesQt.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "shell/AppServices.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinterInfo>
#include <gtest/gtest.h>

using namespace qv;

TEST(AppServicesQt, TableFaceAndPrinterFollowTheSystem)
{
    InstallAppServicesQt();
    TableStyle style;
    InitDefaultTableStyle(style);
    bool hasNewFace = QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"));
    EXPECT_STREQ(reinterpret_cast<const char*>(style.data() + TableStyle::kFace),
                 hasNewFace ? "Microsoft Sans Serif" : "MS Sans Serif");

    uint8_t& flag = Config().optionsA.bytes[OptionBlockA::kPrintLandscape];
    flag = 1;
    SyncPrinterOrientation(false);
    bool printer = !QPrinterInfo::defaultPrinter().isNull();
    EXPECT_EQ(DefaultPrinterPageLayout().orientation() == QPageLayout::Landscape, printer);
    SyncPrinterOrientation(true);
    EXPECT_EQ(flag, 1); // read back from a landscape printer, or kept without one
    flag = 0;
    SyncPrinterOrientation(false);
    EXPECT_EQ(DefaultPrinterPageLayout().orientation(), QPageLayout::Portrait);
    SetDefaultPrinterSettings(nullptr);
    SetFontInstalledCheck(nullptr);
}
