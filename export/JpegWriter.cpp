#include "export/JpegWriter.h"

#include <QIODevice>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr int kBufferSize = 65536;

struct Destination
{
    jpeg_destination_mgr manager;
    QIODevice *device;
    JOCTET buffer[kBufferSize];
};

struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void initDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    dest->manager.next_output_byte = dest->buffer;
    dest->manager.free_in_buffer = kBufferSize;
}

boolean emptyBuffer(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    if (dest->device->write(reinterpret_cast<const char *>(dest->buffer), kBufferSize) != kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->manager.next_output_byte = dest->buffer;
    dest->manager.free_in_buffer = kBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<Destination *>(cinfo->dest);
    const qint64 used = kBufferSize - qint64(dest->manager.free_in_buffer);
    if (used > 0 && dest->device->write(reinterpret_cast<const char *>(dest->buffer), used) != used)
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void silent(j_common_ptr) {}

// Kept free of C++ objects with destructors: libjpeg leaves it by longjmp on errors.
bool compress(QIODevice *device, const QImage *rgb, int quality, char *message)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    static thread_local Destination dest;
    cinfo.err = jpeg_std_error(&err.manager);
    err.manager.error_exit = errorExit;
    err.manager.output_message = silent;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    dest.device = device;
    dest.manager.init_destination = initDestination;
    dest.manager.empty_output_buffer = emptyBuffer;
    dest.manager.term_destination = termDestination;
    cinfo.dest = &dest.manager;
    cinfo.image_width = JDIMENSION(rgb->width());
    cinfo.image_height = JDIMENSION(rgb->height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.write_JFIF_header = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb->constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

bool JpegWriter::write(QIODevice &device, const QImage &image, int quality)
{
    m_error.clear();
    if (image.isNull()) {
        m_error = QStringLiteral("The page image is empty.");
        return false;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    char message[JMSG_LENGTH_MAX];
    if (!compress(&device, &rgb, quality, message)) {
        m_error = QStringLiteral("Error Writing JPEG File! ") + QString::fromLocal8Bit(message);
        return false;
    }
    return true;
}
