#include "export/PngWriter.h"

#include <QIODevice>

#include <png.h>

#include <vector>

namespace {

struct Sink
{
    QIODevice *device;
};

void writeData(png_structp png, png_bytep data, png_size_t length)
{
    auto *sink = static_cast<Sink *>(png_get_io_ptr(png));
    if (sink->device->write(reinterpret_cast<const char *>(data), qint64(length)) != qint64(length))
        png_error(png, "write failed");
}

void flushData(png_structp) { }

void quietWarning(png_structp, png_const_charp) { }

[[noreturn]] void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Makes row y of the image in the buffer; a plain function so that no C++ object with a
// destructor lives across libpng's error jump.
struct RowMaker
{
    const QImage *image;
    bool alpha;
    QRgb key;
    png_bytep buffer;
};

void makeRow(const RowMaker &maker, int y)
{
    const QRgb *line = reinterpret_cast<const QRgb *>(maker.image->constScanLine(y));
    png_bytep out = maker.buffer;
    const int w = maker.image->width();
    for (int x = 0; x < w; ++x) {
        const QRgb p = line[x];
        *out++ = png_byte(qRed(p));
        *out++ = png_byte(qGreen(p));
        *out++ = png_byte(qBlue(p));
        if (maker.alpha)
            *out++ = (p & 0xFFFFFF) == maker.key ? 0 : 255;
    }
}

// Kept free of C++ objects with destructors: libpng leaves it by longjmp on errors. Every row is
// filtered against the one above (most rows of a page repeat the one above) and compressed at
// the fastest level, and goes out as soon as it is made.
bool encode(QIODevice *device, const RowMaker &maker)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    Sink sink { device };
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const int width = maker.image->width();
    const int height = maker.image->height();
    png_set_write_fn(png, &sink, writeData, flushData);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
        maker.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_text text {};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<png_charp>("Software");
    text.text = const_cast<png_charp>(PngWriter::kSoftware);
    text.text_length = sizeof(PngWriter::kSoftware) - 1;
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        makeRow(maker, y);
        png_write_row(png, maker.buffer);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool PngWriter::write(QIODevice &device, const QImage &image, std::optional<QRgb> transparent)
{
    m_error.clear();
    if (image.isNull()) {
        m_error = QStringLiteral("Error Writing PNG File!");
        return false;
    }
    const QImage pixels = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const bool alpha = transparent.has_value();
    std::vector<png_byte> row(std::size_t(pixels.width()) * (alpha ? 4 : 3));
    const RowMaker maker { &pixels, alpha, transparent.value_or(0) & 0xFFFFFF, row.data() };
    if (!encode(&device, maker)) {
        m_error = QStringLiteral("Error Writing PNG File!");
        return false;
    }
    return true;
}
