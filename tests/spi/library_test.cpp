// hrl_spi.dll through its exports, with the test plug-ins.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "spi_test_support.h"

using namespace spitest;

namespace {

const std::vector<unsigned char> kSixPixels = {255, 0, 0, 0, 255, 0, 0, 0, 255,  // top row: red green blue
                                               255, 255, 255, 0, 0, 0, 10, 20, 30};

class SpiLibrary : public ::testing::Test {
protected:
    Library lib;
    TempDir dir;
    int search() { return lib.SearchPlugin(dir.path().c_str()); }
    std::string picture(const std::string& name = "pic.hrl") {
        dir.write(name, hrltPicture(3, 2, kSixPixels));
        takeLog();
        return dir.file(name);
    }
    int indexOf(const char* fileName) {
        const auto records = lib.records();
        for (size_t i = 0; i < records.size(); ++i)
            if (std::strcmp(records[i]->fileName, fileName) == 0) return static_cast<int>(i);
        return -1;
    }
};

// The six pixels above as a 24-bit bottom-up DIB: BGR, rows padded to 12
// bytes, the bottom row first.
void expectSixPixels(HLOCAL pixels) {
    const auto* p = static_cast<const unsigned char*>(LocalLock(pixels));
    ASSERT_NE(p, nullptr);
    const unsigned char bottom[] = {255, 255, 255, 0, 0, 0, 30, 20, 10};
    const unsigned char top[] = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    EXPECT_EQ(std::memcmp(p, bottom, 9), 0);
    EXPECT_EQ(std::memcmp(p + 12, top, 9), 0);
    LocalUnlock(pixels);
}

LRESULT CALLBACK countKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR keys) {
    if (message == WM_KEYDOWN) ++*reinterpret_cast<int*>(keys);
    return DefSubclassProc(window, message, wParam, lParam);
}

// Order in which the platform lists *.SPI in a folder.
std::vector<std::string> listing(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((dir + "\\*.SPI").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

}  // namespace

TEST_F(SpiLibrary, DirectoryWithOrWithoutBackslashFindsTheSamePlugins) {
    dir.addPlugins({"one.spi", "three.spi"});
    EXPECT_EQ(lib.SearchPlugin(dir.path().c_str()), 4);
    EXPECT_EQ(lib.SearchPlugin((dir.path() + "\\").c_str()), 4);
    // The directory is kept normalised: CheckFormat finds the plug-in file.
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(lib.QueryExtension(0, "hrl"), pic.c_str()), 1);
}

TEST_F(SpiLibrary, DriveWithColonSearchesThatDrivesCurrentDirectory) {
    dir.addPlugins({"one.spi"});
    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    const std::string drive = dir.path().substr(0, 2);  // "C:"
    EXPECT_EQ(lib.SearchPlugin(drive.c_str()), 1);
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(0, pic.c_str()), 1);
    SetCurrentDirectoryA(old);
}

TEST_F(SpiLibrary, EmptyDirectoryMeansCurrentDirectoryAndBareNames) {
    dir.addPlugins({"one.spi"});
    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    EXPECT_EQ(lib.SearchPlugin(""), 1);
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(0, pic.c_str()), 1);
    EXPECT_NE(takeLog().find("one.spi:IsSupported(handle,pic.hrl)=1"), std::string::npos);
    SetCurrentDirectoryA(old);
}

TEST_F(SpiLibrary, MissingOrEmptyDirectoryGivesNoRecordsAndDropsTheOldChain) {
    dir.addPlugins({"one.spi"});
    EXPECT_EQ(search(), 1);
    EXPECT_EQ(lib.SearchPlugin((dir.path() + "\\nowhere").c_str()), 0);
    DataChainRecord* head = reinterpret_cast<DataChainRecord*>(1);
    EXPECT_EQ(lib.GetDataChain(&head), 0);
    EXPECT_EQ(head, nullptr);
    const TempDir empty;
    EXPECT_EQ(lib.SearchPlugin(empty.path().c_str()), 0);
}

TEST_F(SpiLibrary, DirectoryTooLongForThePathBufferFindsNothing) {
    dir.addPlugins({"one.spi"});
    EXPECT_EQ(search(), 1);
    const std::string longDir = dir.path() + "\\" + std::string(300 - dir.path().size(), 'a');
    EXPECT_EQ(lib.SearchPlugin(longDir.c_str()), 0);
    EXPECT_EQ(lib.GetDataChain(nullptr), 0);
}

