#include "app/JpegPicture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace velmar {

namespace {

// libjpeg ends the process on an error unless the error handler leaves the
// decoder: this one jumps back to DecodeJpeg.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void LeaveOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1); }

void SayNothing(j_common_ptr) {}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = LeaveOnError;
    errors.base.output_message = SayNothing;
    // Nothing with a destructor lives between here and the jumps.
    QImage* image = new QImage;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        delete image;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = *image;
    delete image;
    return result;
}

}  // namespace velmar
