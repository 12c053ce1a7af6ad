// The code-page conversions and the UTF-8 wrappers of the W functions, against the real system.
#include "common/CodePage.h"
#include "common/Owners.h"
#include "common/WideApi.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const char* const Lodz =
    "\xC5\x81\xC3\xB3"
    "d\xC5\xBA";                                                       // Łódź
const char* const Yoyakuhyo = "\xE4\xBA\x88\xE7\xB4\x84\xE8\xA1\xA8";  // 予約表, two 0x5C trail bytes in 932
const char* const Programs = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD1\x8B";  // Программы
const char* const FullWidthQuote = "\xEF\xBC\x82";

TEST(CodePage, CharactersAreConvertedExactlyOrRefused) {
    struct Case {
        std::string utf8;
        UINT codePage;
        bool exists;
        std::string bytes;
    } cases[] = {
        {"caf\xC3\xA9", 1252, true, "caf\xE9"},
        {Lodz, 1250, true, "\xA3\xF3\x64\x9F"},
        {Lodz, 1252, false, ""},  // best fit would make it "Lodz"
        {Programs, 1251, true, "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
        {Programs, 1252, false, ""},
        {Yoyakuhyo, 932, true, "\x97\x5C\x96\xF1\x95\x5C"},
        {Yoyakuhyo, 1251, false, ""},
        {FullWidthQuote, 1252, false, ""},  // best fit would make it a plain quote
        {"\xE2\x88\x9E", 1252, false, ""},  // infinity: best fit "8"
        {"\xF0\x9F\x98\x80", 932, false, ""},
        {"\xC3(", 1252, false, ""},  // not UTF-8 at all
        {"", 932, true, ""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        EXPECT_EQ(c.exists, Utf8ToCodePage(c.utf8, c.codePage, out)) << c.utf8 << " in " << c.codePage;
        EXPECT_EQ(c.bytes, out) << c.utf8 << " in " << c.codePage;
        if (!c.exists) continue;
        std::string back;
        EXPECT_TRUE(CodePageToUtf8(c.bytes, c.codePage, back));
        EXPECT_EQ(c.utf8, back);
    }
}

TEST(CodePage, BytesThatAreNotTextInTheCodePageAreRefused) {
    std::string out = "x";
    EXPECT_FALSE(CodePageToUtf8("C:\\\x83", 932, out));  // a lead byte with no trail byte
    EXPECT_EQ("", out);
    EXPECT_FALSE(CodePageToUtf8("\xC3(", CP_UTF8, out));
    EXPECT_TRUE(CodePageToUtf8("C:\\\x83\x5C", 932, out));  // ソ: the 0x5C is no separator
    EXPECT_EQ("C:\\\xE3\x82\xBD", out);
}

class WideApi : public testing::Test {
protected:
    test::ScratchFolder scratch_{"wide"};
    std::string Named(const std::string& name) const { return scratch_ / name; }
};

TEST_F(WideApi, FilesAndFoldersWithNamesOutsideTheCodePageAreMadeFoundAndRemoved) {
    const std::string folder = Named(Yoyakuhyo);
    ASSERT_TRUE(CreateDirectoryU(folder));
    const std::string file = folder + "\\" + Programs + ".txt";
    UniqueFile made(CreateFileU(file, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(made.valid());
    made.reset();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesU(file));
    ASSERT_TRUE(SetCurrentDirectoryU(folder));
    EXPECT_EQ(folder, GetCurrentDirectoryU());
    EXPECT_EQ(folder + "\\" + Lodz, GetFullPathNameU(Lodz));
    ASSERT_TRUE(SetCurrentDirectoryU(scratch_.Path()));

    TFindData found;
    UniqueFind find(FindFirstFileU(folder + "\\*.txt", found));
    ASSERT_TRUE(find.valid());
    EXPECT_EQ(std::string(Programs) + ".txt", found.name);
    EXPECT_FALSE(FindNextFileU(find.get(), found));
    find.reset();

    const std::string moved = Named(std::string(Lodz) + ".txt");
    EXPECT_TRUE(MoveFileExU(file, moved, 0));
    EXPECT_TRUE(DeleteFileU(moved));
    EXPECT_TRUE(RemoveDirectoryU(folder));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesU(folder));
}

TEST_F(WideApi, TextThatIsNotUtf8ReachesNoFunction) {
    const std::string bad = Named("a\xC3(");
    const auto refused = [](bool failed) {
        EXPECT_TRUE(failed);
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION), ::GetLastError());
    };
    refused(!CreateDirectoryU(bad));
    refused(CreateFileU(bad, GENERIC_WRITE, 0, CREATE_ALWAYS, 0) == INVALID_HANDLE_VALUE);
    refused(GetFileAttributesU(bad) == INVALID_FILE_ATTRIBUTES);
    TFindData found;
    UniqueFind all(FindFirstFileU(scratch_.Path() + "\\*", found));
    size_t entries = 0;
    for (bool more = all.valid(); more; more = FindNextFileU(all.get(), found)) ++entries;
    EXPECT_EQ(2u, entries);  // "." and "..": nothing was made
}

TEST_F(WideApi, RegistryStringsKeepEveryCharacter) {
    const std::string keyName = std::string("Software\\OrvanelWideApiTest\\") + Programs;
    UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExU(HKEY_CURRENT_USER, keyName, KEY_ALL_ACCESS, key.put()));
    const std::string value = std::string("C:\\") + Lodz + "\\" + Yoyakuhyo;
    ASSERT_EQ(ERROR_SUCCESS, RegSetStringU(key.get(), Programs, value));
    std::string read;
    DWORD type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryStringU(key.get(), Programs, read, &type));
    EXPECT_EQ(value, read);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    DWORD number = 7;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExU(key.get(), "n", REG_DWORD, reinterpret_cast<BYTE*>(&number), 4));
    EXPECT_EQ(ERROR_UNSUPPORTED_TYPE, RegQueryStringU(key.get(), "n", read));
    EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, RegSetStringU(key.get(), "bad", "\xC3("));
    key.reset();
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeU(HKEY_CURRENT_USER, "Software\\OrvanelWideApiTest"));
}

}  // namespace
}  // namespace orv
