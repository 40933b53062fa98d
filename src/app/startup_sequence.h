#pragma once
// From process start to the window on screen, and the end of the program.
#include <QUrl>
#include <string>

namespace app {

class MainWindow;
struct StartupSteps;

// The vendor info server's home page, loaded by 超文本浏览框1: "http://" + host + "/".
QUrl vendor_home_url(const std::string& vendor_host);
// What 更多工具 shows: host + "/1.html", written without a scheme as the
// design has it; the browser takes it as an http address.
QUrl vendor_tools_url(const std::string& vendor_host);

// The window's created event, on the GUI thread while the window is still
// hidden, each step after the previous one has finished: skin, update check
// (which may end the process), announcement, then 更多工具's page.
void run_startup_sequence(MainWindow& window, const StartupSteps& steps);

// The whole program after QApplication exists: program-wide data, settings,
// the Qt event pump and message box, the window with its start-up sequence,
// the event loop. Returns the exit code.
int run_program();

}  // namespace app
