// The anchor of bench_startup: a minimal Qt Widgets program that shows one window and ends once it is shown.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(600, 400);
    window.show();
    QTimer::singleShot(0, [] {
        std::fflush(nullptr);
        std::_Exit(0);
    });
    return app.exec();
}
