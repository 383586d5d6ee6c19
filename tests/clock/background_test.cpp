// The background picture in the real clock window: built-in pictures,
// bitmap files, pictures through hrl_spi and the shipped plug-in, and the
// fallbacks to "IMAGE0", read back from the pixels of faceBitmap.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/clock/clockform.h"
#include "app/settings/setupform.h"
#include "framework/bitmap_file.h"
#include "tests/clock/face_pictures.h"
#include "tests/framework/test_support.h"
#include "tests/spi/spi_test_support.h"

namespace {

using facetest::BuiltIn;
using facetest::kBottom;
using facetest::kTop;
using facetest::Pixels;
using facetest::ShowsPicture;
using facetest::TwoColourBmp;

constexpr COLORREF kBlank = RGB(0, 160, 0);

// A bitmap file with a colour table of kTop and kBottom, and the rows
// given (bottom row first; those left out are for the caller to add).
std::string PalettedBmp(int width, int height, int bitCount, const std::string& rows) {
    const std::uint32_t colours = 1u << bitCount, header = 14 + 40 + 4 * colours;
    std::string file = "BM";
    facetest::Put(file, header + (width * bitCount + 31) / 32 * 4 * height, 4);
    facetest::Put(file, 0, 4);
    facetest::Put(file, header, 4);
    for (const auto& [value, bytes] : {std::pair{40, 4}, {width, 4}, {height, 4}, {1, 2}, {bitCount, 2}, {0, 4},
                                       {0, 4}, {0, 4}, {0, 4}, {2, 4}, {0, 4}})
        facetest::Put(file, static_cast<std::uint32_t>(value), bytes);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const COLORREF c = i == 0 ? kTop : i == 1 ? kBottom : 0;
        file += {static_cast<char>(GetBValue(c)), static_cast<char>(GetGValue(c)), static_cast<char>(GetRValue(c)), 0};
    }
    return file + rows;
}

bool Similar(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 12 && std::abs(GetGValue(a) - GetGValue(b)) <= 12 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 12;
}

class Background : public ::testing::Test {
protected:
    void SetUp() override {
        clock.create();
        setup.create();
        clock.StartUp();
        ASSERT_NE(clock.LoaderHandle, nullptr);
    }
    void TearDown() override {
        clock.FormClose();
        fw::Application::instance().clearOnIdle();
    }

    std::vector<COLORREF> face() const { return Pixels(clock.faceBitmap()); }
    COLORREF at(int x, int y) const { return face()[y * 200 + x]; }

    // Plug-ins of a folder for hrl_spi, as the settings' directory gives them.
    void searchPlugins(const std::string& directory) {
        const auto search = fw::Export<hrlspi::SearchPluginFn>(clock.LoaderHandle, "SearchPlugin");
        ASSERT_GT(search(directory.c_str()), 0);
    }

    // A fresh start's picture controls, before the start-up choice.
    void freshControls() {
        setup.bgselector.setItemIndex(3);
        setup.bgfsel.setEnabled(true);
        setup.str_type.setEnabled(true);
        clock.BackgroundFile.clear();
        platform.boxes.clear();
        platform.beeps.clear();
    }

    // The settings dialog closed with a picture file chosen.
    void applyFile(const std::string& path, bool stretch) {
        setup.bgselector.setItemIndex(3);
        setup.str_type.setChecked(stretch);
        setup.bgspcol.setColor(kBlank);
        clock.BackgroundFile = path;
        clock.ApplySettings();
    }

    void expectFallback(const wchar_t* message) {
        EXPECT_EQ(setup.bgselector.itemIndex(), 0);
        EXPECT_TRUE(clock.BackgroundFile.empty());
        EXPECT_TRUE(ShowsPicture(face(), image0));
        if (!message) {
            EXPECT_TRUE(platform.boxes.empty());
            return;
        }
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, message);
        EXPECT_EQ(platform.boxes[0].caption, L"ｴﾗｰ");
        EXPECT_EQ(platform.boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_EQ(platform.beeps, (std::vector<UINT>{MB_ICONASTERISK}));
    }

