#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace {
struct CommandLineCase {
  const char* label;
  std::vector<std::wstring> args;  // after the program name
  uint32_t mode;
};

std::vector<std::wstring> WithProgram(const std::vector<std::wstring>& args) {
  std::vector<std::wstring> all{L"C:\\windows\\vivarn.scr"};
  all.insert(all.end(), args.begin(), args.end());
  return all;
}

class CommandLineTable : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTable, YieldsTheMode) {
  EXPECT_EQ(ParseArguments(WithProgram(GetParam().args)), GetParam().mode);
}

const CommandLineCase kCases[] = {
    {"NoArguments", {}, kConfigure},
    {"LowerS", {L"/s"}, kFullScreen},
    {"UpperS", {L"/S"}, kFullScreen},
    {"PreviewHandle", {L"/p", L"1234"}, 1234u},
    {"UpperPreviewHandle", {L"/P", L"1234"}, 1234u},
    {"PreviewLast", {L"/p"}, kFullScreen},
    {"PreviewNotANumber", {L"/p", L"abc"}, kFullScreen},
    {"PreviewZero", {L"/p", L"0"}, kFullScreen},
    {"PreviewTwo", {L"/p", L"2"}, kConfigure},
    {"PreviewOne", {L"/p", L"1"}, kPreview},
    {"FullScreenThenPreview", {L"/s", L"/p", L"5000"}, 5000u},
    {"PreviewThenFullScreen", {L"/p", L"5000", L"/s"}, kFullScreen},
    {"ConfigureSwitch", {L"/c"}, kConfigure},
    {"ConfigureWithHandle", {L"/c:1234"}, kConfigure},
    {"PreviewWithColon", {L"/p:1234"}, kConfigure},
    {"DashS", {L"-s"}, kConfigure},
    // The argument after "/P" is examined as a switch too, and the last one decides.
    {"PreviewFollowedBySwitch", {L"/p", L"/s"}, kFullScreen},
    {"PreviewFollowedByPreview", {L"/p", L"/p", L"77"}, 77u},
    {"NumberWithTrailingText", {L"/p", L"1234xyz"}, 1234u},
    {"SwitchWithTrailingText", {L"/save"}, kConfigure},
    {"EmptyArgument", {L""}, kConfigure},
};

INSTANTIATE_TEST_SUITE_P(All, CommandLineTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CommandLineCase>& info) { return info.param.label; });

struct NumberCase {
  const wchar_t* text;
  uint32_t value;
};

class DecimalReading : public ::testing::TestWithParam<NumberCase> {};

TEST_P(DecimalReading, MatchesThe32BitRunTime) {
  EXPECT_EQ(ReadUnsignedDecimal(GetParam().text), GetParam().value) << "text: " << GetParam().text;
}

const NumberCase kNumbers[] = {
    {L"", 0u},
    {L"abc", 0u},
    {L"42", 42u},
    {L"  \t42", 42u},
    {L"+42", 42u},
    {L"-1", 0xFFFFFFFFu},
    {L"-2", 0xFFFFFFFEu},
    {L"12ab34", 12u},
    {L"007", 7u},
    {L"4294967295", 0xFFFFFFFFu},
    {L"4294967296", 0xFFFFFFFFu},
    {L"99999999999999999999999", 0xFFFFFFFFu},
    {L"-4294967296", 0xFFFFFFFFu},
    {L"- 5", 0u},
    {L"0x10", 0u},
};

INSTANTIATE_TEST_SUITE_P(All, DecimalReading, ::testing::ValuesIn(kNumbers));
}  // namespace

// The host starts the saver as "path\name.scr /s", "... /p 1234" or with a
// quoted path holding blanks; the mode must come out as the shell's own split
// would give it.
TEST(SplitCommandLine, SplitsAsTheShellDoes) {
  using Args = std::vector<std::wstring>;
  EXPECT_EQ(SplitCommandLine(L"\"C:\\Program Files\\v.scr\" /p\t 1234 "),
            (Args{L"C:\\Program Files\\v.scr", L"/p", L"1234"}));
  EXPECT_EQ(SplitCommandLine(L"C:\\a\\v.scr /S"), (Args{L"C:\\a\\v.scr", L"/S"}));
  EXPECT_EQ(SplitCommandLine(L"v \"a b\"c \\\\\"d e\\\\\" \\\"q a\\\\b \"x\"\"y\""),
            (Args{L"v", L"a bc", L"\\d e\\", L"\"q", L"a\\\\b", L"x\"y"}));
  EXPECT_EQ(SplitCommandLine(L"v.scr"), (Args{L"v.scr"}));
  EXPECT_EQ(ParseArguments(SplitCommandLine(L"\"C:\\x y\\v.scr\" /p 77")), 77u);
}
