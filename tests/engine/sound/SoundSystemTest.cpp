#include "SoundTestBed.h"

#include "engine/foundation/Error.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace SoundTesting;
using PlatformTesting::SoundCall;

namespace {

class SoundSystemTest : public ::testing::Test
{
protected:
    void SetUp() override { PlatformTesting::UseManualSoundOutput(22050); }
    void TearDown() override
    {
        PlatformTesting::ClearSoundFailures();
        PlatformTesting::UseManualSoundOutput(0);
        EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0);
    }

    std::unique_ptr<SoundSystem_DS7> Create(bool enable3D)
    {
        return std::make_unique<SoundSystem_DS7>(&m_log, &m_files, nullptr, TestWindow(), enable3D);
    }

    std::size_t CountLines(const std::string& line) const
    {
        return static_cast<std::size_t>(std::count_if(m_log.m_history.begin(), m_log.m_history.end(),
                                                      [&](const auto& record) { return record.text == line; }));
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const auto& record : m_log.m_history)
            lines.push_back(record.text);
        return lines;
    }

    MessageManager m_log{"", "Test", "", false, false};
    FileManager m_files{&m_log, "", "Data"};
};

std::string ErrorLine(const std::string& text)
{
    return "\nError: " + text + "!\n\n";
}

} // namespace

TEST_F(SoundSystemTest, StartUpAndShutDownLogEveryStep)
{
    m_log.m_history.clear();
    auto system = Create(true);
    EXPECT_TRUE(system->Is3DEnabled());
    system.reset();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"\nInitialization of DirectSound Subsystem:\n",
                                                 "...Creating a device...\n", "...Set cooperative level...\n",
                                                 "...Create primary buffer...\n", "...Set primary buffer format...\n",
                                                 "...Get the 3D listener from the primary buffer...\n", "\n",
                                                 "DirectSound system destroying:\n", "...Releasing 3D listener...\n",
                                                 "...Releasing primary buffer...\n", "...Releasing device...\n"}));
}

TEST_F(SoundSystemTest, WithoutThreeDimensionalSoundNoListenerIsAskedFor)
{
    m_log.m_history.clear();
    auto system = Create(false);
    EXPECT_FALSE(system->Is3DEnabled());
    for (const std::string& line : Lines())
        EXPECT_EQ(line.find("listener"), std::string::npos) << line;
}

TEST_F(SoundSystemTest, EachFailedStartUpStepLogsItsLineAndReleasesWhatExistsOnce)
{
    struct Case
    {
        SoundCall call;
        const char* line;
        std::vector<std::string> releases;
    };
    const Case cases[] = {
        {SoundCall::Create, "Failed to create a device", {}},
        {SoundCall::SetCooperativeLevel, "Failed to set cooperative level", {"...Releasing device...\n"}},
        {SoundCall::CreatePrimaryBuffer, "Failed to create primary buffer", {"...Releasing device...\n"}},
        {SoundCall::SetFormat,
         "Failed to set primary buffer format",
         {"...Releasing primary buffer...\n", "...Releasing device...\n"}},
    };
    for (const Case& test : cases) {
        PlatformTesting::ClearSoundFailures();
        PlatformTesting::FailSoundCall(test.call, DSERR_GENERIC);
        m_log.m_history.clear();
        try {
            Create(true);
            ADD_FAILURE() << test.line << ": no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.GetText(), "");
        }
        std::vector<std::string> lines = Lines();
        const auto failure = std::find(lines.begin(), lines.end(), ErrorLine(test.line));
        ASSERT_NE(failure, lines.end()) << test.line;
        std::vector<std::string> tail(failure + 1, lines.end());
        std::vector<std::string> expected{"DirectSound system destroying:\n"};
        expected.insert(expected.end(), test.releases.begin(), test.releases.end());
        EXPECT_EQ(tail, expected) << test.line;
        EXPECT_EQ(PlatformTesting::LiveSoundObjects(), 0) << test.line;
    }
}

TEST_F(SoundSystemTest, AMissingListenerTurnsThreeDimensionalSoundOff)
{
    PlatformTesting::FailSoundCall(SoundCall::GetListener, DSERR_NOINTERFACE);
    auto system = Create(true);
    EXPECT_FALSE(system->Is3DEnabled());
    EXPECT_EQ(CountLines(ErrorLine("Failed to get the 3D listener from the primary buffer")), 1u);
}

TEST_F(SoundSystemTest, ResultCheckDescribesKnownAndUnknownCodes)
{
    auto system = Create(false);
    m_log.m_history.clear();
    system->CheckResult("SoundBuffer_DS7::Play", DS_OK);
    system->CheckResult("SoundBuffer_DS7::Play", DSERR_BUFFERLOST);
    system->CheckResult("Somewhere", static_cast<HRESULT>(0x88780001u));
    system->CheckResult("Somewhere", S_FALSE);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{
                  ErrorLine("DirectSound Subsystem (SoundBuffer_DS7::Play): The buffer memory has been lost and must "
                            "be restored."),
                  ErrorLine("DirectSound Subsystem (Somewhere): Unknown error (Code: -2005401599)"),
                  ErrorLine("DirectSound Subsystem (Somewhere): Unknown error (Code: 1)")}));
}

TEST_F(SoundSystemTest, RefreshRestoresALostPrimaryBuffer)
{
    auto system = Create(true);
    PlatformTesting::LoseSoundBuffers();
    EXPECT_EQ(PlatformTesting::LostSoundBuffers(), 1);
    system->Refresh();
    EXPECT_EQ(PlatformTesting::LostSoundBuffers(), 0);

    PlatformTesting::FailSoundCall(SoundCall::CommitDeferredSettings, DSERR_INVALIDCALL);
    m_log.m_history.clear();
    system->Refresh();
    EXPECT_EQ(Lines(), (std::vector<std::string>{ErrorLine("DirectSound Subsystem (SoundSystem_DS7::Refresh): This "
                                                           "function is not valid for the current state of this "
                                                           "object.")}));
}

TEST_F(SoundSystemTest, WithoutAnAudioDeviceTheSystemPlaysSilentlyWithAWarning)
{
    PlatformTesting::UseManualSoundOutput(0);
    PlatformTesting::FailSoundCall(SoundCall::OpenOutput, DSERR_NODRIVER);
    auto system = Create(false);
    EXPECT_EQ(CountLines("\nWarning: No audio device could be opened, the sound plays silently!\n\n"), 1u);
}
