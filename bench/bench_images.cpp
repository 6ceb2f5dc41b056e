// Decoding a 1024 x 1024 JPEG through Image::Load (engine file object, own data source, bottom-up rows) against
// the library alone (stdio source, rows as they come), in the same run. Prints the best and median times of each
// and the ratio of the medians.
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Random.h"
#include "engine/render/Image.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace KeystrelEngine;

namespace {

constexpr std::uint32_t kSize = 1024;
constexpr int kRounds = 25;

// A picture with both smooth areas and detail, so the coder has real work.
Image MakePicture(MessageManager* log)
{
    Image image;
    image.Create(log, kSize, kSize, 24);
    RandomSeed = 1;
    for (std::uint32_t y = 0; y < kSize; ++y) {
        std::uint8_t* row = image.GetRow(y);
        for (std::uint32_t x = 0; x < kSize; ++x) {
            const std::uint32_t noise = RandomInt(32);
            row[3 * x] = static_cast<std::uint8_t>((x / 4 + noise) & 255);
            row[3 * x + 1] = static_cast<std::uint8_t>((y / 4 + ((x ^ y) & 16 ? 64 : 0)) & 255);
            row[3 * x + 2] = static_cast<std::uint8_t>((x + y) / 8 + noise);
        }
    }
    return image;
}

bool DecodeWithLibrary(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t rowSize = std::size_t{info.output_width} * info.output_components;
    const auto pixels = std::make_unique_for_overwrite<JSAMPLE[]>(rowSize * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.get() + info.output_scanline * rowSize;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}

struct Timing
{
    double best;
    double median;
};

Timing Measure(const std::function<bool()>& decode)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!decode()) {
            std::printf("bench_images: decoding failed\n");
            std::exit(0);
        }
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

} // namespace

int main()
{
    std::string folder = (std::filesystem::temp_directory_path() / "keystrel-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::printf("bench_images: no temporary folder\n");
        return 0;
    }
    {
        MessageManager log("", "bench_images", "", false, false);
        FileManager files(&log, folder, "Data");
        const Image picture = MakePicture(&log);
        if (!Image::Save(picture, "picture.jpg", &files)) {
            std::printf("bench_images: the picture could not be saved\n");
            return 0;
        }
        const std::string path = folder + "/picture.jpg";
        const auto bytes = std::filesystem::file_size(path);

        DecodeWithLibrary(path); // warm the file cache for both
        const Timing engine = Measure([&] {
            Image image;
            return Image::Load(&files, "picture.jpg", image, &log);
        });
        const Timing library = Measure([&] { return DecodeWithLibrary(path); });

        std::printf("bench_images: %ux%u JPEG, %ju bytes, %d rounds\n", kSize, kSize,
                    static_cast<std::uintmax_t>(bytes), kRounds);
        std::printf("  Image::Load      best %7.3f ms  median %7.3f ms\n", engine.best, engine.median);
        std::printf("  libjpeg directly best %7.3f ms  median %7.3f ms\n", library.best, library.median);
        std::printf("  ratio (median)   %.3f (target <= 1.15)\n", engine.median / library.median);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