// This plug-in answers no info number but 0 when the buffer is shorter
// than 64 bytes, and logs every number it is asked.
TEST_F(SpiLibrary, FormatsAreAskedWithRoomAndStandLastDeclaredFirst) {
    dir.addPlugins({"picky.spi"});
    ASSERT_EQ(search(), 3);
    EXPECT_EQ(takeLog(), "picky.spi:attach;picky.spi:info(0);picky.spi:info(2);picky.spi:info(3);"
                         "picky.spi:info(4);picky.spi:info(5);picky.spi:info(6);picky.spi:info(7);"
                         "picky.spi:info(8);picky.spi:detach;");
    const auto r = lib.records();
    EXPECT_STREQ(r[0]->filter, "*.hrl");
    EXPECT_STREQ(r[0]->description, "third format");
    EXPECT_STREQ(r[1]->filter, "*.tp2;*.tp3");
    EXPECT_STREQ(r[2]->filter, "*.jpg;*.jpeg");  // "*.jpg;*.jpeg;*.jfif" keeps its whole patterns
    EXPECT_STREQ(r[2]->description, "first format, described at grea");  // 40 bytes cut to 31
    for (const DataChainRecord* rec : r) EXPECT_STREQ(rec->fileName, "picky.spi");
}

TEST_F(SpiLibrary, PluginsFoundLaterStandInFront) {
    dir.addPlugins({"one.spi", "three.spi", "one.spi=two.spi"});
    ASSERT_EQ(search(), 5);
    std::vector<std::string> expected;
    for (const std::string& name : listing(dir.path())) {
        const int formats = name == "three.spi" ? 3 : 1;
        for (int i = 0; i < formats; ++i) expected.insert(expected.begin(), name);
    }
    std::vector<std::string> actual;
    for (const DataChainRecord* rec : lib.records()) actual.push_back(rec->fileName);
    EXPECT_EQ(actual, expected);
}

TEST_F(SpiLibrary, OnlyTheWholeVersionText00INCounts) {
    dir.addPlugins({"one.spi"});
    const struct {
        const char* version;
        int records;
    } cases[] = {{"00IN", 1}, {"00in", 0}, {"00INX", 0}, {"00IN456789abcdef", 0}};  // all unterminated
    for (const auto& c : cases) {
        SetEnvironmentVariableA("HRL_TEST_VERSION", c.version);
        EXPECT_EQ(search(), c.records) << c.version;
        EXPECT_FALSE(moduleLoaded("one.spi"));
    }
    SetEnvironmentVariableA("HRL_TEST_VERSION", nullptr);
}

TEST_F(SpiLibrary, PluginsOfAnotherKindOrWithoutInfoAreSkippedAndUnloaded) {
    dir.addPlugins({"archive.spi", "noinfo.spi", "one.spi"});
    dir.write("bogus.spi", "not a DLL");
    ASSERT_TRUE(CreateDirectoryA(dir.file("folder.spi").c_str(), nullptr));
    EXPECT_EQ(search(), 1);
    EXPECT_STREQ(lib.records()[0]->fileName, "one.spi");
    EXPECT_FALSE(moduleLoaded("archive.spi"));
    EXPECT_FALSE(moduleLoaded("noinfo.spi"));
    EXPECT_FALSE(moduleLoaded("one.spi"));
}

TEST_F(SpiLibrary, FilterIsFoldedAndQueryIgnoresCase) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    EXPECT_STREQ(lib.records()[0]->filter, "*.hrl");  // the plug-in says *.HRL
    EXPECT_STREQ(lib.records()[0]->description, "HRL test picture");
    for (const char* ext : {"HRL", "hrl", "Hrl", "h", ""}) EXPECT_EQ(lib.QueryExtension(0, ext), 0) << ext;
    EXPECT_EQ(lib.QueryExtension(0, "png"), -1);
}

