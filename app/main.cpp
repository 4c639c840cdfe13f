// Program entry: builds the application and its main window, centres the
// window on the desktop and runs the event loop.
#include "app/mainwindow.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MainWindow window;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           QGuiApplication::primaryScreen()->geometry()));
    window.show();
    return app.exec();
}
