#include "framework/ui/AfxPlaceholder.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

int AfxRunPlaceholderWindow(int argc, char** argv, const char* title)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(title));
    window.setCentralWidget(new QMdiArea(&window));
    window.resize(1024, 768);
    window.showMaximized();
    return app.exec();
}
