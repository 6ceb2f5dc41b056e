// What the rule for values from files takes as a number: exactly one decimal number, nothing before or after it.
// A decimal number too large for its type is out of range (the refusal gives the range), not "no number".
#include "engine/foundation/FileValues.h"

#include "engine/foundation/Error.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using KeystrelEngine::FileValues;

namespace {

// The refusal's reason when the text must be a float, or a whole number, within 0 to 10; "" when it is taken.
std::string Refusal(const std::string& text, bool whole)
{
    try {
        const FileValues values("v.ini");
        whole ? void(values.RequireInt(text, 0, 10, "x")) : void(values.RequireFloat(text, {0.0f, 10.0f}, "x"));
        return "";
    } catch (const KeystrelEngine::FileError& error) {
        const std::string reason = error.GetText();
        return reason.substr(reason.find(": ") + 2);
    }
}

TEST(FileValues, ATextIsOneDecimalNumberOrNone)
{
    enum Verdict
    {
        Taken,
        NoNumber,
        Outside
    };
    // The text, what the parsers make of it, and the verdicts of a float and a whole number within 0 to 10.
    struct Row
    {
        const char* text;
        std::optional<float> asFloat;
        std::optional<std::int32_t> asInt;
        Verdict floatVerdict, intVerdict;
    };
    std::vector<Row> rows = {
        {"5", 5.0f, 5, Taken, Taken},
        {"+7", 7.0f, 7, Taken, Taken},
        {"2.5", 2.5f, {}, Taken, NoNumber},
        {".5", 0.5f, {}, Taken, NoNumber},
        {"5.", 5.0f, {}, Taken, NoNumber},
        {"1E-2", 0.01f, {}, Taken, NoNumber},
        {"1e-999", 0.0f, {}, Taken, NoNumber},
        {"-2.5", -2.5f, {}, Outside, NoNumber},
        {"2147483647", 2147483647.0f, 2147483647, Outside, Outside},
        // Beyond the type: out of range, however many digits.
        {"2147483648", 2147483648.0f, {}, Outside, Outside},
        {"-99999999999999999999999", -1e23f, {}, Outside, Outside},
        {"1e39", {}, {}, Outside, NoNumber},
        {"-1e39", {}, {}, Outside, NoNumber},
        {"1e999", {}, {}, Outside, NoNumber},
    };
    // No decimal number, or more than one.
    for (const char* text : {"0x10", "0x1p4", " 5", "12abc", "", ".", "+-1", "e5", "1e+", "nan", "inf", "-Infinity"})
        rows.push_back({text, {}, {}, NoNumber, NoNumber});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string text = row.text;
        const auto expected = [&text](Verdict verdict, const std::string& noun) {
            return verdict == Taken     ? ""
                   : verdict == Outside ? "x is " + text + ", outside 0 to 10"
                                        : "x \"" + text + "\" is no " + noun;
        };
        float number = -1.0f;
        std::int32_t whole = -1;
        EXPECT_EQ(FileValues::ParseFloat(text, number) ? std::optional(number) : std::nullopt, row.asFloat);
        EXPECT_EQ(FileValues::ParseInt(text, whole) ? std::optional(whole) : std::nullopt, row.asInt);
        EXPECT_EQ(Refusal(text, false), expected(row.floatVerdict, "number"));
        EXPECT_EQ(Refusal(text, true), expected(row.intVerdict, "whole number"));
    }
}

} // namespace
