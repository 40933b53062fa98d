#include <QApplication>

#include "app/platform.h"
#include "app/startup_sequence.h"

int main(int argc, char** argv) {
    app::prepare_browser_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    return app::run_program();
}
