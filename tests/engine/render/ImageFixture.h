// What the image tests share: a log that keeps its entries in memory, a file manager over the test's base folder,
// and small helpers to build, compare and find images and log lines.
#pragma once

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/render/Image.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ImageTesting {

class ImageFixture : public ::testing::Test
{
protected:
    // The Linux path of a name below the base folder.
    static std::string PathOf(const std::string& name) { return TestSupport::BaseFolder() + "/" + name; }

    // An image of the given size and depth whose bytes are the given values, row 0 (the bottom row) first.
    KeystrelEngine::Image MakeImage(std::uint32_t width, std::uint32_t height, std::uint32_t bits,
                                    const std::vector<std::uint8_t>& bytes)
    {
        KeystrelEngine::Image image;
        image.Create(&m_log, width, height, bits);
        EXPECT_EQ(bytes.size(), image.GetByteCount());
        std::copy(bytes.begin(), bytes.end(), image.GetPixels());
        return image;
    }

    // An image whose every byte differs from its neighbours, so that row and channel mix-ups show.
    KeystrelEngine::Image MakePattern(std::uint32_t width, std::uint32_t height, std::uint32_t bits)
    {
        KeystrelEngine::Image image;
        image.Create(&m_log, width, height, bits);
        for (std::size_t i = 0; i < image.GetByteCount(); ++i)
            image.GetPixels()[i] = static_cast<std::uint8_t>(i * 7 + 3);
        return image;
    }

    static std::vector<std::uint8_t> BytesOf(const KeystrelEngine::Image& image)
    {
        return {image.GetPixels(), image.GetPixels() + image.GetByteCount()};
    }

    static std::vector<std::uint8_t> PixelAt(const KeystrelEngine::Image& image, std::uint32_t x, std::uint32_t y)
    {
        const std::uint8_t* pixel = image.GetRow(y) + x * image.GetBytesPerPixel();
        return {pixel, pixel + image.GetBytesPerPixel()};
    }

    // Entries of the given kind written since the test began.
    std::vector<std::string> Entries(unsigned kind) const
    {
        std::vector<std::string> texts;
        for (const auto& record : m_log.m_history) {
            if (record.kind == kind)
                texts.push_back(record.text);
        }
        return texts;
    }

    std::vector<std::string> Errors() const { return Entries(KeystrelEngine::MessageManager::KindError); }

    // Success when exactly one error line was written and it is the whole line the log writes for text.
    ::testing::AssertionResult LoggedOneError(const std::string& text) const
    {
        const std::vector<std::string> errors = Errors();
        const std::string line = "\nError: " + text + "!\n\n";
        if (errors.size() == 1 && errors[0] == line)
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult failure = ::testing::AssertionFailure()
                                             << "expected only \"" << line << "\", logged:";
        for (const std::string& error : errors)
            failure << " \"" << error << "\"";
        return failure;
    }

    void SetUp() override { m_log.m_history.clear(); }

    KeystrelEngine::MessageManager m_log{"", "ImageTest", "", false, false};
    KeystrelEngine::FileManager m_files{&m_log, TestSupport::BaseFolder(), "Data"};
};

} // namespace ImageTesting
