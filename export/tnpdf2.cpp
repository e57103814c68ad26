#include "export/tnpdf2.h"

#include "export/ReplacingFile.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char kCrLf[] = "\r\n";

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm result {};
    localtime_r(&now, &result);
    return result;
}

std::string num(long long value)
{
    return std::to_string(value);
}

std::string readWholeFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw PdfWriteError("Cannot open file \"" + path.string() + "\". " + std::strerror(errno));
    std::string data;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        data.resize(std::size_t(size));
        in.read(data.data(), size);
    }
    if (!in)
        throw PdfWriteError("Cannot read file \"" + path.string() + "\".");
    return data;
}

// Counts the bytes written through it, so EndDoc can record offsets while streaming.
class CountingWriter
{
public:
    explicit CountingWriter(std::ostream &out)
        : m_out(out)
    { }
    void write(std::string_view bytes)
    {
        m_out.write(bytes.data(), std::streamsize(bytes.size()));
        m_count += bytes.size();
    }
    std::uint64_t count() const { return m_count; }

private:
    std::ostream &m_out;
    std::uint64_t m_count = 0;
};

} // namespace

TPrintPDF1::TPrintPDF1()
    : Author("Velmora Lumaro")
    , Creator("Velmora Lumaro")
    , Producer("Velmora Lumaro")
    , m_clock(localNow)
{ }

TPrintPDF1::~TPrintPDF1()
{
    removeSpoolFolder();
}

const std::vector<std::string> &TPrintPDF1::standardFonts()
{
    static const std::vector<std::string> fonts = { "Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
        "Helvetica-BoldOblique", "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Times-Roman",
        "Times-Bold", "Times-Italic", "Times-BoldItalic", "Symbol", "ZapfDingbats" };
    return fonts;
}

