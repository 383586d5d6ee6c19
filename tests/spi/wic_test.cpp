// The shipped plug-in hrlwic.spi decoding real PNG, JPEG, GIF and TIFF files
// (made by ImageMagick at build time) through hrl_spi.dll and directly.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/gdi.h"
#include "spi_loader/plugin_api.h"
#include "spi_test_support.h"

using namespace spitest;

namespace {

std::string pictureDir() { return binDir() + "\\spi_pictures"; }

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A decoded picture, locked for reading.
class Decoded {
public:
    Decoded(HLOCAL pixels, const BITMAPINFOHEADER& header) : pixels_(pixels), header_(header) {
        bits_ = static_cast<const unsigned char*>(LocalLock(pixels_));
    }
    ~Decoded() {
        LocalUnlock(pixels_);
        LocalFree(pixels_);
    }
    // Colour of the pixel at x, y counted from the top, as RGB.
    COLORREF at(int x, int y) const {
        const int stride = (header_.biWidth * header_.biBitCount + 31) / 32 * 4;
        const int row = header_.biHeight > 0 ? header_.biHeight - 1 - y : y;
        const unsigned char* p = bits_ + row * stride + x * header_.biBitCount / 8;
        return RGB(p[2], p[1], p[0]);
    }

private:
    HLOCAL pixels_;
    BITMAPINFOHEADER header_;
    const unsigned char* bits_;
};

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string PngChunk(const std::string& type, const std::string& data) {
    return BigEndian(static_cast<std::uint32_t>(data.size())) + type + data + BigEndian(Crc32(type + data));
}

// A valid PNG header declaring width x height RGB pixels, and no pixel data.
std::string HugePng(std::uint32_t width, std::uint32_t height) {
    const std::string header = BigEndian(width) + BigEndian(height) + std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", header) + PngChunk("IEND", "");
}

bool similar(COLORREF actual, COLORREF expected, int tolerance) {
    return std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
           std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
           std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance;
}

class ShippedPlugin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(lib.SearchPlugin(binDir().c_str()), 4); }

    // Loads through SPI_LoadImageEx; fails the test when the load fails.
    void load(const std::string& path) {
        ASSERT_EQ(lib.SPI_LoadImageEx(path.c_str(), &pixels, header.info()), 1) << path;
        ASSERT_NE(pixels, nullptr);
        ASSERT_EQ(LocalFlags(pixels) & LMEM_LOCKCOUNT, 0u);
        const BITMAPINFOHEADER& bi = header.info()->bmiHeader;
        ASSERT_TRUE(bi.biBitCount == 24 || bi.biBitCount == 32);
        ASSERT_GT(bi.biHeight, 0);  // bottom-up
        ASSERT_GE(LocalSize(pixels), static_cast<SIZE_T>((bi.biWidth * bi.biBitCount / 8 + 3) / 4 * 4 * bi.biHeight));
        picture = std::make_unique<Decoded>(pixels, bi);
    }
    void expectQuadrants(int tolerance) {
        const BITMAPINFOHEADER& bi = header.info()->bmiHeader;
        EXPECT_EQ(bi.biWidth, 64);
        EXPECT_EQ(bi.biHeight, 64);
        EXPECT_TRUE(similar(picture->at(16, 16), RGB(255, 0, 0), tolerance));
        EXPECT_TRUE(similar(picture->at(48, 16), RGB(0, 255, 0), tolerance));
        EXPECT_TRUE(similar(picture->at(16, 48), RGB(0, 0, 255), tolerance));
        EXPECT_TRUE(similar(picture->at(48, 48), RGB(255, 255, 255), tolerance));
    }

    Library lib;
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    std::unique_ptr<Decoded> picture;
};

