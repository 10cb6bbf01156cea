// Installed fonts through QFontDatabase; the default printer through QPrinterInfo and one page
// layout the program prints with, which takes the stored orientation when it is first used.
#include "shell/ui/AppServicesQt.h"

#include "core/ConfigDefaults.h"
#include "shell/AppServices.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <optional>

namespace qv {
namespace {

// The start-up's orientation waits here until the page layout is first asked for.
std::optional<QPageLayout::Orientation> pendingOrientation;
bool layoutUsed = false;

bool DefaultPrinterExists() { return !QPrinterInfo::defaultPrinter().isNull(); }

QPageLayout::Orientation OrientationOf(int orientation)
{
    return orientation == DefaultPrinterSettings::kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

class QtDefaultPrinter : public DefaultPrinterSettings {
public:
    bool Exists() override { return DefaultPrinterExists(); }
    int Orientation() override
    {
        return DefaultPrinterPageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
    }
    void SetOrientation(int orientation) override { DefaultPrinterPageLayout().setOrientation(OrientationOf(orientation)); }
    void SetOrientationWhenUsed(int orientation) override
    {
        pendingOrientation = OrientationOf(orientation);
        layoutUsed = false;
    }
    bool LayoutUsed() override { return layoutUsed; }
};

bool FontInstalled(const char* face)
{
    return QFontDatabase::families().contains(QString::fromLatin1(face));
}

} // namespace

QPageLayout& DefaultPrinterPageLayout()
{
    static QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                              QPageLayout::Millimeter);
    layoutUsed = true;
    if (pendingOrientation) {
        const QPageLayout::Orientation orientation = *pendingOrientation;
        pendingOrientation.reset();
        if (DefaultPrinterExists())
            layout.setOrientation(orientation);
    }
    return layout;
}

void InstallAppServicesQt()
{
    static QtDefaultPrinter printer;
    SetDefaultPrinterSettings(&printer);
    SetFontInstalledCheck(FontInstalled);
}

} // namespace qv
