// Damaged input of every kind the foundation reads: each truncation of a valid file and thousands of seeded byte
// flips must be read without a crash, an endless loop or a sanitizer report.
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/PackFile.h"
#include "tests/support/PackWriter.h"

#include <gtest/gtest.h>
#include <random>

using namespace KeystrelEngine;
using namespace TestSupport;

namespace {

// Every prefix of bytes, then `flips` copies with one to four random bytes changed.
std::vector<Bytes> Variants(const Bytes& bytes, int flips, unsigned seed)
{
    std::vector<Bytes> variants;
    for (std::size_t length = 0; length < bytes.size(); ++length)
        variants.emplace_back(bytes.begin(), bytes.begin() + length);
    std::mt19937 random(seed);
    for (int i = 0; i < flips; ++i) {
        Bytes damaged = bytes;
        for (int n = 1 + random() % 4; n > 0; --n)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        variants.push_back(std::move(damaged));
    }
    return variants;
}

class MalformedInput : public ::testing::Test
{
protected:
    MessageManager m_log{"", "Test", "", false, false};
};

} // namespace

TEST_F(MalformedInput, DamagedPacksAreRefusedOrReadSafely)
{
    const Bytes pack = BuildPack(
        {{"data\\a.txt", ToBytes("alpha")}, {"data\\ui\\b.jpg", ToBytes(std::string(300, 'b'))}, {"data\\c.bin", {}}});
    const std::string path = FreshFolder("malformed") + "/damaged.pak";
    int loaded = 0;
    for (const Bytes& variant : Variants(pack, 3000, 1)) {
        WriteFile(path, variant);
        try {
            PackFile file(path, &m_log);
            ++loaded;
            std::vector<std::string> names;
            file.ListFolder("data", "*", names);
            for (const std::string& name : names) {
                std::uint32_t size = 0;
                file.GetSize(name, size);
                Bytes buffer(size);
                file.ReadEntry(name, buffer.data());
            }
        } catch (const Error&) {
        }
        m_log.m_history.clear();
    }
    EXPECT_GT(loaded, 0); // flips inside the contents leave loadable packs
}

TEST_F(MalformedInput, DamagedTextFilesReadToTheirEnd)
{
    Bytes text = {0xEF, 0xBB, 0xBF};
    for (char c : std::string("name 12 // comment\r\n\xE2\x82\xAC value 3.5\r\nlast"))
        text.push_back(static_cast<std::uint8_t>(c));
    for (const Bytes& variant : Variants(text, 3000, 2)) {
        for (int pass = 0; pass < 3; ++pass) {
            FileTextual file(
                std::make_unique<FileBinary>("t.txt", static_cast<std::uint32_t>(variant.size()), variant.data()),
                FileTextual::ModeRead);
            std::string line;
            std::u16string wide;
            int reads = 0;
            while ((pass == 0 ? file.ReadLine(line) : pass == 1 ? file.ReadLine(line, true) : file.ReadLineW(wide)))
                ASSERT_LT(++reads, 1000);
            file.ReadInt();
            file.ReadFloat();
        }
    }
}

TEST_F(MalformedInput, DamagedConfigurationFilesLoad)
{
    const std::string folder = FreshFolder("malformed-config");
    FileManager files(&m_log, BaseFolder(), "Data");
    Config config("Quellhaven", folder, &m_log, &files, "1024x768x32", false, false, false);
    const Bytes valid = ToBytes("v_mode 1280x1024x32\r\nv_gamma 1.500000\r\nr_texture_anisotropy 4\r\n"
                                "\\\\g_unknown 5 \\\\ x\r\nc_invert_mouse 1\r\n");
    for (const Bytes& variant : Variants(valid, 2000, 3)) {
        WriteFile(folder + "/Quellhaven.ini", variant);
        config.Load();
        config.Update();
        config.EndFrame();
    }
}
