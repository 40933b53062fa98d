// Renders each page of the main window, offscreen, to <dir>/page0.png ...
// page5.png. The window is built as the program builds it and skinned as at
// start, without the rest of the start-up sequence and without browser pages.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <cstdio>

#include "app/main_window.h"
#include "app/platform.h"
#include "app/skin.h"
#include "app/window_description.h"
#include "ui/design_tab_widget.h"

int main(int argc, char** argv) {
    app::prepare_browser_environment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QString out_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    if (!QDir().mkpath(out_dir)) {
        std::fprintf(stderr, "render-pages: cannot create %s\n", qPrintable(out_dir));
        return 1;
    }

    // The look the program has once its start-up has applied the skin.
    const std::string_view sheet = app::skin_style_sheet(app::skin_block());
    application.setStyleSheet(
        QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size())));

    ui::ProgramData data;
    app::WindowOptions options;
    options.run_startup = false;
    options.load_browser_pages = false;
    options.first_visit = {};  // pages show as designed, not after a list load
    app::MainWindow window(data, std::move(options));
    window.show();

    for (int page = 0; page < app::kPageCount; ++page) {
        window.选择夹1->setCurrentIndex(page);
        QApplication::processEvents();
        const QString file = QDir(out_dir).filePath(QStringLiteral("page%1.png").arg(page));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "render-pages: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return 0;
}
