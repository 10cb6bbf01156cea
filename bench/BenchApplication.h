// The one Qt application object of the benchmarks that paint, on the offscreen platform.
#pragma once

#include <QApplication>

#include <cstdlib>

namespace qv {

inline QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "qvbench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace qv
