#include "app/Startup.h"
#include "core/QtItalian.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    installQtItalian(app);
    return Startup::run();
}