std::string TPrintPDF1::escapeString(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        switch (c) {
        case '\\':
        case '(':
        case ')':
            out += '\\';
            out += c;
            break;
        // A bare end of line inside a literal string would be read back as a line feed.
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void TPrintPDF1::setPixelsPerInch(int horizontal, int vertical)
{
    if (horizontal <= 0 || vertical <= 0)
        throw std::invalid_argument("pixels per inch must be positive");
    m_ppiX = horizontal;
    m_ppiY = vertical;
}

void TPrintPDF1::setClock(std::function<std::tm()> clock)
{
    m_clock = clock ? std::move(clock) : std::function<std::tm()>(localNow);
}

void TPrintPDF1::setSpoolParent(const fs::path &parent)
{
    m_spoolParent = parent;
}

void TPrintPDF1::line(std::string &buffer, std::string_view text) const
{
    buffer.append(text);
    buffer.append(kCrLf);
}

void TPrintPDF1::appendRaw(std::string_view bytes)
{
    m_file.append(bytes);
    m_runningOffset += bytes.size();
}

void TPrintPDF1::appendObject(std::string_view object)
{
    appendRaw(object);
    m_offsets.push_back(m_runningOffset);
}

std::string TPrintPDF1::creationDate() const
{
    const std::tm t = m_clock();
    char digits[32];
    std::snprintf(digits, sizeof digits, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
        t.tm_hour, t.tm_min, t.tm_sec);
    return digits;
}

void TPrintPDF1::BeginDoc()
{
    removeSpoolFolder();
    m_file.clear();
    m_object.clear();
    m_content.clear();
    m_offsets.clear();
    m_contentObjects.clear();
    m_fontObjects.clear();
    m_runningOffset = 0;
    m_lastObject = 0;
    m_imageCount = 0;
    m_outlinesObject = m_pagesObject = m_resourcesObject = m_catalogObject = 0;
    m_pageNumber = 1;
    m_begun = true;

    std::string header;
    line(header, "%PDF-1.4");
    appendRaw(header);
    m_offsets.push_back(m_runningOffset);

    std::string info;
    m_lastObject = 1;
    line(info, "1 0 obj");
    line(info, "<<");
    line(info, "/Producer (" + escapeString(Producer) + ")");
    line(info, "/Author (" + escapeString(Author) + ")");
    line(info, "/CreationDate (D:" + creationDate() + ")");
    line(info, "/Creator (" + escapeString(Creator) + ")");
    line(info, "/Keywords (" + escapeString(Keywords) + ")");
    line(info, "/Subject (" + escapeString(Subject) + ")");
    line(info, "/Title (" + escapeString(TITLE) + ")");
    line(info, "/ModDate ()");
    line(info, ">>");
    line(info, "endobj");
    appendObject(info);

    openContentStream();
}

void TPrintPDF1::openContentStream()
{
    const int n = ++m_lastObject;
    m_contentObjects.push_back(n);
    m_object.clear();
    line(m_object, num(n) + " 0 obj");
    line(m_object, "<< /Length " + num(n + 1) + " 0 R");
    if (Compress)
        line(m_object, "/Filter [/FlateDecode]");
    line(m_object, " >>");
    m_streamHeaderLength = m_object.size();
    line(m_object, "stream");
    m_content.clear();
}

std::string TPrintPDF1::deflate(std::string_view data) const
{
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    const int rc = compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(data.data()),
        uLong(data.size()), Z_DEFAULT_COMPRESSION);
    if (rc != Z_OK)
        throw PdfWriteError("Compression failed.");
    out.resize(size);
    return out;
}

void TPrintPDF1::closeContentStream()
{
    const int n = m_lastObject;
    if (Compress)
        m_object += deflate(m_content);
    else
        m_object += m_content;
    m_content.clear();
    line(m_object, "endstream");
    line(m_object, "endobj");
    appendObject(m_object);

    // The stream's data bytes: the object without its header, "stream", "endstream" and "endobj"
    // lines (8 + 11 + 8 bytes).
    const std::size_t dataBytes = m_object.size() - m_streamHeaderLength - 27;
    m_object.clear();

    std::string length;
    m_lastObject = n + 1;
    line(length, num(n + 1) + " 0 obj");
    line(length, num(static_cast<long long>(dataBytes)));
    line(length, "endobj");
    appendObject(length);
}

void TPrintPDF1::TextOut(int x, int y, std::string_view text)
{
    line(m_content, "BT");
    line(m_content, "/F" + num(Font.Number + 1) + " " + num(Font.Size) + " Tf");
    line(m_content, num(x) + " " + num(PageHeight - y) + " Td");
    line(m_content, "(" + escapeString(text) + ") Tj");
    line(m_content, "ET");
}

void TPrintPDF1::Draw(int x, int y, const TPDFImage &image)
{
    if (image.Width <= 0 || image.Height <= 0
        || image.Pixels.size() < std::size_t(image.Width) * std::size_t(image.Height) * 3)
        throw std::invalid_argument("image data smaller than its size");
    const int i = PlaceImage(x, y, image.Width, image.Height);
    const std::size_t rowBytes = std::size_t(image.Width) * 3;
    const auto *pixels = reinterpret_cast<const unsigned char *>(image.Pixels.data());
    WriteImage(i, image.Width, image.Height, [&](int row) { return pixels + rowBytes * std::size_t(row); });
}

int TPrintPDF1::PlaceImage(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("an image needs a width and a height");
    const int i = ++m_imageCount;
    // 8 inches of pixels fill the page width, 10.625 inches the page height.
    const long long placedWidth = (long long)width * PageWidth / (8LL * m_ppiX);
    const long long placedHeight = (long long)height * PageHeight * 8 / (85LL * m_ppiY);

    line(m_content, "q");
    line(m_content,
        num(placedWidth) + " 0 0 " + num(placedHeight) + " " + num(x) + " " + num(PageHeight - y - placedHeight)
            + " cm");
    line(m_content, "/Im" + num(i) + " Do");
    line(m_content, "Q");
    ensureSpoolFolder();
    return i;
}

void TPrintPDF1::WriteImage(int i, int width, int height, const RowSource &rows) const
{
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::string data;
    if (Compress) {
        // One zlib stream at the default level, fed a row at a time: the same bytes as
        // compressing the whole image in one piece.
        z_stream zs {};
        if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK)
            throw PdfWriteError("Compression failed.");
        struct End
        {
            z_stream &zs;
            ~End() { deflateEnd(&zs); }
        } end { zs };
        data.resize(std::max<std::size_t>(64 * 1024, rowBytes * 4));
        auto feed = [&](const unsigned char *in, std::size_t size, int flush) {
            zs.next_in = const_cast<Bytef *>(in);
            zs.avail_in = uInt(size);
            do {
                if (zs.total_out + 16 * 1024 > data.size())
                    data.resize(data.size() * 2);
                zs.next_out = reinterpret_cast<Bytef *>(data.data()) + zs.total_out;
                zs.avail_out = uInt(data.size() - zs.total_out);
                const int rc = ::deflate(&zs, flush);
                if (rc == Z_STREAM_ERROR)
                    throw PdfWriteError("Compression failed.");
                if (flush == Z_FINISH && rc == Z_STREAM_END)
                    return;
            } while (zs.avail_in > 0 || zs.avail_out == 0 || flush == Z_FINISH);
        };
        for (int y = 0; y < height; ++y)
            feed(rows(y), rowBytes, Z_NO_FLUSH);
        feed(nullptr, 0, Z_FINISH);
        data.resize(zs.total_out);
    } else {
        data.reserve(rowBytes * std::size_t(height));
        for (int y = 0; y < height; ++y)
            data.append(reinterpret_cast<const char *>(rows(y)), rowBytes);
    }

    std::string body;
    line(body, "<< /Type /XObject");
    line(body, "/Subtype /Image");
    line(body, "/Width " + num(width));
    line(body, "/Height " + num(height));
    line(body, "/ColorSpace /DeviceRGB");
    line(body, "/BitsPerComponent 8");
    line(body, "/Length " + num((long long)data.size()));
    line(body, "/Name /Im" + num(i));
    if (Compress)
        line(body, "/Filter [/FlateDecode]");
    line(body, ">>");
    line(body, "stream");
    writeSpoolFile(i, body, data);
}

