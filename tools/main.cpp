#include <iostream>
#include <string>
#include <vector>

#include "tools/command.hpp"

// POSIX arguments are taken to be UTF-8 already; the tool checks them.
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return korvanel::send::run_send(args, std::cin, std::cout, std::cerr);
}
