// What the rule for values from files takes as a number: exactly one decimal number, nothing before or after it.
// A decimal number too large for its type is out of range (the refusal gives the range), not "no number".
#include "engine/foundation/FileValues.h"

#include "engine/foundation/Error.h"

#include <gtest/gtest.h>

#include <optional>

using KeystrelEngine::FileValues;

namespace {

// The refusal's reason, or "" when the text is taken.
template <class Require> std::string Verdict(Require require)
{
    try {
        require(FileValues("v.ini"));
        return "";
    } catch (const KeystrelEngine::FileError& error) {
        const std::string text = error.GetText();
        return text.substr(text.find(": ") + 2);
    }
}

TEST(FileValues, ATextIsOneDecimalNumberOrNone)
{
    constexpr std::int32_t kMaxInt = 2147483647;
    const std::string kNone = "no number";
    const std::string kOutside = "outside 0 to 10";
    // The text, what the parsers make of it, and the verdicts of a float and a whole number within 0 to 10.
    const struct
    {
        const char* text;
        std::optional<float> asFloat;
        std::optional<std::int32_t> asInt;
        std::string floatVerdict;
        std::string intVerdict;
    } rows[] = {
        {"5", 5.0f, 5, "", ""},
        {"+7", 7.0f, 7, "", ""},
        {"2.5", 2.5f, {}, "", kNone},
        {".5", 0.5f, {}, "", kNone},
        {"5.", 5.0f, {}, "", kNone},
        {"1E-2", 0.01f, {}, "", kNone},
        {"1e-999", 0.0f, {}, "", kNone},
        {"-2.5", -2.5f, {}, "x is -2.5, " + kOutside, kNone},
        {"2147483647", 2147483647.0f, kMaxInt, "x is 2147483647, " + kOutside, "x is 2147483647, " + kOutside},
        // Beyond the type: out of range, however many digits.
        {"2147483648", 2147483648.0f, {}, "x is 2147483648, " + kOutside, "x is 2147483648, " + kOutside},
        {"-99999999999999999999999",
         -1e23f,
         {},
         "x is -99999999999999999999999, " + kOutside,
         "x is -99999999999999999999999, " + kOutside},
        {"1e39", {}, {}, "x is 1e39, " + kOutside, kNone},
        {"-1e39", {}, {}, "x is -1e39, " + kOutside, kNone},
        {"1e999", {}, {}, "x is 1e999, " + kOutside, kNone},
        // No decimal number, or more than one.
        {"0x10", {}, {}, kNone, kNone},
        {"0x1p4", {}, {}, kNone, kNone},
        {" 5", {}, {}, kNone, kNone},
        {"12abc", {}, {}, kNone, kNone},
        {"", {}, {}, kNone, kNone},
        {".", {}, {}, kNone, kNone},
        {"+-1", {}, {}, kNone, kNone},
        {"e5", {}, {}, kNone, kNone},
        {"1e+", {}, {}, kNone, kNone},
        {"nan", {}, {}, kNone, kNone},
        {"inf", {}, {}, kNone, kNone},
        {"-Infinity", {}, {}, kNone, kNone},
    };
    const auto expected = [&kNone](const std::string& verdict, const std::string& text, const char* noun) {
        return verdict == kNone ? "x \"" + text + "\" is no " + noun : verdict;
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        float number = -1.0f;
        EXPECT_EQ(FileValues::ParseFloat(row.text, number), row.asFloat.has_value());
        if (row.asFloat) {
            EXPECT_FLOAT_EQ(number, *row.asFloat);
        }
        std::int32_t whole = -1;
        EXPECT_EQ(FileValues::ParseInt(row.text, whole), row.asInt.has_value());
        if (row.asInt) {
            EXPECT_EQ(whole, *row.asInt);
        }
        EXPECT_EQ(Verdict([&row](const FileValues& values) {
                      values.RequireFloat(row.text, {0.0f, 10.0f}, "x");
                  }),
                  expected(row.floatVerdict, row.text, "number"));
        EXPECT_EQ(Verdict([&row](const FileValues& values) { values.RequireInt(row.text, 0, 10, "x"); }),
                  expected(row.intVerdict, row.text, "whole number"));
    }
}

} // namespace
