// The reference for the copy benchmark: inflates the embedded archive once and writes every
// entry with its time set on the write handle, and nothing else (no checks, no log, no questions).
#include <windows.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

// The archive resource inflated whole; false on any failure.
bool Inflate(std::string& out) {
    HRSRC res = ::FindResourceA(nullptr, "FILES", "FILES");
    HGLOBAL loaded = res ? ::LoadResource(nullptr, res) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return false;
    const uLong packed = ::SizeofResource(nullptr, res);
    for (uLongf size = packed * 5;; size *= 2) {
        out.resize(size);
        uLongf got = size;
        const int rc = uncompress(reinterpret_cast<Bytef*>(&out[0]), &got, static_cast<const Bytef*>(bytes), packed);
        if (rc == Z_OK) {
            out.resize(got);
            return true;
        }
        if (rc != Z_BUF_ERROR) return false;
    }
}

// The entry's local time (days since 1899-12-30) to the file time, to whole even seconds
// as the MS-DOS form the setup goes through keeps it.
FILETIME EntryTime(double stamp) {
    const long long ms = static_cast<long long>(stamp * 86400000.0 + 0.5);
    const long long days1601To1899 = 109205;
    const long long t = ((ms / 2000) * 2000 + days1601To1899 * 86400000LL) * 10000LL;
    FILETIME local = {}, utc = {};
    local.dwLowDateTime = static_cast<DWORD>(t);
    local.dwHighDateTime = static_cast<DWORD>(t >> 32);
    ::LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

// Makes every folder of the path that this run has not made yet.
void MakeFolders(const std::string& path, std::unordered_set<std::string>& made) {
    for (size_t i = path.find('\\', 3); i != std::string::npos; i = path.find('\\', i + 1)) {
        std::string folder = path.substr(0, i);
        if (made.insert(folder).second) ::CreateDirectoryA(folder.c_str(), nullptr);
    }
}

bool WriteEntry(const std::string& path, const char* bytes, DWORD size, const FILETIME& time) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = size == 0 || (::WriteFile(file, bytes, size, &written, nullptr) && written == size);
    ::SetFileTime(file, nullptr, nullptr, &time);
    return ::CloseHandle(file) && ok;
}

}  // namespace

// MinimalWriter FOLDER writes every entry below FOLDER; without it the archive is only inflated.
int main(int argc, char** argv) {
    LARGE_INTEGER t0, t1, t2;
    ::QueryPerformanceCounter(&t0);
    std::string data;
    if (!Inflate(data)) return 1;
    ::QueryPerformanceCounter(&t1);
    std::string root = argc > 1 ? argv[1] : "";
    if (!root.empty() && root.back() != '\\') root += '\\';
    std::unordered_set<std::string> made;
    int count = 0, rc = 0;
    for (size_t o = 0; o < data.size() && !root.empty(); ++count) {
        const size_t n = static_cast<unsigned char>(data[o]);
        const std::string path = root + data.substr(o + 1, n);
        o += 1 + n;
        double stamp;
        int size;
        std::memcpy(&stamp, &data[o], 8);
        std::memcpy(&size, &data[o + 8], 4);
        o += 12;
        MakeFolders(path, made);
        if (!WriteEntry(path, &data[o], static_cast<DWORD>(size), EntryTime(stamp))) rc = 1;
        o += static_cast<size_t>(size);
    }
    ::QueryPerformanceCounter(&t2);
    std::printf("%d entries, %zu bytes inflated; load %.1f ms, write %.1f ms\n", count, data.size(),
                Milliseconds(t0, t1), Milliseconds(t1, t2));
    return rc;
}
