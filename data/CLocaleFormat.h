// Number formatting and parsing in the "C" locale, whatever locale the user runs under.
#pragma once

#include <cstdarg>
#include <string>

// snprintf in the "C" locale, returned as a string.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Appends the formatted text to out, in the "C" locale.
void AppendFormatC(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same with an argument list already started by the caller.
void AppendFormatCV(std::string& out, const char* format, va_list args);
// strtod in the "C" locale: the decimal number at the start of text, 0.0 when there is none;
// end (when given) receives the first character after the number, or text itself.
double ParseDoubleC(const char* text, const char** end = nullptr);
