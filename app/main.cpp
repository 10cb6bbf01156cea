// Quorvantis: the program starts in the folder it is started from, which holds all its files.
#include "app/ui/QuorvantisApp.h"
#include "infocentre/ui/HtmlCtrl.h"
#include "platform/MemoryHints.h"

int main(int argc, char** argv)
{
    qv::SetUpProgramHeap();
    qv::PrepareHtmlEngine();
    qv::CQuorvantisApp app(argc, argv);
    return app.Run();
}
