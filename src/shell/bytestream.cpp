#include "shell/bytestream.h"

#include <algorithm>
#include <cstring>

namespace tkv {

namespace {

// A source fills a buffer with exactly n bytes or reports failure.
auto from_file(std::FILE* f) {
    return [f](char* buffer, std::size_t n) { return f && std::fread(buffer, 1, n, f) == n; };
}

// A memory source never moves past the end: a request it cannot fill leaves the position alone.
auto from_stream(MemoryStream& m) {
    return [&m](char* buffer, std::size_t n) {
        if (m.pos > m.data.size() || m.data.size() - m.pos < n) return false;
        std::memcpy(buffer, m.data.data() + m.pos, n);
        m.pos += n;
        return true;
    };
}

template <class T, class Source> bool read_number(Source&& read, T& out) {
    char bytes[sizeof(T)];
    if (!read(bytes, sizeof bytes)) return false;
    std::uint32_t value = 0;
    for (char b : bytes)
        value = value << 8 | static_cast<unsigned char>(b);
    out = static_cast<T>(value);
    return true;
}

template <class Source> bool read_pieces(Source&& read, std::string& out, std::size_t n) {
    out.clear();
    char piece[2048];
    while (n > 0) {
        std::size_t size = std::min(n, sizeof piece);
        if (!read(piece, size)) return false;
        out.append(piece, size);
        n -= size;
    }
    return true;
}

} // namespace

BinaryFile::~BinaryFile() {
    file_close(*this);
}

bool BinaryFile::at_end() {
    if (!f_) return true;
    int c = std::getc(f_);
    if (c == EOF) return true;
    std::ungetc(c, f_);
    return false;
}

bool file_open_read(BinaryFile& f, const std::string& p) {
    file_close(f);
    f.f_ = std::fopen(p.c_str(), "rb");
    return f.is_open();
}

bool file_open_write(BinaryFile& f, const std::string& p) {
    file_close(f);
    f.f_ = std::fopen(p.c_str(), "wb");
    return f.is_open();
}

bool file_close(BinaryFile& f) {
    if (!f.f_) return false;
    bool ok = std::fclose(f.f_) == 0 && !f.write_failed_;
    f.f_ = nullptr;
    f.write_failed_ = false;
    return ok;
}

bool file_read_u8(BinaryFile& f, std::uint8_t& out) {
    return read_number(from_file(f.f_), out);
}
bool file_read_u16(BinaryFile& f, std::uint16_t& out) {
    return read_number(from_file(f.f_), out);
}
bool file_read_u32(BinaryFile& f, std::int32_t& out) {
    return read_number(from_file(f.f_), out);
}
bool file_read_bytes(BinaryFile& f, std::string& out, std::size_t n) {
    return read_pieces(from_file(f.f_), out, n);
}

// Stops at the first failed piece: what follows would land at the wrong place anyway.
void file_write_bytes(BinaryFile& f, std::string_view s, bool& ok) {
    while (!s.empty()) {
        std::size_t size = std::min<std::size_t>(s.size(), 1024);
        if (!f.f_ || std::fwrite(s.data(), 1, size, f.f_) != size) {
            f.write_failed_ = true;
            ok = false;
            return;
        }
        s.remove_prefix(size);
    }
}

bool stream_read_u8(MemoryStream& m, std::uint8_t& out) {
    return read_number(from_stream(m), out);
}
bool stream_read_u16(MemoryStream& m, std::uint16_t& out) {
    return read_number(from_stream(m), out);
}
bool stream_read_u32(MemoryStream& m, std::int32_t& out) {
    return read_number(from_stream(m), out);
}
bool stream_read_bytes(MemoryStream& m, std::string& out, std::size_t n) {
    return read_pieces(from_stream(m), out, n);
}

std::string stream_contents(const MemoryStream& m) {
    return m.data;
}

} // namespace tkv
