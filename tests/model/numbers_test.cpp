// Numbers as the user writes them, in the user's locale, and their rounding.
#include <gtest/gtest.h>

#include "fakes/param_name.h"

#include <cmath>

#include "model/numbers.h"

namespace tapster {
namespace {

platform::NumberFormat english() {
    return {".", ","};
}
platform::NumberFormat german() {
    return {",", "."};
}
platform::NumberFormat swiss() {
    return {".", "'"};
}
platform::NumberFormat french() {
    return {",", "\u202f"};
}  // a narrow no-break space

struct NumberCase {
    const char* text;
    platform::NumberFormat format;
    std::optional<double> value;
};

class ParseNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumber, ReadsWhatTheLocaleAllows) {
    const std::optional<double> parsed = parse_number(GetParam().text, GetParam().format);
    ASSERT_EQ(parsed.has_value(), GetParam().value.has_value()) << GetParam().text;
    if (parsed) {
        EXPECT_DOUBLE_EQ(*parsed, *GetParam().value) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumber,
    ::testing::Values(
        NumberCase{"500", english(), 500.0}, NumberCase{"  500\t", english(), 500.0},
        NumberCase{"-5", english(), -5.0}, NumberCase{"+1.5", english(), 1.5},
        NumberCase{".5", english(), 0.5}, NumberCase{"1,000", english(), 1000.0},
        NumberCase{"1,000.25", english(), 1000.25}, NumberCase{"1.000,5", german(), 1000.5},
        NumberCase{"1,5", german(), 1.5}, NumberCase{"1'000", swiss(), 1000.0},
        NumberCase{"1\u202f000,5", french(), 1000.5}, NumberCase{"1e3", english(), 1000.0},
        NumberCase{"2.5E-1", english(), 0.25}, NumberCase{"", english(), std::nullopt},
        NumberCase{"   ", english(), std::nullopt}, NumberCase{"abc", english(), std::nullopt},
        NumberCase{"12abc", english(), std::nullopt}, NumberCase{"1.2.3", english(), std::nullopt},
        NumberCase{",5", english(), std::nullopt},  // a separator before digits
        NumberCase{"1e", english(), std::nullopt}, NumberCase{"-", english(), std::nullopt},
        NumberCase{"1 000", english(), std::nullopt}, NumberCase{"1e999", english(), std::nullopt}),
    [](const auto& info) { return fakes::param_name(info.index, info.param.text); });

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(round_half_even(1.5), 2);
    EXPECT_EQ(round_half_even(2.5), 2);
    EXPECT_EQ(round_half_even(-2.5), -2);
    EXPECT_EQ(round_half_even(2.6), 3);
    EXPECT_EQ(round_half_even(65535.4), 65535);
    EXPECT_FALSE(round_half_even(1e30).has_value());
    EXPECT_FALSE(round_half_even(std::nan("")).has_value());
}

}  // namespace
}  // namespace tapster
