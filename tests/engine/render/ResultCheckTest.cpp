#include "engine/render/ResultCheck.h"

#include "tests/engine/foundation/EngineServices.h"
#include "tests/engine/render/CountingRenderSystem.h"

#include <gtest/gtest.h>
#include <set>

using KeystrelEngine::CheckResult;
using KeystrelEngine::GetResultText;
using KeystrelEngine::MessageManager;

namespace {

std::int32_t Code(std::uint32_t value)
{
    return static_cast<std::int32_t>(value);
}

class ResultCheck : public ::testing::Test
{
protected:
    std::vector<std::string> Errors() const
    {
        std::vector<std::string> errors;
        for (const auto& record : services.log.m_history) {
            if (record.kind == MessageManager::KindError)
                errors.push_back(record.text);
        }
        return errors;
    }

    TestSupport::EngineServices services;
    RenderTesting::CountingRenderSystem render{&services.log, &services.config, 1, 1};
};

TEST_F(ResultCheck, SuccessCodesAreSilent)
{
    for (std::int32_t code : {0, 1, 2, 0x7FFFFFFF})
        CheckResult("RenderSystem_D3D7::BeginScene", code, &render);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ResultCheck, AFailureIsOneErrorLineWithTheContextAndTheText)
{
    CheckResult("RenderSystem_D3D7::BeginScene", Code(0x887601C2), &render);
    const std::vector<std::string> errors = Errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "\nError: Direct3D Subsystem (RenderSystem_D3D7::BeginScene): Access to the surface is "
                         "refused because the surface memory is gone. Call the IDirectDrawSurface7::Restore method on "
                         "this surface to restore the memory associated with it.!\n\n");
}

TEST_F(ResultCheck, QuotedTextsAreExact)
{
    const std::pair<std::uint32_t, const char*> quoted[] = {
        {0x8876024B, "This surface cannot be restored because it was created in a different mode."},
        {0x80004005, "There is an undefined error condition."},
        {0x80070057, "One or more of the parameters passed to the method are incorrect."},
        {0x8007000E, "DirectDraw does not have enough memory to perform the operation."},
        {0x8876017C, "DirectDraw does not have enough display memory to perform the operation."},
        {0x887600E1, "The operation requires the application to have exclusive mode, but the application does not "
                     "have exclusive mode."},
        {0x88760245, "An attempt was made to set the cooperative level when it was already set to exclusive."},
        {0x88760005, "The object has already been initialized."},
    };
    for (const auto& [code, text] : quoted)
        EXPECT_EQ(GetResultText(Code(code)), text) << std::hex << code;
}

TEST_F(ResultCheck, EveryDirectDrawCodeHasADescriptionAndOthersShowTheirNumber)
{
    const std::uint32_t codes[] = {
        0x88760005, 0x8876023E, 0x8876000A, 0x88760014, 0x88760249, 0x88760247, 0x887601B3, 0x88760280, 0x88760294,
        0x88760237, 0x88760190, 0x88760028, 0x8876021E, 0x8876026C, 0x887602BB, 0x88760232, 0x88760037, 0x88760245,
        0x887602B3, 0x80004005, 0x8876005A, 0x8876023B, 0x8876023A, 0x8876024C, 0x8876005F, 0x88760064, 0x8876006E,
        0x88760231, 0x88760078, 0x88760082, 0x80070057, 0x88760091, 0x88760243, 0x88760096, 0x88760209, 0x88760250,
        0x887600A0, 0x887602B2, 0x887602B5, 0x887600AA, 0x887600B4, 0x8876023F, 0x887600CD, 0x88760238, 0x887600D2,
        0x887600D7, 0x887600DC, 0x887600D4, 0x8876024A, 0x88760240, 0x88760233, 0x887600DE, 0x887602B9, 0x88760235,
        0x887600E1, 0x887600E6, 0x8876025A, 0x887600F0, 0x88760239, 0x8876024F, 0x887600FA, 0x887602B8, 0x88760276,
        0x88760258, 0x88760242, 0x88760104, 0x8876023C, 0x8876023D, 0x88760118, 0x88760122, 0x887600B5, 0x88760136,
        0x887600B6, 0x8876013C, 0x8876013D, 0x88760140, 0x88760244, 0x8876014A, 0x88760246, 0x887600FF, 0x800401F0,
        0x88760259, 0x88760248, 0x887602A8, 0x8876024D, 0x8876014F, 0x88760154, 0x8876015E, 0x88760168, 0x8007000E,
        0x8876017C, 0x8876010E, 0x8876017E, 0x88760180, 0x88760241, 0x88760183, 0x88760234, 0x88760236, 0x8876019A,
        0x887601A4, 0x887601AE, 0x887601B8, 0x887601C2, 0x887601CC, 0x887602B4, 0x887601D6, 0x887601E0, 0x887601EA,
        0x80004001, 0x887601FE, 0x88760208, 0x8876024E, 0x88760219, 0x887602B7, 0x8876021C, 0x8876024B, 0x88760230};
    std::set<std::string> texts;
    for (std::uint32_t code : codes) {
        const std::string text = GetResultText(Code(code));
        EXPECT_EQ(text.find("Unknown error"), std::string::npos) << std::hex << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(codes)); // no two codes share a description

    // Direct3D's own codes are not in the table: D3DERR_WRONGTEXTUREFORMAT.
    EXPECT_EQ(GetResultText(Code(0x88760818)), "Unknown error (Code: -2005530600)");
    EXPECT_EQ(GetResultText(-1), "Unknown error (Code: -1)");
}

} // namespace
