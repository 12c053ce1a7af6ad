// The archive's records and its inflate, without the catalogue: the shapes a damaged or
// tampered archive can take. Built for Windows and natively under the sanitizers.
#include "common/Errors.h"
#include "payload/ArchiveRecords.h"
#include "payload/InflateBlock.h"
#include "unit/payload/CraftedArchive.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orv {
namespace {

using namespace orv::test;

std::vector<TAttachedFile> List(const std::string& block) {
    return ListArchiveRecords(reinterpret_cast<const uint8_t*>(block.data()), static_cast<int32_t>(block.size()));
}

std::string Inflate(const std::string& packed, uint32_t estimate) {
    InflatedBlock b = InflateToMemory(packed.data(), static_cast<uint32_t>(packed.size()), estimate);
    return std::string(reinterpret_cast<const char*>(b.Data.get()), static_cast<size_t>(b.Size));
}

TEST(ArchiveRecords, RecordsFollowEachOtherThroughTheBlock) {
    const std::string block = PackRecords({{"a.txt", EncodeDateTime(2001, 1, 1), "xyz"},
                                           {"Sub\\Empty.dat", EncodeDateTime(2002, 2, 2), ""},
                                           {"b", EncodeDateTime(2003, 3, 3, 4, 5, 6), "1"}});
    const std::vector<TAttachedFile> records = List(block);
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ(18, records[0].DataOffset);
    EXPECT_EQ(3, records[0].Size);
    EXPECT_EQ(21 + 13 + 13, records[1].DataOffset);
    EXPECT_EQ(0, records[1].Size);
    EXPECT_EQ(records[1].DataOffset + 14, records[2].DataOffset);
    EXPECT_EQ(EncodeDateTime(2003, 3, 3, 4, 5, 6), records[2].Timestamp);
    EXPECT_EQ(static_cast<int32_t>(block.size()), records[2].DataOffset + records[2].Size);
    EXPECT_TRUE(List(std::string()).empty());
}

TEST(ArchiveRecords, RecordsThatDoNotFitTheBlockAreRefused) {
    const std::string one = PackRecords({{"a.txt", 0, "12345"}});
    std::string negative = one;
    const int32_t minusOne = -1;
    std::memcpy(&negative[1 + 5 + 8], &minusOne, 4);
    const std::string cases[] = {
        one.substr(0, one.size() - 1),  // data cut short
        one.substr(0, 1 + 5 + 11),      // size field cut short
        std::string(1, '\x05') + "ab",  // name cut short
        negative,
        one + std::string(1, '\0'),  // a stray byte after the last record
    };
    for (const std::string& block : cases) EXPECT_THROW(List(block), EArchiveFormat) << block.size();
}

TEST(ArchiveRecords, NamesThatWouldLeaveTheDestinationAreRefused) {
    struct Case {
        std::string name;
        bool refused;
    } cases[] = {
        {"Templates\\Letters\\Letter 1.rtf", false},
        {"", false},  // the folder itself
        {"a..b\\..c\\d.", false},
        {"COM0.txt", false},
        {"console.log", false},
        {"Sub/Name.txt", false},
        {"..\\Windows\\evil.dll", true},
        {"Sub\\..\\..\\evil.dll", true},
        {"Sub\\. .\\evil.dll", true},
        {"Sub\\...\\evil.dll", true},
        {"Sub/../../evil.dll", true},
        {".", true},
        {"\\Windows\\evil.dll", true},
        {"/Windows/evil.dll", true},
        {"C:evil.dll", true},
        {"C:\\Windows\\evil.dll", true},
        {"a.txt:stream", true},
        {"con", true},
        {"Sub\\Aux.txt", true},
        {"NUL .log", true},
        {"lpt9", true},
        {"a\tb", true},
        {"a?b", true},
        {"a*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.refused, !ArchiveNameProblem(c.name).empty()) << c.name;
        const std::string block = PackRecords({{"ok.txt", 0, "1"}, {c.name, 0, "2"}});
        if (c.refused)
            EXPECT_THROW(List(block), EArchiveFormat) << c.name;
        else
            EXPECT_EQ(2u, List(block).size()) << c.name;
    }
}

TEST(ArchiveRecords, InflateGivesBackTheBytesWhateverTheEstimate) {
    std::string raw;
    for (int i = 0; i < 100000; ++i) raw += static_cast<char>((i * 7919) >> 5);
    const std::string packed = Deflate(raw);
    for (uint32_t estimate : {0u, 1u, 1000u, 100000u, 1000000u}) EXPECT_EQ(raw, Inflate(packed, estimate)) << estimate;
    EXPECT_EQ("", Inflate(Deflate(""), 0));
}

TEST(ArchiveRecords, DamagedStreamsAreRefused) {
    const std::string good = Deflate("hello, hello, hello, world");
    std::string badCheck = good;
    badCheck.back() = static_cast<char>(badCheck.back() ^ 0x55);
    std::string badHeader = good;
    badHeader[0] = 0x79;

    // A stream that asks for a preset dictionary.
    z_stream zs{};
    deflateInit(&zs, Z_BEST_COMPRESSION);
    deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>("hello"), 5);
    std::string dict(64, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>("hello"));
    zs.avail_in = 5;
    zs.next_out = reinterpret_cast<Bytef*>(&dict[0]);
    zs.avail_out = static_cast<uInt>(dict.size());
    deflate(&zs, Z_FINISH);
    dict.resize(zs.total_out);
    deflateEnd(&zs);

    const std::string cases[] = {badCheck, badHeader, good.substr(0, good.size() - 5), good.substr(0, 2), "", dict};
    for (const std::string& packed : cases) EXPECT_THROW(Inflate(packed, 0), EArchiveDamaged) << packed.size();
}

}  // namespace
}  // namespace orv
