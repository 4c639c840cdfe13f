// Program entry: builds the application and its main window and runs the event loop.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("VEQ Device Tool");
    window.show();
    return app.exec();
}
