#include "ui/JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>

// A resource file compiled into a static library is registered by name from outside any
// namespace.
static void registerPictures() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)registered;
}

namespace ui {

namespace {

constexpr JDIMENSION kMaxSide = 16384;

// libjpeg reports a fatal error by calling error_exit, which by default ends the process.
// Here it jumps back to the decoder, which gives up on the picture.
struct Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed{};
    QImage image;
};

extern "C" void leaveDecoder(j_common_ptr info) {
    auto* decoder = static_cast<Decoder*>(info->client_data);
    std::longjmp(decoder->failed, 1);
}

// Warnings (a truncated file) are kept quiet: the picture is decoration.
extern "C" void quietMessage(j_common_ptr) {}

// Runs between setjmp and the end of decoding: it owns no object with a destructor, so a
// jump out of libjpeg skips nothing.
bool decodeInto(Decoder& d, const QByteArray& bytes) {
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK)
        return false;
    if (d.info.image_width == 0 || d.info.image_height == 0 || d.info.image_width > kMaxSide ||
        d.info.image_height > kMaxSide)
        return false;
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    if (d.info.output_components != 3)
        return false;
    d.image = QImage(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
                     QImage::Format_RGB888);
    if (d.image.isNull())
        return false;
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.info.output_scanline));
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    // Everything the jump may meet lives on the heap behind a pointer set before setjmp.
    const auto decoder = std::make_unique<Decoder>();
    Decoder& d = *decoder;
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = leaveDecoder;
    d.errors.output_message = quietMessage;
    d.info.client_data = &d;
    if (setjmp(d.failed) != 0) {
        jpeg_destroy_decompress(&d.info);
        return {};
    }
    jpeg_CreateDecompress(&d.info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    const bool ok = decodeInto(d, bytes);
    jpeg_destroy_decompress(&d.info);
    if (!ok)
        return {};
    return std::move(d.image);
}

QImage loadJpeg(const QString& path) {
    registerPictures();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}

QImage seaPhoto() {
    return loadJpeg(QStringLiteral(":/pictures/sea.jpg"));
}
QImage waitPicture() {
    return loadJpeg(QStringLiteral(":/pictures/wait.jpg"));
}

} // namespace ui
