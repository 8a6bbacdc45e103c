#include <QApplication>
#include <QTimer>
#include <iostream>

#include "app/Cli.h"
#include "app/MainWindow.h"
#include "app/Paths.h"

namespace {

bool HaveDisplay() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = RunCommandLine(args, std::cout, std::cerr);
    if (status >= 0) return status;
    if (args.size() > 1) {
        std::cerr << "citysize: the window takes one data file or folder at most\n" << UsageText();
        return 2;
    }
    if (!HaveDisplay()) {
        std::cerr << "citysize: no display to open the window on.\n"
                     "  Run it under a virtual display:  xvfb-run citysize\n"
                     "  or use the command line:         citysize run ReadData Rank --picture rank.png\n"
                     "  (citysize --help lists the commands)\n";
        return 2;
    }
    QApplication app(argc, argv);
    // A table named on the command line opens in the import preview, as File > Open Data
    // would: cancelling it leaves the default data to Load Data.
    MainWindow window(std::make_unique<Form>(DefaultDataPath()));
    window.show();
    if (!args.empty()) QTimer::singleShot(0, &window, [&window, path = QString::fromLocal8Bit(args[0].c_str())] { window.openData(path); });
    // For measuring start-up: leave as soon as the first frame has been painted.
    if (qEnvironmentVariableIsSet("CITYSIZE_QUIT_AFTER_FIRST_PAINT")) QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
