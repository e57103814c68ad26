#pragma once

// TPrintPDF1: the program's own minimal PDF 1.4 writer (plain C++ over zlib).
//
// It knows the 14 standard Type 1 fonts (nothing embedded), 24-bit RGB images and optional Flate
// compression of page content and image data. Objects are numbered and laid out in a fixed order
// (Info 1, two objects per page for content stream and length, then Outlines, the fonts, Pages,
// the shared Resources, the images, the page objects and the Catalog), every line ends in CR LF.
//
// Calling order: construct, set the properties, BeginDoc, any number of TextOut / Draw / NewPage,
// EndDoc. Coordinates are points with y measured downwards from the top edge of the page.
//
// Image data waits in spool files of a private temporary folder between Draw and EndDoc; the
// folder is removed by EndDoc and by the destructor, so an export that fails half way leaves
// nothing behind. Nothing reaches FileName before EndDoc, and a failed save keeps an existing file.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Raised when a spool file or the output file cannot be created, written or read.
class PdfWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TPDFFont
{
    int Number = 4; // 0-based position in the standard font table (4: Courier)
    int Size = 12; // points
};

// A true-colour image for Draw: rows top to bottom, each Width * 3 bytes in the order the caller
// stores them (red, green, blue for a correct picture), no padding between rows.
struct TPDFImage
{
    int Width = 0;
    int Height = 0;
    std::string_view Pixels;
};

class TPrintPDF1
{
public:
    TPrintPDF1();
    ~TPrintPDF1();
    TPrintPDF1(const TPrintPDF1 &) = delete;
    TPrintPDF1 &operator=(const TPrintPDF1 &) = delete;

    // Published properties. The Info entries are read by BeginDoc; PageWidth / PageHeight by each
    // TextOut and Draw and, for the /MediaBox of every page, by EndDoc. Strings are 8-bit
    // Windows-1252 bytes.
    std::string FileName;
    std::string TITLE;
    int PageWidth = 612; // points
    int PageHeight = 792; // points
    std::string Author;
    std::string Creator;
    std::string Producer;
    std::string Keywords;
    std::string Subject;
    TPDFFont Font;
    bool Compress = true; // must not change between BeginDoc and EndDoc

    // Pages begun so far: 1 after BeginDoc, one more per NewPage.
    int PageNumber() const { return m_pageNumber; }

    // Screen resolution that scales bitmaps in Draw (8 inches of pixels fill the page width,
    // 10.625 inches the page height). Defaults to 96 x 96.
    void setPixelsPerInch(int horizontal, int vertical);
    // The clock of the /CreationDate entry; local time by default.
    void setClock(std::function<std::tm()> clock);
    // Folder under which the private spool folder is made; the system temporary folder by default.
    void setSpoolParent(const std::filesystem::path &parent);

    void BeginDoc();
    // One text string whose baseline starts at (x, y). The bytes are written as given; the
    // characters \, ( and ) are escaped so that each shows as itself.
    void TextOut(int x, int y, std::string_view text);
    // One image whose top-left corner lies at (x, y), scaled from the screen resolution.
    void Draw(int x, int y, const TPDFImage &image);

    // Draw in two halves, so that the pixels of many images can be compressed at the same time:
    // PlaceImage writes the drawing operators and returns the image's number; WriteImage spools
    // that image's pixels. WriteImage may run on any thread, at the same time for different
    // images, and must have finished for every placed image before EndDoc. The file is the same
    // as Draw makes.
    int PlaceImage(int x, int y, int width, int height);
    // Gives row y (0 = top) as width * 3 bytes; the bytes are read before the next call.
    using RowSource = std::function<const unsigned char *(int y)>;
    void WriteImage(int image, int width, int height, const RowSource &rows) const;
    void NewPage();
    // Writes the rest of the document, saves it to FileName (replacing a file only once the new
    // one is complete) and removes the spool files.
    void EndDoc();
    // The same, writing the document to the stream instead of FileName.
    void EndDoc(std::ostream &out);

    // The spool folder of the open document (empty before the first Draw); for tests.
    std::filesystem::path spoolFolder() const { return m_spoolDir; }

    // The standard font table: BaseFont names by Number.
    static const std::vector<std::string> &standardFonts();
    // A PDF literal string body for the bytes: \, ( and ) escaped.
    static std::string escapeString(std::string_view text);

private:
    void line(std::string &buffer, std::string_view text) const;
    void appendObject(std::string_view object);
    void appendRaw(std::string_view bytes);
    void openContentStream();
    void closeContentStream();
    std::string deflate(std::string_view data) const;
    std::filesystem::path spoolFile(int image) const;
    void writeSpoolFile(int image, std::string_view body, std::string_view data) const;
    void ensureSpoolFolder();
    void removeSpoolFolder() noexcept;
    void writeTail(std::ostream &out);
    std::string creationDate() const;

    // The part of the file assembled so far (header, Info and the closed content streams).
    std::string m_file;
    std::string m_object; // the open content-stream object
    std::string m_content; // drawing operators of the current page
    std::size_t m_streamHeaderLength = 0;
    std::vector<std::uint64_t> m_offsets; // entry k: offset of object k + 1
    std::uint64_t m_runningOffset = 0;
    std::vector<int> m_contentObjects;
    std::vector<int> m_fontObjects;
    int m_lastObject = 0;
    int m_imageCount = 0;
    int m_pageNumber = 0;
    int m_outlinesObject = 0;
    int m_pagesObject = 0;
    int m_resourcesObject = 0;
    int m_catalogObject = 0;
    bool m_begun = false;
    int m_ppiX = 96;
    int m_ppiY = 96;
    std::function<std::tm()> m_clock;
    std::filesystem::path m_spoolParent;
    std::filesystem::path m_spoolDir;
};
