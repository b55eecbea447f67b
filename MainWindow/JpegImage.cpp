#include "JpegImage.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {
// libjpeg writes each pixel as the bytes of one QImage::Format_RGB32 word.
constexpr J_COLOR_SPACE Rgb32Order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
constexpr int Rgb32Bytes = 4;

// libjpeg reports fatal errors through error_exit, which must not return:
// we jump back to the decoder with the message kept here.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool warned;
};

void onError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning about corrupt data; trace messages are ignored.
    if (level >= 0)
        return;
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    if (!manager->warned)
        (*info->err->format_message)(info, manager->message);
    manager->warned = true;
}

// Plain C data only between setjmp and longjmp: nothing here has a destructor.
bool decode(jpeg_decompress_struct &info, ErrorManager &errors, const unsigned char *data,
            unsigned long size, unsigned char *&pixels, int &width, int &height)
{
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.warned = false;
    errors.message[0] = '\0';
    pixels = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = Rgb32Order;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    const unsigned long rowBytes = static_cast<unsigned long>(width) * Rgb32Bytes;
    pixels = static_cast<unsigned char *>(
        (*info.mem->alloc_large)(reinterpret_cast<j_common_ptr>(&info), JPOOL_PERMANENT,
                                 rowBytes * static_cast<unsigned long>(height)));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}
}

QImage DecodeJpeg(const QByteArray &data, QString *error)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    unsigned char *pixels = nullptr;
    int width = 0;
    int height = 0;
    const bool decoded = decode(info, errors, reinterpret_cast<const unsigned char *>(data.constData()),
                                static_cast<unsigned long>(data.size()), pixels, width, height);
    QImage image;
    if (decoded && !errors.warned) {
        // The pixels live in libjpeg's pool until it is destroyed: copy them out first.
        image = QImage(pixels, width, height, width * Rgb32Bytes, QImage::Format_RGB32).copy();
    }
    if (decoded)
        jpeg_destroy_decompress(&info);
    if (image.isNull() && error)
        *error = QString::fromLocal8Bit(errors.message);
    return image;
}

QImage LoadJpegFile(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return {};
    }
    return DecodeJpeg(file.readAll(), error);
}
