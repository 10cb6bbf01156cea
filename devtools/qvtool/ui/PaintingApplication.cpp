// The painting verbs' Qt application.
#include "devtools/qvtool/ui/PaintingApplication.h"

#include "platform/qt/QtFonts.h"

namespace qv::tool {

std::unique_ptr<QApplication> MakePaintingApplication()
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qvtool";
    static char* argv[] = {name, nullptr};
    auto app = std::make_unique<QApplication>(argc, argv);
    InstallFaceSubstitutes();
    return app;
}

} // namespace qv::tool
