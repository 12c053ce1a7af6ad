// orvpack <input folder> <output archive>: packs a folder into the setup's payload archive.
#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "archive_format.h"
#include "folder_walk.h"
#include "zlib_file_writer.h"

namespace {

void AppendFileData(orvpack::ZlibFileWriter& writer, const orvpack::PackEntry& entry) {
    std::ifstream in(entry.source, std::ios::binary);
    if (!in) throw orvpack::PackRefusal("cannot open \"" + entry.source + "\"");
    std::vector<char> buffer(1 << 16);
    std::int64_t left = entry.size;
    while (left > 0) {
        const std::streamsize want =
            static_cast<std::streamsize>(left < 65536 ? left : static_cast<std::int64_t>(65536));
        in.read(buffer.data(), want);
        if (in.gcount() != want) {
            throw orvpack::PackRefusal("\"" + entry.source + "\" changed size while being packed");
        }
        writer.Write(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<std::size_t>(want));
        left -= want;
    }
}

// Writes beside the target first, so a failed run never leaves a half archive
// that a later build step would embed.
void Pack(const std::vector<orvpack::PackEntry>& entries, const std::string& output) {
    const std::string partial = output + ".part";
    try {
        orvpack::ZlibFileWriter writer(partial);
        for (const orvpack::PackEntry& entry : entries) {
            const std::vector<unsigned char> header = orvpack::RecordHeader(entry.name, entry.timestamp, entry.size);
            writer.Write(header.data(), header.size());
            AppendFileData(writer, entry);
        }
        writer.Finish();
        std::printf("orvpack: %zu records, %zu bytes inflated, %zu bytes packed\n", entries.size(), writer.BytesIn(),
                    writer.BytesOut());
    } catch (...) {
        std::remove(partial.c_str());
        throw;
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        std::remove(partial.c_str());
        throw std::runtime_error("cannot rename \"" + partial + "\" to \"" + output + "\"");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvpack <input folder> <output archive>\n");
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        Pack(orvpack::CollectEntries(argv[1]), argv[2]);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        std::printf("orvpack: %lld ms\n", static_cast<long long>(elapsed.count()));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvpack: %s\n", error.what());
        return 1;
    }
}
