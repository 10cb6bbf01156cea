// Main frame window.
#include "shell/ui/MainFrame.h"

#include <QMdiArea>

namespace qv {

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Quorvantis"));
    setCentralWidget(mdi_);
    setMinimumSize(640, 480);
    resize(1024, 720);
}

} // namespace qv
