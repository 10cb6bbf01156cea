// The floor under the program's start: a Qt Widgets program that shows one empty window, lets it
// paint and closes, started by the start-up benchmark the way it starts the program.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
