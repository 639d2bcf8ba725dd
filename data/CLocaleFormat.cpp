// "C"-locale snprintf and strtod through a locale object of their own (thread-safe, no setlocale).
#include "data/CLocaleFormat.h"

#include <locale.h>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "data/CLocaleScope.h"

void AppendFormatCV(std::string& out, const char* format, va_list args) {
    CLocaleScope scope;
    char stack[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(stack, sizeof stack, format, copy);
    va_end(copy);
    if (needed < 0) {
        return;
    }
    if (static_cast<size_t>(needed) < sizeof stack) {
        out.append(stack, static_cast<size_t>(needed));
        return;
    }
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(needed) + 1);
    std::vsnprintf(out.data() + start, static_cast<size_t>(needed) + 1, format, args);
    out.resize(start + static_cast<size_t>(needed));
}

std::string FormatC(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    AppendFormatCV(out, format, args);
    va_end(args);
    return out;
}

void AppendFormatC(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatCV(out, format, args);
    va_end(args);
}

double ParseDoubleC(const char* text, const char** end) {
    char* stop = nullptr;
    const double v = strtod_l(text, &stop, CLocaleScope::CLocale());
    if (end != nullptr) {
        *end = stop;
    }
    return v;
}
