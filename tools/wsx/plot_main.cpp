// halvo-wsx-plot: the plot verb of halvo-wsx, which starts it with the verb's arguments.
#include <iostream>
#include <string>
#include <vector>

#include "WsxPlot.h"

int main(int argc, char** argv) {
    return RunWsxPlot(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