void expectSixPixels(const Decoded& p) {
    EXPECT_EQ(p.at(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(p.at(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(p.at(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(p.at(0, 1), RGB(255, 255, 255));
    EXPECT_EQ(p.at(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(p.at(2, 1), RGB(10, 20, 30));
}

}  // namespace

TEST_F(ShippedPlugin, DeclaresItsFormats) {
    const auto r = lib.records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_STREQ(r[0]->filter, "*.tif;*.tiff");
    EXPECT_STREQ(r[1]->filter, "*.gif");
    EXPECT_STREQ(r[2]->filter, "*.jpg;*.jpeg");
    EXPECT_STREQ(r[3]->filter, "*.png");
    EXPECT_STREQ(r[3]->description, "PNG \x89\xe6\x91\x9c");
    for (const auto* rec : r) EXPECT_STREQ(rec->fileName, "hrlwic.spi");
}

TEST_F(ShippedPlugin, PngPixelsExactly) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\six.png"));
    EXPECT_EQ(header.info()->bmiHeader.biWidth, 3);
    EXPECT_EQ(header.info()->bmiHeader.biHeight, 2);
    expectSixPixels(*picture);
    EXPECT_FALSE(moduleLoaded("hrlwic.spi"));
}

TEST_F(ShippedPlugin, PngWithAlphaKeepsItsColours) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\alpha.png"));
    expectSixPixels(*picture);
}

TEST_F(ShippedPlugin, SixteenBitGreyPng) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\grey16.png"));
    EXPECT_EQ(header.info()->bmiHeader.biWidth, 8);
    EXPECT_TRUE(similar(picture->at(0, 0), RGB(255, 255, 255), 2));
    EXPECT_TRUE(similar(picture->at(0, 7), RGB(0, 0, 0), 2));
}

TEST_F(ShippedPlugin, JpegPixelsWithinTolerance) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\quad.jpg"));
    expectQuadrants(12);
}

TEST_F(ShippedPlugin, ProgressiveJpegUpperCaseExtension) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\PROG.JPEG"));
    expectQuadrants(12);
}

TEST_F(ShippedPlugin, GifAndTiff) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\quad.gif"));
    expectQuadrants(0);
    picture.reset();
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\quad.tif"));
    expectQuadrants(0);
}

TEST_F(ShippedPlugin, JapaneseFileName) {
    const TempDir dir;
    const std::string path = dir.file("\x8E\xCA\x90\x5E.png");  // 写真.png in the ANSI code page
    ASSERT_TRUE(CopyFileA((pictureDir() + "\\six.png").c_str(), path.c_str(), FALSE));
    ASSERT_NO_FATAL_FAILURE(load(path));
    expectSixPixels(*picture);
}

TEST_F(ShippedPlugin, BrokenFilesFailCleanly) {
    const TempDir dir;
    const std::string png = readAll(pictureDir() + "\\quad.png");
    const std::string jpg = readAll(pictureDir() + "\\quad.jpg");
    dir.write("truncated.png", png.substr(0, png.size() / 2));
    dir.write("header_only.jpg", jpg.substr(0, 200));
    dir.write("signature.png", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(500, 'x'));
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    dir.write("noise.jpg", noise);
    dir.write("empty.png", "");
    dir.write("huge.png", HugePng(30000, 30000));
    dir.write("wide.png", HugePng(0x7FFFFFFF, 1));
    for (const char* name :
         {"truncated.png", "header_only.jpg", "signature.png", "noise.jpg", "empty.png", "huge.png", "wide.png"}) {
        HLOCAL h = reinterpret_cast<HLOCAL>(1);
        EXPECT_EQ(lib.SPI_LoadImageEx(dir.file(name).c_str(), &h, header.info()), 0) << name;
        EXPECT_EQ(h, nullptr) << name;
    }
    EXPECT_TRUE(header.guardIntact());
    EXPECT_FALSE(IsWindowVisible(lib.progressWindow()));
}

TEST_F(ShippedPlugin, ShowsProgressAndHidesItAfterwards) {
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\big.jpg"));
    EXPECT_FALSE(IsWindowVisible(lib.progressWindow()));
    EXPECT_EQ(header.info()->bmiHeader.biWidth, 1200);
    EXPECT_EQ(header.info()->bmiHeader.biHeight, 900);
}

TEST_F(ShippedPlugin, AbortStopsTheDecode) {
    const HWND window = lib.progressWindow();
    PostMessageA(window, WM_NULL, 0, 0);
    PostMessageA(lib.abortButton(), BM_CLICK, 0, 0);
    HLOCAL h = reinterpret_cast<HLOCAL>(1);
    EXPECT_EQ(lib.SPI_LoadImageEx((pictureDir() + "\\big.jpg").c_str(), &h, header.info()), 0);
    EXPECT_EQ(h, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(ShippedPlugin, CallersApartmentIsLeftAsItWas) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\six.png"));
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);  // still initialised
    CoUninitialize();
    CoUninitialize();
    // Not initialised before: not initialised after.
    picture.reset();
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\six.png"));
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    // A thread in the multithreaded apartment decodes too and stays in it.
    picture.reset();
    ASSERT_NO_FATAL_FAILURE(load(pictureDir() + "\\six.png"));
    expectSixPixels(*picture);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
}

namespace {

class DirectCall : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module, nullptr);
        info = fw::Export<hrlspi::GetPluginInfoFn>(module, "GetPluginInfo");
        isSupported = fw::Export<hrlspi::IsSupportedFn>(module, "IsSupported");
        getPicture = fw::Export<hrlspi::GetPictureFn>(module, "GetPicture");
    }
    void TearDown() override { FreeLibrary(module); }

    HMODULE module = LoadLibraryA((binDir() + "\\hrlwic.spi").c_str());
    hrlspi::GetPluginInfoFn info = nullptr;
    hrlspi::IsSupportedFn isSupported = nullptr;
    hrlspi::GetPictureFn getPicture = nullptr;
};

