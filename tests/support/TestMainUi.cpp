// Test program entry with an application object; windows render offscreen unless told otherwise.
#include "app/ui/WindowLayerHooks.h"
#include "platform/qt/QtFonts.h"
#include "support/TestEnvironment.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// What one test leaves in the window layer must not reach the next: view classes registered by one
// test (the real chart, list and details windows) must not stand in for the plain windows another
// expects, and a modifier key pressed by one must not count as held in the next.
class WindowLayerReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        for (int32_t kind = 0; kind < 64; ++kind)
            qv::RegisterViewClass(kind, {});
        if (QGuiApplication::keyboardModifiers() == Qt::NoModifier)
            return;
        QWidget receiver;
        for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
            QTest::keyRelease(&receiver, key, Qt::NoModifier);
    }
};

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The same fonts on every machine, whatever else is installed there.
    ::setenv("FONTCONFIG_FILE", QV_SOURCE_DIR "/tests/support/fonts.conf", 1);
    qv::test::PrepareTestEnvironment();
    qv::InstallWindowLayerHooks();
    QApplication app(argc, argv);
    qv::InstallFaceSubstitutes();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new WindowLayerReset);
    return RUN_ALL_TESTS();
}
