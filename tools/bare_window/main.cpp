// The yardstick of the start-up benchmark: a bare Qt Widgets program that
// shows an empty main window, lets the event loop turn once and ends. The
// program's own start-up is measured against it in the same run.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.resize(1100, 800);
    w.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
