#pragma once
// Big-endian byte-stream readers and writers of the database files, compressed blocks and
// update data. A reader that hits the end leaves its output unchanged and returns false.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tkv {

class BinaryFile {
  public:
    BinaryFile() = default;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    ~BinaryFile();
    bool is_open() const { return f_ != nullptr; }
    bool at_end() const { return pos_ >= size_; } // no byte left to read
    std::uint64_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    std::uint64_t size() const { return size_; } // of a file opened for reading

  private:
    friend bool file_open_read(BinaryFile&, const std::string&);
    friend bool file_open_read_bytes(BinaryFile&, std::string_view);
    friend bool file_open_write(BinaryFile&, const std::string&);
    friend bool file_open_write_atomic(BinaryFile&, const std::string&);
    friend bool file_close(BinaryFile&);
    friend bool file_read_u8(BinaryFile&, std::uint8_t&);
    friend bool file_read_u16(BinaryFile&, std::uint16_t&);
    friend bool file_read_u32(BinaryFile&, std::int32_t&);
    friend bool file_read_bytes(BinaryFile&, std::string&, std::size_t);
    friend void file_write_bytes(BinaryFile&, std::string_view, bool&);
    std::FILE* f_ = nullptr;
    bool write_failed_ = false;
    std::uint64_t size_ = 0; // of a file opened for reading, taken when it was opened
    std::uint64_t pos_ = 0;
    std::unique_ptr<char[]> read_buffer_; // the stream's buffer while reading, outlives f_
    std::string temp_path_; // of an atomic write: the file that replaces target_path_ on close
    std::string target_path_;
};

bool file_open_read(BinaryFile& f, const std::string& p);
// Reads bytes held in memory (an e-mail's attachment) as a file; they must outlive the reading.
bool file_open_read_bytes(BinaryFile& f, std::string_view bytes);
bool file_open_write(BinaryFile& f, const std::string& p);
// Writes into a temporary file beside p; file_close then puts it in place of p, flushed to disk,
// when every write succeeded, and removes it otherwise. Destroyed without file_close, it is
// removed: p never holds a half-written file.
bool file_open_write_atomic(BinaryFile& f, const std::string& p);
bool file_close(BinaryFile& f); // false also when an earlier write or the flush failed
bool file_read_u8(BinaryFile& f, std::uint8_t& out);
bool file_read_u16(BinaryFile& f, std::uint16_t& out);
bool file_read_u32(BinaryFile& f, std::int32_t& out);
// Empties out, then reads n bytes in pieces of at most 2048; complete pieces read before a
// short one stay in out.
bool file_read_bytes(BinaryFile& f, std::string& out, std::size_t n);
// Writes s in pieces of at most 1024 bytes; sets ok to false when any piece failed.
void file_write_bytes(BinaryFile& f, std::string_view s, bool& ok);

struct MemoryStream {
    std::string data;
    std::size_t pos = 0;
    bool at_end() const { return pos >= data.size(); }
};

bool stream_read_u8(MemoryStream& m, std::uint8_t& out);
bool stream_read_u16(MemoryStream& m, std::uint16_t& out);
bool stream_read_u32(MemoryStream& m, std::int32_t& out);
bool stream_read_bytes(MemoryStream& m, std::string& out, std::size_t n);
std::string stream_contents(const MemoryStream& m);

} // namespace tkv
