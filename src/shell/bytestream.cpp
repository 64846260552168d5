#include "shell/bytestream.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/files.h"

namespace tkv {

namespace {

// A source fills a buffer with exactly n bytes or reports failure.
auto from_file(std::FILE* f, std::uint64_t& pos) {
    return [f, &pos](char* buffer, std::size_t n) {
        const std::size_t got = f ? std::fread(buffer, 1, n, f) : 0;
        pos += got;
        return got == n;
    };
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

// Reads n bytes in pieces of 2048 straight into out; on a short piece out keeps the complete
// pieces before it. `available` bounds the memory taken before the bytes are there.
template <class Source>
bool read_pieces(Source&& read, std::string& out, std::size_t n, std::uint64_t available) {
    constexpr std::size_t piece = 2048;
    out.clear();
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(n, available)));
    while (out.size() < n) {
        const std::size_t done = out.size();
        const std::size_t size = std::min(n - done, piece);
        out.resize(done + size);
        if (!read(out.data() + done, size)) {
            out.resize(done);
            return false;
        }
    }
    return true;
}

} // namespace

BinaryFile::~BinaryFile() {
    write_failed_ = write_failed_ || !temp_path_.empty(); // an unfinished atomic write is discarded
    file_close(*this);
}

bool file_open_read(BinaryFile& f, const std::string& p) {
    file_close(f);
    f.f_ = std::fopen(p.c_str(), "rb");
    struct stat st {};
    if (f.f_ && ::fstat(::fileno(f.f_), &st) == 0 && S_ISREG(st.st_mode))
        f.size_ = static_cast<std::uint64_t>(st.st_size);
    // Records are read a few bytes at a time: a buffer of up to 256 KB reads a 100 MB file in a
    // few hundred system calls instead of tens of thousands.
    const auto buffer_size = static_cast<std::size_t>(std::min<std::uint64_t>(f.size_, 256 * 1024));
    if (f.f_ && buffer_size > BUFSIZ) {
        f.read_buffer_ = std::make_unique_for_overwrite<char[]>(buffer_size);
        std::setvbuf(f.f_, f.read_buffer_.get(), _IOFBF, buffer_size);
    }
    return f.is_open();
}

bool file_open_read_bytes(BinaryFile& f, std::string_view bytes) {
    file_close(f);
    // fmemopen wants a buffer of at least one byte: nothing to read is a byte read past already.
    static char nothing = 0;
    f.f_ = bytes.empty() ? ::fmemopen(&nothing, 1, "rb")
                         : ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (f.f_ && bytes.empty()) std::fseek(f.f_, 0, SEEK_END);
    f.size_ = bytes.size();
    return f.is_open();
}

bool file_open_write(BinaryFile& f, const std::string& p) {
    file_close(f);
    f.f_ = std::fopen(p.c_str(), "wb");
    return f.is_open();
}

bool file_open_write_atomic(BinaryFile& f, const std::string& p) {
    file_close(f);
    const int fd = create_temp_beside(p, false, f.temp_path_);
    if (fd < 0) return false;
    f.f_ = ::fdopen(fd, "wb");
    if (!f.f_) {
        ::close(fd);
        finish_temp(f.temp_path_, p, false);
        f.temp_path_.clear();
        return false;
    }
    f.target_path_ = p;
    return true;
}

bool file_close(BinaryFile& f) {
    if (!f.f_) return false;
    bool ok = !f.write_failed_;
    if (!f.temp_path_.empty()) ok = ok && std::fflush(f.f_) == 0 && ::fsync(::fileno(f.f_)) == 0;
    ok = std::fclose(f.f_) == 0 && ok;
    if (!f.temp_path_.empty()) ok = finish_temp(f.temp_path_, f.target_path_, ok);
    f.temp_path_.clear();
    f.target_path_.clear();
    f.f_ = nullptr;
    f.read_buffer_.reset();
    f.write_failed_ = false;
    f.size_ = f.pos_ = 0;
    return ok;
}

bool file_read_u8(BinaryFile& f, std::uint8_t& out) {
    return read_number(from_file(f.f_, f.pos_), out);
}
bool file_read_u16(BinaryFile& f, std::uint16_t& out) {
    return read_number(from_file(f.f_, f.pos_), out);
}
bool file_read_u32(BinaryFile& f, std::int32_t& out) {
    return read_number(from_file(f.f_, f.pos_), out);
}
bool file_read_bytes(BinaryFile& f, std::string& out, std::size_t n) {
    return read_pieces(from_file(f.f_, f.pos_), out, n, f.remaining());
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
    return read_pieces(from_stream(m), out, n, m.pos < m.data.size() ? m.data.size() - m.pos : 0);
}

std::string stream_contents(const MemoryStream& m) {
    return m.data;
}

} // namespace tkv
