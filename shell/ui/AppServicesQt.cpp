// Installed fonts through QFontDatabase; the default printer through QPrinterInfo and one page
// layout the program prints with.
#include "shell/ui/AppServicesQt.h"

#include "core/ConfigDefaults.h"
#include "shell/AppServices.h"

#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

namespace qv {
namespace {

class QtDefaultPrinter : public DefaultPrinterSettings {
public:
    bool Exists() override { return !QPrinterInfo::defaultPrinter().isNull(); }
    int Orientation() override
    {
        return DefaultPrinterPageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
    }
    void SetOrientation(int orientation) override
    {
        DefaultPrinterPageLayout().setOrientation(orientation == kLandscape ? QPageLayout::Landscape
                                                                            : QPageLayout::Portrait);
    }
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
    return layout;
}

void InstallAppServicesQt()
{
    static QtDefaultPrinter printer;
    SetDefaultPrinterSettings(&printer);
    SetFontInstalledCheck(FontInstalled);
}

} // namespace qv
