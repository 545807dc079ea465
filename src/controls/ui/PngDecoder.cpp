// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/PngDecoder.h"

#include <QFile>
#include <QSysInfo>

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace q905 {

namespace {

struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
};

// libpng reports errors by jumping back to the setjmp of the function that called it: these two
// keep nothing but plain values alive across it.
bool readHeader(png_structp png, png_infop info, std::FILE* file, Header* header) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_read_info(png, info);
    // Everything becomes 8-bit RGB, with alpha where the picture has transparency.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    header->alpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                    png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (header->alpha) {
        // As QImage::Format_ARGB32 lays a pixel out in memory.
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
            png_set_bgr(png);
        else
            png_set_swap_alpha(png);
    }
    png_read_update_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    return png_get_channels(png, info) == (header->alpha ? 4 : 3);
}

bool readRows(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

// Errors end in the jump above; warnings (an unknown chunk, a bad checksum in an ancillary one)
// are not worth a word.
void ignoreWarning(png_structp, png_const_charp) {}

} // namespace

QImage decodePng(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.constData(), "rb"),
                                                         &std::fclose);
    if (!file)
        return {};
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, ignoreWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    const auto release = [&] { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); };
    Header header;
    if (!info || !readHeader(png, info, file.get(), &header) || header.width == 0 ||
        header.height == 0) {
        release();
        return {};
    }
    QImage picture(int(header.width), int(header.height),
                   header.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    if (picture.isNull()) {
        release();
        return {};
    }
    std::vector<png_bytep> rows(header.height);
    for (png_uint_32 y = 0; y < header.height; ++y)
        rows[y] = picture.scanLine(int(y));
    const bool read = readRows(png, info, rows.data());
    release();
    if (!read)
        return {};
    if (header.alpha)
        picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    return picture;
}

} // namespace q905
