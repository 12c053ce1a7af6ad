// Writes one zlib stream (best compression, default window) to a file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include <zlib.h>

namespace orvpack {

class ZlibFileWriter {
public:
    explicit ZlibFileWriter(const std::string& path);
    ~ZlibFileWriter();
    ZlibFileWriter(const ZlibFileWriter&) = delete;
    ZlibFileWriter& operator=(const ZlibFileWriter&) = delete;

    void Write(const unsigned char* bytes, std::size_t count);
    // Ends the stream and closes the file; throws when anything was not written.
    void Finish();
    std::size_t BytesIn() const { return total_in_; }
    std::size_t BytesOut() const { return total_out_; }

private:
    void Pump(int flush);

    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
    z_stream stream_{};
    bool stream_open_ = false;
    std::size_t total_in_ = 0;
    std::size_t total_out_ = 0;
};

}  // namespace orvpack
