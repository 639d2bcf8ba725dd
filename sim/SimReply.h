// SIMREPLY: what a simulated instrument does about one request.
#pragma once

#include <cstddef>
#include <string>

struct SIMREPLY {
    bool answered = false;  // false: the instrument keeps silent
    int delayMs = 0;        // time the instrument takes before it answers (exposure, band move)
    std::string bytes;      // a raw block of blockBytes bytes, then the text reply
    size_t blockBytes = 0;
};
