#include "render/PngWriter.h"

#include <QIODevice>
#include <QImage>

#include <png.h>

namespace xemap {

namespace {

void writeBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (out->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
        png_error(png, "the device refused the bytes");
}

void flushNothing(png_structp) {}

// libpng reports errors by a long jump back here, so this function owns no object
// with a destructor between the jump's setting and its end.
bool writeRows(png_structp png, png_infop info, const QImage& picture, QIODevice& out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &out, writeBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(picture.width()), png_uint_32(picture.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_set_compression_level(png, 4);
    png_write_info(png, info);
    // A 32-bit RGB pixel is stored blue first with an unused fourth byte.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < picture.height(); ++y)
        png_write_row(png, const_cast<png_bytep>(picture.constScanLine(y)));
    png_write_end(png, info);
    return true;
}

}  // namespace

bool writePng(const QImage& picture, QIODevice& out)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = info && writeRows(png, info, rgb, out);
    png_destroy_write_struct(&png, &info);
    return written;
}

}  // namespace xemap
