// halvo-wsx: reads Halvo data files from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "WsxTool.h"
#ifdef HALVO_WSX_PLOT
#include <unistd.h>

#include <climits>
#endif

namespace {

#ifdef HALVO_WSX_PLOT
// The plot verb is a program of its own beside this one: drawing needs Qt, and loading Qt's
// libraries at every start would cost the other verbs more time than a day series of a few
// files takes. Returns only when that program cannot be started.
int RunPlot(int argc, char** argv) {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string(argv[0]);
    path = path.substr(0, path.find_last_of('/') + 1) + "halvo-wsx-plot";
    std::vector<char*> args = {path.data()};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    ::execv(path.c_str(), args.data());
    std::cerr << "halvo-wsx: cannot start '" << path << "' for plot\n";
    return CWsxTool::kMissingFile;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
#ifdef HALVO_WSX_PLOT
    if (!args.empty() && args[0] == "plot") {
        return RunPlot(argc, argv);
    }
#endif
    CWsxTool tool;
    return tool.Run(args, std::cout, std::cerr);
}