TEST_F(SpiLibrary, QueryBoundsAndRepeatedQueriesVisitEachMatchOnce) {
    dir.addPlugins({"three.spi"});
    ASSERT_EQ(search(), 3);  // *.hrl, *.tp2;*.tp3, *.jpg;*.jpeg
    EXPECT_EQ(lib.QueryExtension(3, "hrl"), -1);
    EXPECT_EQ(lib.QueryExtension(-5, "hrl"), 0);
    EXPECT_EQ(lib.QueryExtension(1, "hrl"), -1);
    std::vector<int> visits;
    for (int i = lib.QueryExtension(0, ""); i != -1; i = lib.QueryExtension(i + 1, "")) visits.push_back(i);
    EXPECT_EQ(visits, (std::vector<int>{0, 1, 2}));
    // An extension longer than the 15 bytes the query keeps is cut, not overrun.
    EXPECT_EQ(lib.QueryExtension(0, ("jpeg" + std::string(400, 'x')).c_str()), 2);
}

TEST_F(SpiLibrary, CheckFormatBoundsLoadNothing) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(1, pic.c_str()), 0);
    EXPECT_EQ(takeLog(), "");
    EXPECT_EQ(lib.CheckFormat(-3, pic.c_str()), 1);  // counts as 0
    EXPECT_EQ(takeLog(), "one.spi:attach;one.spi:IsSupported(handle,pic.hrl)=1;one.spi:detach;");
}

TEST_F(SpiLibrary, AfterFreeDataChainNothingIsLeft) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    lib.FreeDataChain();
    DataChainRecord* head = reinterpret_cast<DataChainRecord*>(1);
    EXPECT_EQ(lib.GetDataChain(&head), 0);
    EXPECT_EQ(head, nullptr);
    EXPECT_EQ(lib.CheckFormat(0, picture().c_str()), 0);
    EXPECT_EQ(lib.QueryExtension(0, "hrl"), -1);
    EXPECT_EQ(lib.QueryExtension(-3, "hrl"), -1);
}

TEST_F(SpiLibrary, CheckFormatFailsWithoutIsSupportedOrADecliningPlugin) {
    dir.addPlugins({"nocheck.spi"});
    ASSERT_EQ(search(), 1);
    EXPECT_EQ(lib.CheckFormat(0, picture().c_str()), 0);
    dir.addPlugins({"decline.spi"});
    DeleteFileA(dir.file("nocheck.spi").c_str());
    ASSERT_EQ(search(), 1);
    EXPECT_EQ(lib.CheckFormat(0, picture().c_str()), 0);
    EXPECT_EQ(takeLog(), "decline.spi:attach;decline.spi:IsSupported(handle,pic.hrl)=0;decline.spi:detach;");
}

TEST_F(SpiLibrary, PictureThatCannotBeOpenedIsNotOfferedToThePlugin) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    takeLog();
    EXPECT_EQ(lib.CheckFormat(0, dir.file("missing.hrl").c_str()), 0);
    EXPECT_EQ(takeLog(), "one.spi:attach;one.spi:detach;");
    // A device would block the plug-in's first read.
    EXPECT_EQ(lib.CheckFormat(0, "COM1.hrl"), 0);
    EXPECT_EQ(takeLog(), "one.spi:attach;one.spi:detach;");
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(dir.file("com1.hrl").c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(lib.SPI_LoadImage(0, "\\\\.\\pipe\\picture.hrl", &pixels, header.info()), 0);
    EXPECT_EQ(takeLog(), "");
}

TEST_F(SpiLibrary, HandleAbove16BitsIsReplacedByTheFirstBytes) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    const std::string pic = picture();
    // Push the handle values past 0xFFFF.
    std::vector<HANDLE> filler;
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE probe = nullptr;
    while (reinterpret_cast<UINT_PTR>(probe) <= 0xFFFF && filler.size() < 40000) {
        if (!DuplicateHandle(GetCurrentProcess(), event, GetCurrentProcess(), &probe, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            break;
        filler.push_back(probe);
    }
    ASSERT_GT(reinterpret_cast<UINT_PTR>(probe), 0xFFFFu);
    EXPECT_EQ(lib.CheckFormat(0, pic.c_str()), 1);
    EXPECT_EQ(takeLog(), "one.spi:attach;one.spi:IsSupported(head,pic.hrl)=1;one.spi:detach;");
    for (HANDLE h : filler) CloseHandle(h);
    CloseHandle(event);
}

TEST_F(SpiLibrary, LongPluginFileNameIsLoadedByItsFullName) {
    dir.addPlugins({"hrl_long_plugin_name.spi"});
    ASSERT_EQ(search(), 1);
    EXPECT_STREQ(lib.records()[0]->fileName, "hrl_long_plugin");
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(0, pic.c_str()), 1);
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImage(0, pic.c_str(), &pixels, header.info()), 1);
    LocalFree(pixels);
}