    fwtest::RecordingPlatform platform;
    fw::PlatformOverride usePlatform{platform};
    TSetupform setup;
    Tclockform clock{setup};
    spitest::TempDir files;
    const std::vector<COLORREF> image0 = BuiltIn(0);
};

TEST_F(Background, AFirstStartShowsImage0WithTheFileControlsOff) {
    EXPECT_TRUE(ShowsPicture(face(), image0));
    EXPECT_EQ(setup.bgselector.itemIndex(), 0);
    EXPECT_FALSE(setup.bgfsel.enabled());
    EXPECT_FALSE(setup.str_type.enabled());
    EXPECT_TRUE(clock.BackgroundFile.empty());
}

TEST_F(Background, StartUpChoosesFromTheStoredValues) {
    files.write("fine.bmp", TwoColourBmp(20, 20));
    const struct {
        const char* name;
        horolo::StoredSettings stored;
        int item;
        int picture;  // -1: the picture file
        const wchar_t* message;
    } cases[] = {
        {"this version's item 2", {.version = "Version 1.00-Release", .resource = 2}, 2, 2, nullptr},
        {"another version", {.version = "Version 0.99", .resource = 2}, 0, 0, nullptr},
        {"item 3 without a file", {.version = "Version 1.00-Release", .resource = 3}, 0, 0, nullptr},
        {"no item", {.version = "Version 1.00-Release", .resource = -1}, 0, 0, nullptr},
        {"a picture file",
         {.version = "Version 1.00-Release", .background = files.file("fine.bmp"), .resource = 1}, 3, -1, nullptr},
        {"a missing file",
         {.version = "Version 1.00-Release", .background = files.file("gone.bmp"), .resource = 1}, 0, 0,
         L"Error:\n画像ファイルを読み込めません"},
        {"no extension", {.version = "Version 1.00-Release", .background = "C:\\pics.old\\photo", .resource = 1}, 0, 0,
         L"Error:\n画像形式が不明です"},
        {"no plug-in for it", {.background = files.file("photo.xyz")}, 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        freshControls();
        clock.ChooseStartupBackground(c.stored);
        EXPECT_EQ(setup.bgselector.itemIndex(), c.item);
        EXPECT_EQ(setup.bgfsel.enabled(), c.picture < 0);
        EXPECT_EQ(setup.str_type.enabled(), c.picture < 0);
        EXPECT_EQ(clock.BackgroundFile, c.picture < 0 ? c.stored.background : "");
        if (c.picture >= 0) {
            EXPECT_TRUE(ShowsPicture(face(), BuiltIn(c.picture)));
        }
        if (c.message) {
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text, c.message);
            EXPECT_EQ(platform.beeps, (std::vector<UINT>{MB_ICONASTERISK}));
        } else {
            EXPECT_TRUE(platform.boxes.empty());
        }
    }
}

