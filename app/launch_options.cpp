#include "launch_options.h"

#include <cstdint>

namespace {

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::int32_t parseHandleNumber(const char* text) {
    const char* p = text;
    while (isCSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulate in 64 bits and saturate, so arbitrarily long digit runs
    // clamp instead of wrapping.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value < limit) {
            value = value * 10 + (*p - '0');
            if (value > limit) {
                value = limit;
            }
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

LaunchOptions::LaunchOptions(const char* commandLine) : mode(LaunchMode::Default), hostWindow(0) {
    if (commandLine == nullptr) {
        return;
    }
    // Every character is visited: a switch does not make the walk skip its
    // argument, so a later slash inside it is looked at too.
    for (const char* p = commandLine; *p != '\0'; ++p) {
        if (*p != '/') {
            continue;
        }
        switch (p[1]) {
        case 'p':
            mode = LaunchMode::Preview;
            break;
        case 's':
            mode = LaunchMode::Screensaver;
            break;
        case 'c':
            mode = LaunchMode::Configure;
            break;
        default:
            break;
        }
        if (mode == LaunchMode::Default) {
            continue;
        }
        // The handle starts three characters after the slash: the slash, the
        // letter and one separator of any kind. Text that ends before that
        // point gives no handle. p[2] is only read when p[1] is not the end.
        if (p[1] != '\0' && p[2] != '\0') {
            hostWindow = static_cast<std::uint32_t>(parseHandleNumber(p + 3));
        } else {
            hostWindow = 0;
        }
    }
}