TEST_F(SpiLibrary, PluginAnsweringEveryNumberIsCutOff) {
    dir.addPlugins({"endless.spi", "one.spi"});
    EXPECT_EQ(search(), 257);
    EXPECT_GE(indexOf("one.spi"), 0);
}

// Each try loads the plug-in for the check and again for the decode; the
// decode is asked for the file from offset 0, flag 0, user data 0.
TEST_F(SpiLibrary, DecodedPictureIsHandedOverUnlocked) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    const std::string pic = picture("photo.HRL");
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    ASSERT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);
    EXPECT_EQ(takeLog(), "one.spi:attach;one.spi:IsSupported(handle,photo.HRL)=1;one.spi:detach;"
                         "one.spi:attach;one.spi:GetPicture(0,0,0)=0 reports=0000;one.spi:detach;");
    EXPECT_TRUE(header.guardIntact());
    const BITMAPINFOHEADER& bi = header.info()->bmiHeader;
    EXPECT_EQ(bi.biWidth, 3);
    EXPECT_EQ(bi.biHeight, 2);
    EXPECT_EQ(bi.biBitCount, 24);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(LocalFlags(pixels) & LMEM_LOCKCOUNT, 0u);
    expectSixPixels(pixels);
    EXPECT_EQ(LocalFree(pixels), nullptr);
}

TEST_F(SpiLibrary, PathsWithoutExtensionLoadNothing) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    picture("photo");
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx((dir.path() + "\\pic.dir\\photo").c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(lib.SPI_LoadImageEx("", &pixels, header.info()), 0);
    EXPECT_EQ(takeLog(), "");
    const std::string tooLong = dir.path() + "\\" + std::string(300, 'p') + ".hrl";
    EXPECT_EQ(lib.SPI_LoadImageEx(tooLong.c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(takeLog(), "");
}

TEST_F(SpiLibrary, BareNameBeginningWithADotIsAllExtension) {
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 1);
    picture(".hrl");
    char old[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(".hrl", &pixels, header.info()), 1);
    SetCurrentDirectoryA(old);
    LocalFree(pixels);
}

TEST_F(SpiLibrary, PathEndingInADotAsksEveryPlugin) {
    dir.addPlugins({"decline.spi", "one.spi"});
    ASSERT_EQ(search(), 2);
    const std::string pic = picture("photo.");
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);
    const std::string log = takeLog();
    EXPECT_NE(log.find("one.spi:GetPicture(0,0,0)=0"), std::string::npos);
    if (indexOf("decline.spi") == 0) {
        EXPECT_EQ(log.find("decline.spi:attach;decline.spi:IsSupported(handle,photo.)=0;"), 0u);
    }
    LocalFree(pixels);
}

TEST_F(SpiLibrary, SecondPluginDecodesWhenTheFirstDeclines) {
    dir.addPlugins({"one.spi=a.spi", "one.spi=b.spi"});
    ASSERT_EQ(search(), 2);
    const auto r = lib.records();
    const std::string first = r[0]->fileName, second = r[1]->fileName;
    SetEnvironmentVariableA("HRL_TEST_DECLINE", first.c_str());
    const std::string pic = picture();
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);
    SetEnvironmentVariableA("HRL_TEST_DECLINE", nullptr);
    EXPECT_EQ(takeLog(), first + ":attach;" + first + ":IsSupported(handle,pic.hrl)=0;" + first + ":detach;" +
                             second + ":attach;" + second + ":IsSupported(handle,pic.hrl)=1;" + second + ":detach;" +
                             second + ":attach;" + second + ":GetPicture(0,0,0)=0 reports=0000;" + second +
                             ":detach;");
    EXPECT_NE(pixels, nullptr);
    LocalFree(pixels);
}

