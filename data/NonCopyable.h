// CNonCopyable: the base of classes that own something a copy must not share (a descriptor, a
// locale, a thread, a block of records): copying one is a compile error.
#pragma once

class CNonCopyable {
public:
    CNonCopyable(const CNonCopyable&) = delete;
    CNonCopyable& operator=(const CNonCopyable&) = delete;

protected:
    CNonCopyable() = default;
    ~CNonCopyable() = default;
};
