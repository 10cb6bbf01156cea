// The list views' dialogs and link opener.
#include "lists/ui/ListViewSeams.h"

#include <QDesktopServices>
#include <QUrl>

namespace qv {
namespace {

ShellOpenFunction& Opener()
{
    static ShellOpenFunction open;
    return open;
}

} // namespace

ListColumnDialogs& ColumnDialogs()
{
    static ListColumnDialogs dialogs;
    return dialogs;
}

void SetShellOpen(ShellOpenFunction open)
{
    Opener() = std::move(open);
}

void ShellOpen(const std::string& link)
{
    if (Opener()) {
        Opener()(link);
        return;
    }
    QDesktopServices::openUrl(QUrl(QString::fromStdString(link)));
}

} // namespace qv
