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

void flushData(png_structp) {}

void quietWarning(png_structp, png_const_charp) {}

[[noreturn]] void quietError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Kept free of C++ objects with destructors: libpng leaves it by longjmp on errors.
bool encode(QIODevice *device, int width, int height, bool alpha, std::vector<png_bytep> &rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    Sink sink{device};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, writeData, flushData);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = const_cast<png_charp>("Software");
    text.text = const_cast<png_charp>(PngWriter::kSoftware);
    text.text_length = sizeof(PngWriter::kSoftware) - 1;
    png_set_text(png, info, &text, 1);
    png_write_info(png, info);
    png_write_image(png, rows.data());
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
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int w = pixels.width();
    const int h = pixels.height();
    const bool alpha = transparent.has_value();
    const int channels = alpha ? 4 : 3;
    const QRgb key = transparent.value_or(0) & 0xFFFFFF;

    std::vector<png_byte> data(std::size_t(w) * h * channels);
    std::vector<png_bytep> rows(static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        png_bytep out = data.data() + std::size_t(y) * w * channels;
        rows[std::size_t(y)] = out;
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            *out++ = png_byte(qRed(p));
            *out++ = png_byte(qGreen(p));
            *out++ = png_byte(qBlue(p));
            if (alpha)
                *out++ = (p & 0xFFFFFF) == key ? 0 : 255;
        }
    }
    if (!encode(&device, w, h, alpha, rows)) {
        m_error = QStringLiteral("Error Writing PNG File!");
        return false;
    }
    return true;
}
