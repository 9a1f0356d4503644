// The program's only error box, after which the game ends, and the diagnostic trace line.
#include "shared/error_box.h"

#include <cstdarg>
#include <cstdio>

#include "platform/message_box.h"
#include "platform/window.h"
#include "shared/language.h"

void (*KeepGameBeforeError)() = [] {};

void ShowError(const std::string& text) {
    KeepGameBeforeError();
    platform::ShowMessageBox(Translated("Error"), text);
    platform::DestroyGameWindow();
}

void Trace(const char* format, ...) {
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
}
