// Bitmaps kept zlib-compressed in the program's resources, turned back into DIB sections.
#include "ui/CompressedBitmap.h"

#include <zlib.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orv::ui {

namespace {

// Far beyond any artwork of the setup; it bounds what a damaged header can ask for.
constexpr LONG MaxSide = 4096;

// Ends the zlib stream on every way out.
class Inflater {
public:
    Inflater(const void* data, size_t size) {
        stream_.next_in = static_cast<Bytef*>(const_cast<void*>(data));
        stream_.avail_in = static_cast<uInt>(size);
        started_ = size <= UINT_MAX && inflateInit(&stream_) == Z_OK;
        ok_ = started_;
    }
    ~Inflater() {
        if (started_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Fills exactly count bytes; false when the stream is damaged or ends before.
    bool Read(void* out, size_t count) {
        if (!ok_ || count > UINT_MAX) return false;
        stream_.next_out = static_cast<Bytef*>(out);
        stream_.avail_out = static_cast<uInt>(count);
        while (stream_.avail_out != 0) {
            const int result = inflate(&stream_, Z_NO_FLUSH);
            ended_ = result == Z_STREAM_END;
            if (result != Z_OK && !ended_) return ok_ = false;
            if (ended_ && stream_.avail_out != 0) return ok_ = false;
        }
        return true;
    }

    // True when the stream, its checksum included, ends here with no input left over.
    bool AtEnd() {
        if (!ok_) return false;
        if (!ended_) {
            Bytef extra = 0;
            stream_.next_out = &extra;
            stream_.avail_out = 1;
            ended_ = inflate(&stream_, Z_FINISH) == Z_STREAM_END && stream_.avail_out == 1;
        }
        return ended_ && stream_.avail_in == 0;
    }

private:
    z_stream stream_ = {};
    bool started_ = false;
    bool ok_ = false;  // no fault met so far
    bool ended_ = false;
};

// Entries of the colour table that follows the header, or -1 for a header that is not an
// uncompressed picture of a sensible size.
int ColourCount(const BITMAPINFOHEADER& h) {
    const bool depthOk = h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 || h.biBitCount == 16 ||
                         h.biBitCount == 24 || h.biBitCount == 32;
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || !depthOk || h.biCompression != BI_RGB) return -1;
    if (h.biWidth <= 0 || h.biWidth > MaxSide || h.biHeight == 0 || h.biHeight > MaxSide || h.biHeight < -MaxSide)
        return -1;
    const DWORD most = h.biBitCount <= 8 ? DWORD{1} << h.biBitCount : 256;
    if (h.biClrUsed > most) return -1;
    if (h.biClrUsed != 0) return static_cast<int>(h.biClrUsed);
    return h.biBitCount <= 8 ? static_cast<int>(most) : 0;
}

}  // namespace

UniqueHBitmap BitmapFromCompressedDib(const void* data, size_t size) {
    if (!data) return UniqueHBitmap();
    Inflater in(data, size);
    BITMAPINFOHEADER header = {};
    if (!in.Read(&header, sizeof header)) return UniqueHBitmap();
    const int colours = ColourCount(header);
    if (colours < 0) return UniqueHBitmap();

    // The header and colour table together, as CreateDIBSection wants them.
    std::vector<uint8_t> info(sizeof header + static_cast<size_t>(colours) * sizeof(RGBQUAD));
    std::memcpy(info.data(), &header, sizeof header);
    if (!in.Read(info.data() + sizeof header, info.size() - sizeof header)) return UniqueHBitmap();

    const size_t stride = ((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    const size_t rows = static_cast<size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    std::vector<uint8_t> pixels(stride * rows);
    if (!in.Read(pixels.data(), pixels.size()) || !in.AtEnd()) return UniqueHBitmap();

    void* bits = nullptr;
    UniqueHBitmap bitmap(::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                                            &bits, nullptr, 0));
    if (!bitmap || !bits) return UniqueHBitmap();
    ::GdiFlush();
    std::memcpy(bits, pixels.data(), pixels.size());
    return bitmap;
}

UniqueHBitmap LoadCompressedBitmapResource(const char* name) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, name, CompressedBitmapType);
    if (!found) return UniqueHBitmap();
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data || size == 0) return UniqueHBitmap();
    return BitmapFromCompressedDib(data, size);
}

}  // namespace orv::ui