TEST_F(Background, BitmapFilesAreFittedOnTheBlankColourOrStretched) {
    const struct {
        int w, h;
        bool stretch;
        bool topDown;
        struct Probe {
            int x, y;
            COLORREF colour;
        } probes[4];
    } cases[] = {
        {400, 300, false, false, {{100, 24, kBlank}, {100, 25, kTop}, {100, 174, kBottom}, {100, 175, kBlank}}},
        {300, 200, false, false, {{100, 32, kBlank}, {100, 33, kTop}, {100, 165, kBottom}, {100, 166, kBlank}}},
        {300, 400, false, false, {{24, 100, kBlank}, {25, 60, kTop}, {174, 140, kBottom}, {175, 100, kBlank}}},
        {400, 300, true, false, {{0, 0, kTop}, {199, 99, kTop}, {0, 100, kBottom}, {199, 199, kBottom}}},
        {40, 30, false, true, {{100, 24, kBlank}, {100, 25, kTop}, {100, 174, kBottom}, {100, 175, kBlank}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + (c.stretch ? " stretched" : "") +
                     (c.topDown ? " top-down" : ""));
        files.write("picture.bmp", TwoColourBmp(c.w, c.h, c.topDown));
        applyFile(files.file("picture.bmp"), c.stretch);
        EXPECT_EQ(setup.bgselector.itemIndex(), 3);
        EXPECT_EQ(clock.BackgroundFile, files.file("picture.bmp"));
        for (const auto& p : c.probes) EXPECT_EQ(at(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Background, UnreadableBitmapFilesFallBackToImage0) {
    std::string huge = TwoColourBmp(2, 2);
    huge[18] = '\x40', huge[19] = '\x9C', huge[22] = '\x40', huge[23] = '\x9C';  // 40000 by 40000
    std::string jpeg = TwoColourBmp(2, 2);
    jpeg[30] = 4;  // JPEG compression
    std::string zeroWidth = TwoColourBmp(2, 2);
    zeroWidth[18] = 0;
    std::string negativeWidth = TwoColourBmp(2, 2);
    negativeWidth[21] = '\xFF';
    const std::string good = TwoColourBmp(10, 10);
    std::string random(500, '\0');
    for (size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(i * 131 + 7);
    const struct {
        const char* name;
        std::string bytes;  // empty: no such file
    } cases[] = {
        {"missing", ""},          {"truncated", good.substr(0, good.size() - 5)},
        {"random bytes", random}, {"40000 by 40000", huge},
        {"JPEG inside", jpeg},    {"width 0", zeroWidth},
        {"negative width", negativeWidth},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = std::string(c.name) + ".bmp";
        if (!c.bytes.empty()) files.write(name, c.bytes);
        platform.boxes.clear();
        platform.beeps.clear();
        applyFile(files.file(name), false);
        expectFallback(L"Error:\n画像ファイルを読み込めません");
    }
}

// Pictures are limited by the bytes they take decoded, not by their pixels:
// 6000 by 6000 at one bit per pixel (rows of 752 bytes) is 4.5 MB.
TEST_F(Background, A6000By6000BitmapOfOneBitPerPixelLoads) {
    const std::string bottomHalf(752 * 3000, '\xFF'), topHalf(752 * 3000, '\0');
    files.write("large.bmp", PalettedBmp(6000, 6000, 1, bottomHalf + topHalf));
    applyFile(files.file("large.bmp"), false);
    EXPECT_EQ(clock.BackgroundFile, files.file("large.bmp"));
    EXPECT_EQ(at(100, 50), kTop);
    EXPECT_EQ(at(100, 150), kBottom);
    EXPECT_TRUE(platform.boxes.empty());
}

// A valid bitmap for which the address space has no room left is a file
// that cannot be read: the error box, and the start or the apply goes on.
TEST_F(Background, ABitmapWithoutRoomToHoldItFallsBackToImage0) {
    files.write("roomless.bmp", PalettedBmp(4096, 6144, 8, ""));
    files.extend("roomless.bmp", 14 + 40 + 1024 + 4096 * 6144);
    {
        const fwtest::AddressSpaceFill fill(16 << 20);
        applyFile(files.file("roomless.bmp"), false);
    }
    expectFallback(L"Error:\n画像ファイルを読み込めません");
}

// A 12000 by 12000 PNG of 18 KB: the shipped plug-in refuses it before it
// allocates or converts anything, and the clock falls back silently, as for
// any picture no plug-in decodes. The process never holds the picture.
TEST_F(Background, APluginPictureBeyondTheLimitFallsBackWithoutGrowingTheProcess) {
    searchPlugins(spitest::binDir());
    PROCESS_MEMORY_COUNTERS before{}, after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    applyFile(spitest::binDir() + "\\clock_pictures\\giant.png", false);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    expectFallback(nullptr);
    EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + (64 << 20))
        << before.PeakWorkingSetSize << " -> " << after.PeakWorkingSetSize;
}

TEST_F(Background, RealPngAndJpegThroughTheShippedPlugin) {
    searchPlugins(spitest::binDir());
    const std::string pictures = spitest::binDir() + "\\spi_pictures\\";
    for (const char* name : {"quad.png", "quad.jpg"}) {
        SCOPED_TRACE(name);
        applyFile(pictures + name, false);  // square: the whole face in both modes
        EXPECT_TRUE(Similar(at(50, 50), RGB(255, 0, 0)));
        EXPECT_TRUE(Similar(at(150, 50), RGB(0, 255, 0)));
        EXPECT_TRUE(Similar(at(50, 150), RGB(0, 0, 255)));
        EXPECT_TRUE(Similar(at(150, 150), RGB(255, 255, 255)));
    }
    // Halved, red and green columns keep their colours: whole pixels are
    // dropped, never combined (which would turn them black).
    applyFile(spitest::binDir() + "\\clock_pictures\\stripes.png", false);
    for (int x = 0; x < 200; x += 7) EXPECT_TRUE(at(x, 60) == RGB(255, 0, 0) || at(x, 60) == RGB(0, 255, 0)) << x;
    applyFile(spitest::binDir() + "\\clock_pictures\\wide.png", false);  // 300 by 200
    EXPECT_EQ(at(100, 32), kBlank);
    EXPECT_EQ(at(100, 33), RGB(0x20, 0x50, 0xA0));
    EXPECT_EQ(at(100, 165), RGB(0x20, 0x50, 0xA0));
    EXPECT_EQ(at(100, 166), kBlank);
    EXPECT_EQ(setup.bgselector.itemIndex(), 3);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(Background, ATopDownPluginPictureIsUprightAndFittedByItsRealHeight) {
    files.addPlugins({"topdown.spi"});
    searchPlugins(files.path());
    std::vector<unsigned char> rgb;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const COLORREF c = y < 5 ? kTop : kBottom;
            rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    files.write("tall.hrl", spitest::hrltPicture(20, 10, rgb));
    applyFile(files.file("tall.hrl"), false);
    EXPECT_EQ(at(100, 49), kBlank);
    EXPECT_EQ(at(100, 50), kTop);
    EXPECT_EQ(at(100, 149), kBottom);
    EXPECT_EQ(at(100, 150), kBlank);
}

TEST_F(Background, PluginFailuresFallBackSilently) {
    searchPlugins(spitest::binDir());
    files.write("broken.png", "not a picture at all");
    applyFile(files.file("broken.png"), false);
    expectFallback(nullptr);

    const HMODULE library = clock.LoaderHandle;  // as if hrl_spi were missing
    clock.LoaderHandle = nullptr;
    applyFile(spitest::binDir() + "\\spi_pictures\\quad.png", false);
    clock.LoaderHandle = library;
    expectFallback(nullptr);
}

TEST_F(Background, NoGdiObjectLeaksOverAHundredLoads) {
    searchPlugins(spitest::binDir());
    files.write("picture.bmp", TwoColourBmp(40, 30));
    const std::string png = spitest::binDir() + "\\spi_pictures\\quad.png";
    auto loads = [&](int count) {
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(clock.LoadBackgroundFile(i % 2 ? png : files.file("picture.bmp"), i % 3 == 0, kBlank));
            clock.ChooseStartupBackground({.version = "Version 1.00-Release", .resource = i % 3});
            fw::Application::instance().processMessages();
        }
    };
    // What the loads leave for good (caches of the progress window and of the
    // system, some made only when the window gets to paint under load, at
    // any load of the run) is not a leak: a leak grows with every hundred
    // loads, so of two hundreds in a row one at least leaves the count alone.
    loads(100);
    int counts[3] = {fw::GdiObjectCount()};
    for (int round = 1; round < 3; ++round) {
        loads(100);
        counts[round] = fw::GdiObjectCount();
    }
    EXPECT_TRUE(counts[1] == counts[0] || counts[2] == counts[1])
        << counts[0] << ", " << counts[1] << ", " << counts[2];
}

}  // namespace
