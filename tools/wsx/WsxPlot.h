// The "plot" verb of halvo-wsx: one record's page as a PNG picture or a PDF page.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// args as given after "plot"; returns the tool's exit code.
int RunWsxPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
