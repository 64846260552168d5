#pragma once
// What every fuzz target shares: a private scratch folder for the inputs that the readers take
// as files, and a check that stops the run with a message when an invariant breaks (libFuzzer
// then keeps the input as a crash case).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace tkv::fuzz {

#define TKV_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)

// The run's scratch folder, removed when the process ends normally.
class Scratch {
  public:
    static Scratch& instance() {
        static Scratch scratch;
        return scratch;
    }

    // Folder for the files of one input; emptied before each input.
    const std::string& folder() const { return folder_; }
    std::string path(std::string_view name) const { return folder_ + std::string(name); }

    // Empties the scratch folder and writes data as name (sub-folders created).
    std::string write(std::string_view name, std::string_view data) const {
        clear();
        return add(name, data);
    }

    // Writes data as name beside what is already there.
    std::string add(std::string_view name, std::string_view data) const {
        const std::string p = path(name);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::FILE* f = std::fopen(p.c_str(), "wb");
        TKV_FUZZ_CHECK(f != nullptr);
        TKV_FUZZ_CHECK(data.empty() || std::fwrite(data.data(), 1, data.size(), f) == data.size());
        TKV_FUZZ_CHECK(std::fclose(f) == 0);
        return p;
    }

    void clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(root_, ec))
            std::filesystem::remove_all(entry.path(), ec);
        std::filesystem::create_directories(folder_, ec);
    }

    // The root holds the input folder; nothing may appear beside it.
    const std::string& root() const { return root_; }

    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

  private:
    Scratch() {
        std::string templ = (std::filesystem::temp_directory_path() / "tkv-fuzz-XXXXXX").string();
        TKV_FUZZ_CHECK(::mkdtemp(templ.data()) != nullptr);
        root_ = templ + "/";
        folder_ = root_ + "in/";
        std::filesystem::create_directories(folder_);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::string root_, folder_;
};

inline std::string_view bytes_of(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace tkv::fuzz
