#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/run.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    int status = veltrix::RunCli(args, std::cout, std::cerr);
    // A full disk or closed pipe must not pass for success.
    if (!std::cout.flush() && status == veltrix::kExitOk) {
        std::cerr << "veltrix-cli: cannot write the output\n";
        status = veltrix::kExitFailure;
    }
    return status;
}
