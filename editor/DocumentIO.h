#pragma once

#include "editor/DocumentFileFormats.h"

#include <QByteArray>
#include <QString>

class TRxRichEdit;

// Reads document files into a rich text control and writes its content back, in the format the
// file name chooses (DocumentFileFormats). Used alike by the document window and the headless
// converter.
//
// Writing never destroys the existing file: the bytes go to a temporary file in the target's
// folder, which replaces the target only once it is complete. A failed write leaves the old file
// as it was and reports why; nothing else is left behind.
class DocumentIO
{
public:
    // Loads the whole file; the control's plain-text mode follows the file's format. False, with
    // the message to show in *error, when the file cannot be read (the system's message), is not
    // a valid ".rtc" stream (the decompression error) or cannot be read in either format
    // ("Failed to Load Stream"); the control's content is then unchanged.
    // The whole file; false with the system's reason in *error.
    static bool readFile(const QString &path, QByteArray *bytes, QString *error);
    // A protected file (ProtectedFile) is refused with a message that says so: it is read only
    // through its password (loadContent).
    static bool load(TRxRichEdit &editor, const QString &path, QString *error);
    // As load, from the file's bytes already in memory (a protected file's content); path gives
    // the format.
    static bool loadContent(TRxRichEdit &editor, const QByteArray &bytes, const QString &path, QString *error);

    // The bytes of a file of the given format: the whole content, or the selection only. The
    // control's modes are not changed.
    static QByteArray encode(
        const TRxRichEdit &editor, DocumentFileFormats::WriteFormat format, bool selectionOnly = false);
    // Writes the content (or selection) to path. For ".rtc" the uncompressed rich text passes
    // through a temporary file beside the target, removed in every case.
    static bool save(const TRxRichEdit &editor, const QString &path, DocumentFileFormats::WriteFormat format,
        bool selectionOnly, QString *error);
    // Writes the content (or selection) sealed in the password container: the file's bytes, as
    // the format gives them, never touch the disk unprotected (".rtc" is compressed in memory).
    static bool saveProtected(const TRxRichEdit &editor, const QString &path, DocumentFileFormats::WriteFormat format,
        bool selectionOnly, const QByteArray &password, QString *error);

    // Replaces path with bytes atomically. Messages: the system's reason for a folder or file
    // that cannot be created, "Failed to Save Stream" when the bytes could not all be written.
    static bool writeFile(const QString &path, const QByteArray &bytes, QString *error);

    static QString failedToSaveMessage(); // "Failed to Save Stream"
    static QString failedToLoadMessage(); // "Failed to Load Stream"
};
