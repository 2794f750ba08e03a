#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "app/launch_options.h"

namespace {

struct CommandLineCase {
    const char* commandLine;
    LaunchMode mode;
    std::uint32_t hostWindow;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) {
    *os << '"' << c.commandLine << '"';
}

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, ParsesIntoModeAndHandle) {
    const CommandLineCase& c = GetParam();
    LaunchOptions options(c.commandLine);
    EXPECT_EQ(options.mode, c.mode) << "command line: \"" << c.commandLine << "\"";
    EXPECT_EQ(options.hostWindow, c.hostWindow) << "command line: \"" << c.commandLine << "\"";
}

constexpr std::uint32_t bits(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLine,
    ::testing::Values(
        CommandLineCase{"", LaunchMode::Default, 0}, CommandLineCase{"/s", LaunchMode::Screensaver, 0},
        CommandLineCase{"/p 1234", LaunchMode::Preview, 1234},
        CommandLineCase{"/c:1234", LaunchMode::Configure, 1234},
        // The character after the letter is passed over whatever it is.
        CommandLineCase{"/p1234", LaunchMode::Preview, 234},
        // Only lower-case letters are switches.
        CommandLineCase{"/P 1234", LaunchMode::Default, 0}, CommandLineCase{"/S", LaunchMode::Default, 0},
        // No handle is read while no mode is set.
        CommandLineCase{"/x 5", LaunchMode::Default, 0},
        // The last switch wins; a slash near the end reads no handle.
        CommandLineCase{"/s /p 77", LaunchMode::Preview, 77},
        CommandLineCase{"/p 77 /s", LaunchMode::Screensaver, 0},
        // An unrecognised slash still re-reads the handle once a mode is set.
        CommandLineCase{"/p 12 /x 99", LaunchMode::Preview, 99},
        // Only the first letter counts.
        CommandLineCase{"/scr", LaunchMode::Screensaver, 0},
        CommandLineCase{"/preview 42", LaunchMode::Preview, 0},
        CommandLineCase{"/p:42", LaunchMode::Preview, 42},
        // The slash as one of the last two characters, and just before.
        CommandLineCase{"/p", LaunchMode::Preview, 0}, CommandLineCase{"/", LaunchMode::Default, 0},
        CommandLineCase{"/p ", LaunchMode::Preview, 0}, CommandLineCase{"/p 7 /", LaunchMode::Preview, 0},
        // atoi: blanks skipped, a sign, digits up to the first other character.
        CommandLineCase{"/p    \t 56abc", LaunchMode::Preview, 56},
        CommandLineCase{"/p -3", LaunchMode::Preview, bits(-3)},
        CommandLineCase{"/p +3", LaunchMode::Preview, 3}, CommandLineCase{"/p xyz", LaunchMode::Preview, 0},
        // Beyond the signed 32-bit range the number clamps.
        CommandLineCase{"/p 99999999999999999999", LaunchMode::Preview, bits(INT32_MAX)},
        CommandLineCase{"/p -99999999999999999999", LaunchMode::Preview, bits(INT32_MIN)},
        CommandLineCase{"/p 2147483648", LaunchMode::Preview, bits(INT32_MAX)},
        CommandLineCase{"/p -2147483648", LaunchMode::Preview, bits(INT32_MIN)},
        // A slash inside the handle's text is visited too.
        CommandLineCase{"/p 12/c", LaunchMode::Configure, 0},
        CommandLineCase{"screensaver.scr /s", LaunchMode::Screensaver, 0}));

TEST(CommandLineNull, NullTextIsAnEmptyCommandLine) {
    LaunchOptions options(nullptr);
    EXPECT_EQ(options.mode, LaunchMode::Default);
    EXPECT_EQ(options.hostWindow, 0u);
}

TEST(CommandLineModes, ModeValuesAreTheHostsNumbers) {
    EXPECT_EQ(static_cast<int>(LaunchMode::Preview), 0);
    EXPECT_EQ(static_cast<int>(LaunchMode::Screensaver), 1);
    EXPECT_EQ(static_cast<int>(LaunchMode::Configure), 2);
    EXPECT_EQ(static_cast<int>(LaunchMode::Default), 3);
}

}  // namespace