void TPrintPDF1::writeSpoolFile(int i, std::string_view body, std::string_view data) const
{
    const fs::path path = spoolFile(i);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw PdfWriteError("Cannot create file \"" + path.string() + "\". " + std::strerror(errno));
    out.write(body.data(), std::streamsize(body.size()));
    out.write(data.data(), std::streamsize(data.size()));
    out.close();
    if (!out)
        throw PdfWriteError("Cannot write file \"" + path.string() + "\".");
}

void TPrintPDF1::NewPage()
{
    ++m_pageNumber;
    closeContentStream();
    openContentStream();
}

fs::path TPrintPDF1::spoolFile(int image) const
{
    return m_spoolDir / ("~tmpim" + num(image));
}

void TPrintPDF1::ensureSpoolFolder()
{
    if (!m_spoolDir.empty())
        return;
    std::error_code ec;
    const fs::path parent = m_spoolParent.empty() ? fs::temp_directory_path(ec) : m_spoolParent;
    std::string pattern = (parent / "lumaro-pdf-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw PdfWriteError("Cannot create a temporary folder in \"" + parent.string() + "\". " + std::strerror(errno));
    m_spoolDir = pattern;
}

void TPrintPDF1::removeSpoolFolder() noexcept
{
    if (m_spoolDir.empty())
        return;
    std::error_code ec;
    fs::remove_all(m_spoolDir, ec);
    m_spoolDir.clear();
}

