#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Dispatch.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"

// The arguments come as UTF-16 and cross into the program's own text. The output keeps
// its bytes: no line end is widened on the way, so CSV records end with CR LF once.
int wmain(int argc, wchar_t* argv[]) {
    _setmode(_fileno(stdout), _O_BINARY);
    std::ios::sync_with_stdio(false);
    std::vector<std::string> arguments;
    for (int at = 1; at < argc; ++at) {
        arguments.push_back(kestrava::platform::FromUtf16(argv[at]));
    }
    kestrava::platform::Win32FileSystem fileSystem;
    kestrava::platform::Win32Environment environment;
    kestrava::platform::Win32Clock clock;
    kestrava::platform::Win32Locale locale;
    return kestrava::cli::Dispatch(arguments, {fileSystem, environment, clock, locale}, std::cout,
                                   std::cerr);
}
