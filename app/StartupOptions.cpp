#include "app/StartupOptions.h"

#include "platform/AnsiCodec.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr qsizetype FontNameOffset = 0;
constexpr qsizetype FolderOffset = 51;
constexpr qsizetype SpellDictionaryOffset = 102;
constexpr qsizetype FontSizeOffset = 116;
constexpr qsizetype ZoomStepOffset = 120;
constexpr qsizetype TextColumnWidthOffset = 124;
constexpr qsizetype HelpLanguageOffset = 128;
constexpr qsizetype RightToLeftOffset = 130;
constexpr qsizetype MarginTopOffset = 132;
constexpr qsizetype MarginRightOffset = 136;
constexpr qsizetype MarginBottomOffset = 140;
constexpr qsizetype MarginLeftOffset = 144;

QString shortString(QByteArrayView record, qsizetype offset, qsizetype capacity)
{
    // A length byte beyond the capacity would run into the next field: read the capacity only.
    const qsizetype length = std::min<qsizetype>(quint8(record[offset]), capacity);
    return AnsiCodec::toUnicode(record.sliced(offset + 1, length));
}

void putShortString(QByteArray &record, qsizetype offset, qsizetype capacity, const QString &text)
{
    const QByteArray bytes = AnsiCodec::fromUnicode(text).left(capacity);
    record[offset] = char(quint8(bytes.size()));
    std::copy(bytes.cbegin(), bytes.cend(), record.begin() + offset + 1);
}

qint32 int32At(QByteArrayView record, qsizetype offset)
{
    return qFromLittleEndian<qint32>(record.data() + offset);
}

void putInt32(QByteArray &record, qsizetype offset, qint32 value)
{
    qToLittleEndian<qint32>(value, record.data() + offset);
}

StartupOptions::ReadResult failure(StartupOptions::ReadResult::Status status, QString message)
{
    StartupOptions::ReadResult result;
    result.status = status;
    result.errorMessage = std::move(message);
    return result;
}

QString tooShortMessage(qsizetype size)
{
    return QStringLiteral("Read beyond end of file: the options record has %1 of %2 bytes.")
        .arg(size)
        .arg(StartupOptions::RecordSize);
}

} // namespace

bool StartupOptions::hasStandardDictionary() const
{
    return SpellDictionary == QLatin1String("British");
}

int StartupOptions::sidePanelWidth(int screenWidth) const
{
    return std::max(0, screenWidth - TextColumnWidth);
}

QString StartupOptions::fileName()
{
    return QStringLiteral("WordOptions.bin");
}

QString StartupOptions::defaultPath()
{
    return AppPaths::dataFile(fileName());
}

QString StartupOptions::notFoundMessage()
{
    return QStringLiteral("File [WordOptions.bin] Not Found");
}

StartupOptions::ReadResult StartupOptions::fromRecord(QByteArrayView bytes)
{
    if (bytes.size() < RecordSize)
        return failure(ReadResult::Status::TooShort, tooShortMessage(bytes.size()));

    ReadResult result;
    StartupOptions &o = result.options;
    o.DefaultFontName = shortString(bytes, FontNameOffset, FontNameCapacity);
    o.DefaultFolder = shortString(bytes, FolderOffset, FolderCapacity);
    o.SpellDictionary = shortString(bytes, SpellDictionaryOffset, SpellDictionaryCapacity);
    o.DefaultFontSize = int32At(bytes, FontSizeOffset);
    o.ZoomStep = quint8(bytes[ZoomStepOffset]);
    o.TextColumnWidth = int32At(bytes, TextColumnWidthOffset);
    o.HelpLanguage = quint8(bytes[HelpLanguageOffset]);
    o.RightToLeft = quint8(bytes[RightToLeftOffset]);
    o.MarginTop = int32At(bytes, MarginTopOffset);
    o.MarginRight = int32At(bytes, MarginRightOffset);
    o.MarginBottom = int32At(bytes, MarginBottomOffset);
    o.MarginLeft = int32At(bytes, MarginLeftOffset);
    return result;
}

StartupOptions::ReadResult StartupOptions::read(QIODevice &device)
{
    QByteArray record(RecordSize, '\0');
    qsizetype got = 0;
    while (got < RecordSize) {
        const qint64 n = device.read(record.data() + got, RecordSize - got);
        if (n < 0)
            return failure(ReadResult::Status::ReadError, device.errorString());
        if (n == 0)
            break;
        got += n;
    }
    if (got < RecordSize)
        return failure(ReadResult::Status::TooShort, tooShortMessage(got));
    return fromRecord(record);
}

StartupOptions::ReadResult StartupOptions::readFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(ReadResult::Status::CannotOpen,
            QStringLiteral("Cannot open file \"%1\". %2.").arg(shown, file.errorString()));
    }
    ReadResult result = read(file);
    if (!result.ok())
        result.errorMessage = QStringLiteral("Cannot read file \"%1\". %2").arg(shown, result.errorMessage);
    return result;
}

QByteArray StartupOptions::toRecord() const
{
    QByteArray record(RecordSize, '\0');
    putShortString(record, FontNameOffset, FontNameCapacity, DefaultFontName);
    putShortString(record, FolderOffset, FolderCapacity, DefaultFolder);
    putShortString(record, SpellDictionaryOffset, SpellDictionaryCapacity, SpellDictionary);
    putInt32(record, FontSizeOffset, DefaultFontSize);
    record[ZoomStepOffset] = char(ZoomStep);
    putInt32(record, TextColumnWidthOffset, TextColumnWidth);
    record[HelpLanguageOffset] = char(HelpLanguage);
    record[RightToLeftOffset] = char(RightToLeft);
    putInt32(record, MarginTopOffset, MarginTop);
    putInt32(record, MarginRightOffset, MarginRight);
    putInt32(record, MarginBottomOffset, MarginBottom);
    putInt32(record, MarginLeftOffset, MarginLeft);
    return record;
}

bool StartupOptions::write(QIODevice &device) const
{
    return device.write(toRecord()) == RecordSize;
}

QString StartupOptions::writeFile(const QString &path) const
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file \"%1\". %2.").arg(shown, file.errorString());
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Cannot write file \"%1\". %2.").arg(shown, reason);
    }
    if (!file.commit())
        return QStringLiteral("Cannot write file \"%1\". %2.").arg(shown, file.errorString());
    return {};
}
