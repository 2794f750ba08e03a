#include <windows.h>

#include "../about/win32_about_window.h"
#include "launch_options.h"
#include "screensaver_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int showCommand) {
    // Process-wide and never freed: the window set-up and the main loop read
    // it for the whole run.
    auto* options = new LaunchOptions(commandLine);

    if (options->mode == LaunchMode::Preview || options->mode == LaunchMode::Default) {
        if (!options->acquireInstanceGuard()) {
            return 0;
        }
    }

    if (options->mode == LaunchMode::Configure) {
        // Runs the About window's own message loop until it is closed.
        AboutWindow about(instance, showCommand);
        return 0;
    }

    auto* app = new ScreensaverApp(options);
    app->run();
    return 0;
}
