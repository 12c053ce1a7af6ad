// Deflates bytes at level 9 into a zlib stream on disk.
#include "zlib_file_writer.h"

#include <stdexcept>

namespace orvpack {
namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

ZlibFileWriter::ZlibFileWriter(const std::string& path)
    : path_(path), file_(std::fopen(path.c_str(), "wb"), std::fclose) {
    if (!file_) throw std::runtime_error("cannot create \"" + path + "\"");
    // Level 9 with the default 15-bit window gives the 78 DA header the setup expects.
    if (deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("cannot start the zlib stream");
    }
    stream_open_ = true;
}

ZlibFileWriter::~ZlibFileWriter() {
    if (stream_open_) deflateEnd(&stream_);
}

void ZlibFileWriter::Write(const unsigned char* bytes, std::size_t count) {
    while (count > 0) {
        const uInt part = static_cast<uInt>(count < kChunk ? count : kChunk);
        stream_.next_in = const_cast<Bytef*>(bytes);
        stream_.avail_in = part;
        Pump(Z_NO_FLUSH);
        bytes += part;
        count -= part;
        total_in_ += part;
    }
}

void ZlibFileWriter::Finish() {
    stream_.next_in = nullptr;
    stream_.avail_in = 0;
    Pump(Z_FINISH);
    deflateEnd(&stream_);
    stream_open_ = false;
    if (std::fclose(file_.release()) != 0) throw std::runtime_error("cannot close \"" + path_ + "\"");
}

void ZlibFileWriter::Pump(int flush) {
    unsigned char out[kChunk];
    int result;
    do {
        stream_.next_out = out;
        stream_.avail_out = sizeof out;
        result = deflate(&stream_, flush);
        if (result == Z_STREAM_ERROR) throw std::runtime_error("zlib stream error");
        const std::size_t produced = sizeof out - stream_.avail_out;
        if (std::fwrite(out, 1, produced, file_.get()) != produced) {
            throw std::runtime_error("cannot write \"" + path_ + "\"");
        }
        total_out_ += produced;
    } while (stream_.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
}

}  // namespace orvpack
