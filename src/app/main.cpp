#include <QApplication>

#include "app/platform.h"
#include "app/qt_translations.h"
#include "app/startup_sequence.h"

int main(int argc, char** argv) {
    app::prepare_browser_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const std::unique_ptr<QTranslator> chinese = app::qt_chinese_translator();
    if (chinese)
        QApplication::installTranslator(chinese.get());
    return app::run_program();
}
