// halvo-wsx: reads Halvo data files from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "WsxTool.h"
#ifdef HALVO_WSX_PLOT
#include "WsxPlot.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef HALVO_WSX_PLOT
    if (!args.empty() && args[0] == "plot") {
        return RunWsxPlot(std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                          std::cerr);
    }
#endif
    CWsxTool tool;
    return tool.Run(args, std::cout, std::cerr);
}
