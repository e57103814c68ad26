#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// The defaults for new documents, kept in "WordOptions.bin" as one fixed record of 148 bytes:
//
//   offset  size  field
//        0    51  DefaultFontName   short string (length byte + up to 50 ANSI characters)
//       51    51  DefaultFolder     short string, capacity 50
//      102    14  SpellDictionary   short string, capacity 13
//      116     4  DefaultFontSize   signed 32-bit, points
//      120     1  ZoomStep          unsigned 8-bit
//      121     3  (unused)
//      124     4  TextColumnWidth   signed 32-bit, pixels
//      128     1  HelpLanguage      unsigned 8-bit, 0 = English, else Afrikaans
//      129     1  (unused)
//      130     1  RightToLeft       unsigned 8-bit, 0 = left-to-right
//      131     1  (unused)
//      132    16  MarginTop, MarginRight, MarginBottom, MarginLeft: signed 32-bit, millimetres
//
// Integers are little-endian. A string's length byte larger than its capacity is read as the
// capacity; the bytes after the length are ignored. The program only reads the file; the
// startup-options editor writes it.
struct StartupOptions
{
    static constexpr qsizetype RecordSize = 148;
    static constexpr qsizetype FontNameCapacity = 50;
    static constexpr qsizetype FolderCapacity = 50;
    static constexpr qsizetype SpellDictionaryCapacity = 13;

    struct ReadResult;

    // The values in use before any file has been read.
    QString DefaultFontName = QStringLiteral("Arial");
    QString DefaultFolder;
    QString SpellDictionary = QStringLiteral("British");
    qint32 DefaultFontSize = 10;
    quint8 ZoomStep = 1;
    qint32 TextColumnWidth = 800;
    quint8 HelpLanguage = 0;
    quint8 RightToLeft = 0;
    qint32 MarginTop = 20;
    qint32 MarginRight = 20;
    qint32 MarginBottom = 20;
    qint32 MarginLeft = 20;

    bool operator==(const StartupOptions &other) const = default;

    bool helpInAfrikaans() const { return HelpLanguage != 0; }
    bool isRightToLeft() const { return RightToLeft != 0; }
    // "British" is the spell checker's own dictionary; any other name has to be handed to it.
    bool hasStandardDictionary() const;
    // Width in pixels of the two side panels together at 100% zoom: what the text column leaves
    // of the screen, never negative.
    int sidePanelWidth(int screenWidth) const;

    // "WordOptions.bin" and its place in the program's data folder.
    static QString fileName();
    static QString defaultPath();
    // The frame's message when the file cannot be read: "File [WordOptions.bin] Not Found".
    static QString notFoundMessage();

    // Reads the record from the first 148 bytes; anything after them is ignored.
    static ReadResult fromRecord(QByteArrayView bytes);
    static ReadResult read(QIODevice &device);
    static ReadResult readFile(const QString &path = defaultPath());

    // Exactly 148 bytes. Strings are encoded in the ANSI code page (characters it lacks become
    // "?") and cut to their capacity; unused bytes and the bytes after each string are zero.
    QByteArray toRecord() const;
    bool write(QIODevice &device) const;
    // Replaces the file atomically; returns the error message, empty on success. A failed write
    // leaves the old file as it was.
    QString writeFile(const QString &path = defaultPath()) const;
};

struct StartupOptions::ReadResult
{
    enum class Status { Ok, CannotOpen, TooShort, ReadError };

    Status status = Status::Ok;
    // The record read; the defaults when the read failed.
    StartupOptions options;
    // The system's description of the failure, naming the file ("Cannot open file ..."); empty
    // on success. The document window shows it when its own read fails.
    QString errorMessage;

    bool ok() const { return status == Status::Ok; }
    // What the frame shows when its read fails (and then keeps its previous values); empty on
    // success.
    QString frameMessage() const { return ok() ? QString() : StartupOptions::notFoundMessage(); }
};