void TPrintPDF1::writeTail(std::ostream &stream)
{
    closeContentStream();
    const int pages = int(m_contentObjects.size());

    std::string obj;
    auto begin = [&](int n) {
        obj.clear();
        m_lastObject = n;
        line(obj, num(n) + " 0 obj");
    };
    auto end = [&]() {
        line(obj, "endobj");
        appendObject(obj);
    };

    begin(++m_lastObject);
    m_outlinesObject = m_lastObject;
    line(obj, "<< /Type /Outlines");
    line(obj, "/Count 0");
    line(obj, ">>");
    end();

    const auto &fonts = standardFonts();
    for (std::size_t k = 0; k < fonts.size(); ++k) {
        begin(m_lastObject + 1);
        m_fontObjects.push_back(m_lastObject);
        line(obj, "<< /Type /Font");
        line(obj, "/Subtype /Type1");
        line(obj, "/Name /F" + num((long long)k + 1));
        line(obj, "/BaseFont /" + fonts[k]);
        line(obj, "/Encoding /WinAnsiEncoding");
        line(obj, ">>");
        end();
    }

    m_pagesObject = m_lastObject + 1;
    m_resourcesObject = m_pagesObject + 1;
    const int firstImage = m_resourcesObject + 1;
    const int firstPage = firstImage + m_imageCount;

    begin(m_pagesObject);
    line(obj, "<< /Type /Pages");
    line(obj, "/Kids [");
    for (int k = 0; k < pages; ++k)
        line(obj, num(firstPage + k) + " 0 R");
    line(obj, "]");
    line(obj, "/Count " + num(pages));
    line(obj, ">>");
    end();

    begin(m_resourcesObject);
    line(obj, "<< /ProcSet [ /PDF /Text /ImageC]");
    line(obj, "/XObject << ");
    for (int i = 1; i <= m_imageCount; ++i)
        line(obj, "/Im" + num(i) + " " + num(firstImage + i - 1) + " 0 R");
    line(obj, ">>");
    line(obj, "/Font << ");
    for (std::size_t k = 0; k < m_fontObjects.size(); ++k)
        line(obj, "/F" + num((long long)k + 1) + " " + num(m_fontObjects[k]) + " 0 R ");
    line(obj, ">>");
    line(obj, ">>");
    end();

    // From here on the objects go straight to the stream: the images are the bulk of the file.
    CountingWriter out(stream);
    out.write(m_file);
    m_file.clear();

    for (int i = 1; i <= m_imageCount; ++i) {
        const int n = firstImage + i - 1;
        m_lastObject = n;
        std::string head = num(n);
        head += " 0 obj\r\n";
        const std::string spooled = readWholeFile(spoolFile(i));
        static const std::string tail("\r\nendstream\r\nendobj\r\n");
        out.write(head);
        out.write(spooled);
        out.write(tail);
        m_runningOffset += head.size() + spooled.size() + tail.size();
        m_offsets.push_back(m_runningOffset);
    }

    for (int k = 1; k <= pages; ++k) {
        begin(firstPage + k - 1);
        line(obj, "<< /Type /Page");
        line(obj, "/Parent " + num(m_pagesObject) + " 0 R");
        line(obj, "/MediaBox [ 0 0 " + num(PageWidth) + " " + num(PageHeight) + "]");
        line(obj, "/Contents " + num(m_contentObjects[k - 1]) + " 0 R");
        line(obj, "/Resources " + num(m_resourcesObject) + " 0 R");
        line(obj, ">>");
        end();
    }

    begin(firstPage + pages);
    m_catalogObject = m_lastObject;
    line(obj, "<< /Type /Catalog");
    line(obj, "/Pages " + num(m_pagesObject) + " 0 R");
    line(obj, "/Outlines " + num(m_outlinesObject) + " 0 R");
    line(obj, ">>");
    end();

    const int size = m_lastObject + 1;
    std::string xref;
    line(xref, "xref");
    line(xref, "0 " + num(size));
    line(xref, "0000000000 65535 f");
    for (int k = 0; k < size - 1; ++k) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010llu 00000 n", (unsigned long long)m_offsets[k]);
        line(xref, entry);
    }
    line(xref, "trailer");
    line(xref, "<< /Size " + num(size));
    line(xref, "/Root " + num(m_catalogObject) + " 0 R");
    line(xref, "/Info 1 0 R");
    line(xref, ">>");
    line(xref, "startxref");
    line(xref, num((long long)m_offsets[size - 1]));
    line(xref, "%%EOF");
    appendRaw(xref);
    out.write(m_file);
    m_file.clear();
    stream.flush();
    if (!stream)
        throw PdfWriteError("Cannot write the PDF file.");
}

void TPrintPDF1::EndDoc(std::ostream &out)
{
    if (!m_begun)
        throw std::logic_error("EndDoc without BeginDoc");
    m_begun = false;
    try {
        writeTail(out);
    } catch (...) {
        removeSpoolFolder();
        throw;
    }
    removeSpoolFolder();
}

void TPrintPDF1::EndDoc()
{
    if (!m_begun)
        throw std::logic_error("EndDoc without BeginDoc");
    // Written by a temporary name beside the target (with the permissions of any new file) and
    // renamed over it once complete.
    ReplacingFile file(FileName);
    if (!file.open()) {
        m_begun = false;
        removeSpoolFolder();
        throw PdfWriteError("Cannot create file \"" + FileName + "\". " + file.error());
    }
    std::ofstream out(file.temporaryName(), std::ios::binary | std::ios::trunc);
    if (!out) {
        m_begun = false;
        removeSpoolFolder();
        throw PdfWriteError("Cannot create file \"" + FileName + "\".");
    }
    EndDoc(out);
    out.close();
    if (!out)
        throw PdfWriteError("Cannot write file \"" + FileName + "\".");
    if (!file.commit())
        throw PdfWriteError("Cannot create file \"" + FileName + "\". " + file.error());
}