TEST_F(SpiLibrary, PluginWithoutGetPictureFails) {
    dir.addPlugins({"nopic.spi"});
    ASSERT_EQ(search(), 1);
    HLOCAL pixels = reinterpret_cast<HLOCAL>(1);
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImage(0, picture().c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(lib.SPI_LoadImage(1, picture().c_str(), &pixels, header.info()), 0);
    EXPECT_FALSE(moduleLoaded("nopic.spi"));
}

// The plug-in stores both handles, frees the blocks itself and fails; the
// process then allocates two new blocks, which get the same handles.
TEST_F(SpiLibrary, FailedDecodeFreesNothingThePluginStored) {
    dir.addPlugins({"failstore.spi"});
    ASSERT_EQ(search(), 1);
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(pixels, nullptr);
    const std::string log = takeLog();
    void *info = nullptr, *stored = nullptr, *canary1 = nullptr, *canary2 = nullptr;
    ASSERT_EQ(std::sscanf(log.c_str() + log.find("stored="), "stored=%p,%p canaries=%p,%p", &info, &stored,
                          &canary1, &canary2),
              4)
        << log;
    EXPECT_EQ(LocalFlags(canary1) & LMEM_INVALID_HANDLE, 0u);
    EXPECT_EQ(LocalFlags(canary2) & LMEM_INVALID_HANDLE, 0u);
    EXPECT_EQ(LocalFree(canary1), nullptr);
    EXPECT_EQ(LocalFree(canary2), nullptr);
    EXPECT_EQ(header.bytes[0], 0xCD);  // nothing copied
}

// Header blocks the caller's 1064 bytes cannot take as they are: a 24-bit
// header in a block of 1068 bytes and a V5 header followed by a colour
// profile decode; 2000 colours cannot be handed on.
TEST_F(SpiLibrary, HeaderBlocksLargerThanTheCallersBuffer) {
    const struct {
        const char* plugin;
        bool decodes;
    } cases[] = {{"bighead.spi", true}, {"v5prof.spi", true}, {"hugepal.spi", false}};
    for (const auto& c : cases) {
        const TempDir folder;
        folder.addPlugins({c.plugin});
        ASSERT_EQ(lib.SearchPlugin(folder.path().c_str()), 1);
        HLOCAL pixels = nullptr;
        HeaderBuffer header;
        EXPECT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), c.decodes ? 1 : 0) << c.plugin;
        EXPECT_TRUE(header.guardIntact()) << c.plugin;
        if (!c.decodes) {
            EXPECT_EQ(pixels, nullptr);
            EXPECT_EQ(header.bytes[0], 0xCD) << c.plugin;
            continue;
        }
        EXPECT_EQ(header.info()->bmiHeader.biSize, 40u) << c.plugin;
        EXPECT_EQ(header.info()->bmiHeader.biBitCount, 24) << c.plugin;
        expectSixPixels(pixels);
        LocalFree(pixels);
    }
}

// The reenter plug-in calls SPI_LoadImage, SPI_LoadImageEx, CheckFormat,
// SearchPlugin, FreeDataChain and TerminateLibrary from inside GetPicture, as
// code run by a modal loop of the progress window could, and logs their
// results and then the record count.
TEST_F(SpiLibrary, CallsMadeInsideALoadFailAndChangeNothing) {
    dir.addPlugins({"reenter.spi", "one.spi"});
    ASSERT_EQ(search(), 2);
    const auto before = lib.records();
    const std::string pic = picture();
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImage(indexOf("reenter.spi"), pic.c_str(), &pixels, header.info()), 1);
    EXPECT_EQ(takeLog(), "reenter.spi:attach;reenter.spi:nested=0,0,0,0,2;"
                         "reenter.spi:GetPicture(0,0,0)=0 reports=0000;reenter.spi:detach;");
    EXPECT_EQ(lib.records(), before);
    EXPECT_NE(lib.progressWindow(), nullptr);
    LocalFree(pixels);
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);  // works again afterwards
    LocalFree(pixels);
}

TEST_F(SpiLibrary, PixelBlockShorterThanItsRowsIsRefused) {
    dir.addPlugins({"shortpix.spi"});
    ASSERT_EQ(search(), 1);
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_NE(takeLog().find("shortpix.spi:GetPicture(0,0,0)=0"), std::string::npos);
}

