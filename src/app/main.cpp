#include "app/Avvio.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return Avvio::run();
}
