// The payload catalogue: the real embedded archive, and crafted archives at the format's edges.
#include "common/Errors.h"
#include "payload/AttachFiles.h"
#include "unit/payload/CraftedArchive.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace orv::test;

TEST(AttachFiles, TheEmbeddedArchiveListsEveryRecordInOrder) {
    TAttachedFiles files;
    ASSERT_EQ(303, files.EntryCount());
    EXPECT_EQ("orv.exe", files.Entry(0).Name);
    EXPECT_EQ(20, files.Entry(0).DataOffset);
    int32_t expectedOffset = 0;
    for (int i = 0; i < files.EntryCount(); ++i) {
        const TAttachedFile& e = files.Entry(i);
        expectedOffset += 13 + static_cast<int32_t>(e.Name.size());
        ASSERT_EQ(expectedOffset, e.DataOffset) << e.Name;
        expectedOffset += e.Size;
        // Every stored time has MS-DOS precision: a whole number of even seconds.
        const double ms = e.Timestamp * 86400000.0;
        const long long whole = static_cast<long long>(ms + 0.5);
        EXPECT_EQ(0, whole % 2000) << e.Name;
    }
    EXPECT_EQ(files.DataSize(), expectedOffset);  // the last record ends the block
    ASSERT_NE(nullptr, files.FindEntry("LICENSE.TXT"));
    EXPECT_EQ("License.txt", files.FindEntry("license.txt")->Name);
    for (const auto& group : files.Groups) EXPECT_TRUE(group.empty());
    EXPECT_TRUE(files.PublicFiles.empty());
    EXPECT_FALSE(files.ForceOverwrite);
}

TEST(AttachFiles, CraftedRecordsAtTheFormatsEdges) {
    const std::string longName(255, 'n');
    const std::string packed = CraftArchive({
        {"", EncodeDateTime(2001, 1, 1), "x"},
        {"Empty.dat", EncodeDateTime(2002, 2, 2), ""},
        {longName, EncodeDateTime(2003, 3, 3, 4, 5, 6), "abc"},
    });
    TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    ASSERT_EQ(3, files.EntryCount());
    EXPECT_EQ("", files.Entry(0).Name);
    EXPECT_EQ(13, files.Entry(0).DataOffset);
    EXPECT_EQ(1, files.Entry(0).Size);
    EXPECT_EQ(0, files.Entry(1).Size);
    const int32_t next = files.Entry(1).DataOffset;
    EXPECT_EQ(next + 13 + 255, files.Entry(2).DataOffset);  // an empty entry points at the next record
    EXPECT_EQ(longName, files.Entry(2).Name);
    EXPECT_EQ(EncodeDateTime(2003, 3, 3, 4, 5, 6), files.Entry(2).Timestamp);  // bit for bit
    EXPECT_EQ("abc", std::string(reinterpret_cast<const char*>(files.Data() + files.Entry(2).DataOffset), 3));
}

TEST(AttachFiles, AStreamOfNothingGivesAnEmptyCatalogue) {
    const std::string packed = Deflate("");
    TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    EXPECT_EQ(0, files.EntryCount());
    EXPECT_EQ(0, files.DataSize());
    for (const auto& group : files.Groups) EXPECT_TRUE(group.empty());
    EXPECT_TRUE(files.PublicFiles.empty());
}

TEST(AttachFiles, AStreamInflatingFarBeyondFiveTimesIsLoadedWhole) {
    std::string data(3 * 1024 * 1024, '\0');
    for (size_t i = 0; i < data.size(); i += 4096) data[i] = static_cast<char>(i / 4096);
    const std::string packed = CraftArchive({{"Zeros.bin", EncodeDateTime(2010, 5, 5), data}});
    ASSERT_LT(packed.size() * 5, data.size());
    TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    ASSERT_EQ(1, files.EntryCount());
    EXPECT_EQ(static_cast<int32_t>(data.size()), files.Entry(0).Size);
    EXPECT_EQ(files.DataSize(), files.Entry(0).DataOffset + files.Entry(0).Size);
    EXPECT_EQ(0, std::memcmp(data.data(), files.Data() + files.Entry(0).DataOffset, data.size()));
}

TEST(AttachFiles, DamagedArchivesAreRefused) {
    const std::string good = CraftArchive({{"a.txt", EncodeDateTime(2010, 5, 5), "hello, world"}});
    std::string badCheck = good;
    badCheck.back() = static_cast<char>(badCheck.back() ^ 0x55);
    const std::string truncated = good.substr(0, good.size() - 6);

    // A record whose size claims more bytes than the block holds, and one cut in its header.
    std::string raw = PackRecords({{"b.txt", EncodeDateTime(2010, 5, 5), "12345"}});
    raw.resize(raw.size() - 2);
    const std::string overlong = Deflate(raw);
    const std::string shortHeader = Deflate(PackRecords({{"c.txt", 0, ""}}).substr(0, 9));

    auto load = [](const std::string& packed) {
        TAttachedFiles files(packed.data(), static_cast<uint32_t>(packed.size()));
    };
    EXPECT_THROW(load(badCheck), EArchiveDamaged);
    EXPECT_THROW(load(truncated), EArchiveDamaged);
    EXPECT_THROW(load(std::string()), EArchiveDamaged);  // no bytes, as for a missing resource
    EXPECT_THROW(load(overlong), EArchiveFormat);
    EXPECT_THROW(load(shortHeader), EArchiveFormat);
}

}  // namespace
}  // namespace orv