TEST_F(SpiLibrary, HeaderWith256ColoursFillsTheBufferExactly) {
    dir.addPlugins({"palette.spi"});
    ASSERT_EQ(search(), 1);
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    ASSERT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), 1);
    EXPECT_TRUE(header.guardIntact());
    EXPECT_EQ(header.info()->bmiHeader.biBitCount, 8);
    const RGBQUAD blue = header.info()->bmiColors[2];  // third pixel of the top row
    EXPECT_EQ(blue.rgbBlue, 255);
    EXPECT_EQ(blue.rgbRed, 0);
    const RGBQUAD last = header.info()->bmiColors[5];
    EXPECT_EQ(last.rgbRed, 10);
    EXPECT_EQ(last.rgbBlue, 30);
    LocalFree(pixels);
}

TEST_F(SpiLibrary, FaultWhileListingFormatsSkipsThatPlugin) {
    dir.addPlugins({"faultinfo.spi", "one.spi"});
    EXPECT_EQ(search(), 1);
    EXPECT_STREQ(lib.records()[0]->fileName, "one.spi");
    EXPECT_FALSE(moduleLoaded("faultinfo.spi"));
}

TEST_F(SpiLibrary, FaultInIsSupportedFailsTheCheckAndTheNextPluginIsAsked) {
    dir.addPlugins({"faultchk.spi", "one.spi"});
    ASSERT_EQ(search(), 2);
    const std::string pic = picture();
    EXPECT_EQ(lib.CheckFormat(indexOf("faultchk.spi"), pic.c_str()), 0);
    EXPECT_FALSE(moduleLoaded("faultchk.spi"));
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);
    LocalFree(pixels);
    // The file handle of the faulted check was closed: the file can be deleted.
    EXPECT_TRUE(DeleteFileA(pic.c_str()));
}

TEST_F(SpiLibrary, FaultInGetPictureFailsTheLoadAndHidesTheWindow) {
    dir.addPlugins({"faultpic.spi"});
    ASSERT_EQ(search(), 1);
    HLOCAL pixels = reinterpret_cast<HLOCAL>(1);
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_FALSE(moduleLoaded("faultpic.spi"));
    EXPECT_FALSE(IsWindowVisible(lib.progressWindow()));
    // The library goes on working.
    dir.addPlugins({"one.spi"});
    ASSERT_EQ(search(), 2);
    EXPECT_EQ(lib.SPI_LoadImage(indexOf("one.spi"), picture().c_str(), &pixels, header.info()), 1);
    LocalFree(pixels);
}

TEST_F(SpiLibrary, AbortClickStopsThisPluginAndTheNextMatchingOneDecodes) {
    dir.addPlugins({"progress.spi=a.spi", "progress.spi=b.spi"});
    ASSERT_EQ(search(), 2);
    const auto r = lib.records();
    const std::string first = r[0]->fileName, second = r[1]->fileName;
    const HWND window = lib.progressWindow();
    ASSERT_NE(window, nullptr);
    const HWND cancbtn = lib.abortButton();
    ASSERT_NE(cancbtn, nullptr);
    // The start report's pump takes the first message, the first intermediate
    // report's pump the click.
    PostMessageA(window, WM_NULL, 0, 0);
    PostMessageA(cancbtn, BM_CLICK, 0, 0);
    const std::string pic = picture();
    HLOCAL pixels = nullptr;
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(pic.c_str(), &pixels, header.info()), 1);
    const std::string log = takeLog();
    EXPECT_NE(log.find(first + ":GetPicture(0,0,0)=1 reports=01;"), std::string::npos) << log;
    EXPECT_NE(log.find(second + ":GetPicture(0,0,0)=0 reports=" + std::string(201, '0') + ";"), std::string::npos)
        << log;
    EXPECT_FALSE(IsWindowVisible(window));
    LocalFree(pixels);
}

