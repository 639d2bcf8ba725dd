// halvo-wsx: reads Halvo data files from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "WsxTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CWsxTool tool;
    return tool.Run(args, std::cout, std::cerr);
}
