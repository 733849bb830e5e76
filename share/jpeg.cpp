#include "share/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace {
struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default handler ends the process; come back to the caller instead.
[[noreturn]] void onError(j_common_ptr c) {
    auto* e = reinterpret_cast<ErrorJump*>(c->err);
    (*c->err->format_message)(c, e->message);
    std::longjmp(e->jump, 1);
}

struct Output {
    unsigned char* data = nullptr;
    unsigned long size = 0;
};

// Only plain C data lives in this frame, so the jump back skips no destructor.
bool compress(const QImage& rgb, int quality, Output* out, ErrorJump* err) {
    jpeg_compress_struct c;
    c.err = jpeg_std_error(&err->mgr);
    err->mgr.error_exit = onError;
    err->message[0] = '\0';
    if (setjmp(err->jump)) {
        jpeg_destroy_compress(&c);
        return false;
    }
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &out->data, &out->size);
    c.image_width = JDIMENSION(rgb.width());
    c.image_height = JDIMENSION(rgb.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return true;
}
} // namespace

QByteArray EncodeJpeg(const QImage& picture, int quality) {
    if (picture.isNull())
        throw std::runtime_error("There is no picture to encode.");
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    Output out;
    ErrorJump err;
    const bool ok = compress(rgb, quality, &out, &err);
    QByteArray bytes;
    if (ok)
        bytes = QByteArray(reinterpret_cast<const char*>(out.data), qsizetype(out.size));
    std::free(out.data);
    if (!ok)
        throw std::runtime_error(std::string("JPEG error: ") + err.message);
    return bytes;
}
