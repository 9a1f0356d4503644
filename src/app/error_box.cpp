// The program's only error box, after which the game ends, and the diagnostic trace line.
#include "app/error_box.h"

#include <cstdarg>
#include <cstdio>

#include "app/window_proc.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "screens/save_file.h"

void ShowError(const std::string& text) {
    platform::ShowMessageBox("Error", text);
    // Whatever failed, the game in progress is kept, as on every other way out.
    if (AppReady != 0 && platform::GameWindowExists()) SaveGame();
    platform::DestroyGameWindow();
}

void Trace(const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
}