int __stdcall countReports(int n, int d, long data) {
    auto* reports = reinterpret_cast<std::string*>(data);
    *reports += std::to_string(n) + "/" + std::to_string(d) + " ";
    return 0;
}

}  // namespace

TEST_F(DirectCall, InfoTextsAreTerminatedWithinTheLength) {
    char buf[16];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(info(0, buf, 16), 4);
    EXPECT_STREQ(buf, "00IN");
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(info(4, buf, 8), 7);
    EXPECT_STREQ(buf, "*.jpg;*");
    EXPECT_EQ(info(10, buf, 16), 0);
    EXPECT_EQ(info(-2, buf, 16), 0);
}

TEST_F(DirectCall, IsSupportedReadsEitherForm) {
    const std::string png = readAll(pictureDir() + "\\six.png");
    char head[2048] = {};
    std::memcpy(head, png.data(), png.size() < sizeof head ? png.size() : sizeof head);
    char name[] = "six.png";
    EXPECT_EQ(isSupported(name, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(head))), 1);
    const std::string text(2048, 'a');
    EXPECT_EQ(isSupported(name, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(text.data()))), 0);
}

TEST_F(DirectCall, NeitherAWildPointerNorAnExceptionTakesTheHostDown) {
    char name[] = "six.png";
    EXPECT_EQ(isSupported(name, static_cast<DWORD>(HFILE_ERROR)), 0);  // what a failed _lopen gives
    void* reserved = VirtualAlloc(nullptr, 1 << 16, MEM_RESERVE, PAGE_NOACCESS);
    EXPECT_EQ(isSupported(name, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(reserved))), 0);
    VirtualFree(reserved, 0, MEM_RELEASE);
    // A picture in memory of a length no 32-bit process can copy: the copy
    // throws inside the export, which answers "out of memory".
    char small[16] = {};
    HANDLE info = nullptr, pixels = nullptr;
    EXPECT_EQ(getPicture(small, 0x7FFFFFF0, 1, &info, &pixels, nullptr, 0), 4);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(pixels, nullptr);
}

TEST_F(DirectCall, DecodesFromMemoryAndFromAnOffset) {
    std::string bytes = readAll(pictureDir() + "\\six.png");
    HANDLE info = nullptr, pixels = nullptr;
    std::string reports;
    ASSERT_EQ(getPicture(bytes.data(), static_cast<long>(bytes.size()), 1, &info, &pixels, countReports,
                         reinterpret_cast<long>(&reports)),
              0);
    EXPECT_EQ(reports, "0/100 10/100 100/100 ");
    {
        const Decoded p(pixels, *static_cast<BITMAPINFOHEADER*>(LocalLock(info)));
        expectSixPixels(p);
    }
    LocalUnlock(info);
    LocalFree(info);

    const TempDir dir;
    dir.write("packed.bin", std::string(10, 'z') + bytes);
    std::string path = dir.file("packed.bin");
    ASSERT_EQ(getPicture(path.data(), 10, 0, &info, &pixels, nullptr, 0), 0);
    {
        const Decoded p(pixels, *static_cast<BITMAPINFOHEADER*>(LocalLock(info)));
        expectSixPixels(p);
    }
    LocalUnlock(info);
    LocalFree(info);
}
