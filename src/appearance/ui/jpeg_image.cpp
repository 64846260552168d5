#include "appearance/ui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>
// jerror.h needs jpeglib.h first.
#include <jerror.h>

namespace tkv {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back instead of
// letting the library end the process.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void on_error(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}
void on_message(j_common_ptr) {}
// A file that ends early would decode with a grey rest: it is not a sound JPEG either.
void on_warning(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) on_error(info);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Kept apart from load_jpeg so no object with a destructor lives across the setjmp.
bool decode(std::FILE* file, QImage& image) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = on_error;
    errors.base.output_message = on_message;
    errors.base.emit_message = on_warning;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    // Window and splash pictures are a few hundred pixels a side; a huge one is refused before
    // it takes the memory.
    if (info.output_width == 0 || info.output_height == 0 || info.output_width > 4096 ||
        info.output_height > 4096 || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage load_jpeg(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    QImage image;
    if (!file || !decode(file.get(), image)) return {};
    return image;
}

} // namespace tkv
