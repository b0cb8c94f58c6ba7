#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/command.hpp"
#include "tools/text.hpp"

// main() would receive the arguments in the ANSI code page, which loses
// every character outside it (CJK on a Western system); wmain gets UTF-16.
int wmain(int argc, wchar_t** argv) {
    // "--json -" sends the document byte for byte: no CRLF translation.
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view wide(argv[i]);
        args.push_back(korvanel::send::utf8_from_utf16(std::u16string(wide.begin(), wide.end())));
    }
    return korvanel::send::run_send(args, std::cin, std::cout, std::cerr);
}