TEST_F(SpiLibrary, StoppedLoadLeavesNoWindowAndNoHandle) {
    dir.addPlugins({"progress.spi"});
    ASSERT_EQ(search(), 1);
    const HWND window = lib.progressWindow();
    PostMessageA(window, WM_NULL, 0, 0);
    PostMessageA(lib.abortButton(), BM_CLICK, 0, 0);
    HLOCAL pixels = reinterpret_cast<HLOCAL>(1);
    HeaderBuffer header;
    EXPECT_EQ(lib.SPI_LoadImageEx(picture().c_str(), &pixels, header.info()), 0);
    EXPECT_EQ(pixels, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(takeLog().find("GetPicture(0,0,0)=1 reports=01;"), std::string::npos);
}

// The clock program links the window layer too: its forms and the library's
// progress window live side by side in one process, and the library can be
// unloaded and loaded again.
TEST(SpiBesideTheProgram, ProgramFormsAndTheProgressWindowCoexist) {
    fw::Form programForm({.caption = L"program", .clientWidth = 100, .clientHeight = 50});
    programForm.show();
    const TempDir dir;
    dir.addPlugins({"progress.spi"});
    dir.write("pic.hrl", hrltPicture(3, 2, kSixPixels));
    for (int round = 0; round < 3; ++round) {
        Library lib;
        ASSERT_EQ(lib.SearchPlugin(dir.path().c_str()), 1);
        const HWND window = lib.progressWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_NE(GetClassLongPtrW(window, GCLP_HMODULE), GetClassLongPtrW(programForm.handle(), GCLP_HMODULE));
        PostMessageA(window, WM_NULL, 0, 0);
        PostMessageA(lib.abortButton(), BM_CLICK, 0, 0);
        HLOCAL pixels = nullptr;
        HeaderBuffer header;
        EXPECT_EQ(lib.SPI_LoadImageEx(dir.file("pic.hrl").c_str(), &pixels, header.info()), 0);
        EXPECT_NE(takeLog().find("GetPicture(0,0,0)=1 reports=01;"), std::string::npos);
        EXPECT_EQ(lib.SPI_LoadImageEx(dir.file("pic.hrl").c_str(), &pixels, header.info()), 1);
        LocalFree(pixels);
    }
    EXPECT_TRUE(programForm.visible());
    EXPECT_TRUE(IsWindowVisible(programForm.handle()));
}

// Each copy of the window layer knows only its own windows: with the
// progress window up, the program's keys, shortcuts and minimising leave it
// alone.
TEST(SpiBesideTheProgram, ProgramTakesNoneOfTheLibrarysWindowsForItsOwn) {
    const Library lib;
    fw::Form programForm({.caption = L"program", .clientWidth = 100, .clientHeight = 50});
    fw::PopupMenu menu;
    int helpRuns = 0;
    menu.add(L"&Contents", fw::Shortcut{VK_F1}).onClick = [&] { ++helpRuns; };
    programForm.setPopupMenu(&menu);
    programForm.show();
    const HWND progress = lib.progressWindow(), abortButton = lib.abortButton();
    ShowWindow(progress, SW_SHOWNA);
    EXPECT_EQ(fw::Form::fromHandle(progress), nullptr);
    EXPECT_EQ(fw::WindowedControl::fromHandle(abortButton), nullptr);

    int keysAtAbortButton = 0;
    SetWindowSubclass(abortButton, countKeys, 1, reinterpret_cast<DWORD_PTR>(&keysAtAbortButton));
    PostMessageW(abortButton, WM_KEYDOWN, VK_RETURN, 0);  // no dialog key of the program's
    PostMessageW(abortButton, WM_KEYDOWN, VK_F1, 0);      // no shortcut of the program's
    PostMessageW(programForm.handle(), WM_KEYDOWN, VK_F1, 0);
    fw::Application& application = fw::Application::instance();
    application.processMessages();
    RemoveWindowSubclass(abortButton, countKeys, 1);
    EXPECT_EQ(keysAtAbortButton, 2);
    EXPECT_EQ(helpRuns, 1);

    application.minimize();
    EXPECT_FALSE(IsWindowVisible(programForm.handle()));
    EXPECT_TRUE(IsWindowVisible(progress));
    ShowWindow(progress, SW_HIDE);  // the load ends while the program is minimised
    ShowWindow(application.handle(), SW_RESTORE);  // a click on the task-bar button
    EXPECT_TRUE(IsWindowVisible(programForm.handle()));
    EXPECT_FALSE(IsWindowVisible(progress));
}
