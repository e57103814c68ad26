#include "platform/rtf/RtfWriter.h"

#include "platform/AnsiCodec.h"
#include "platform/RichTextProperties.h"
#include "platform/rtf/RtfNumbering.h"
#include "platform/rtf/RtfPicture.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

constexpr int kDefaultTableWidthTwips = 9360;

int toTwips(double pixels)
{
    // Rich text lengths are 16- or 32-bit numbers; a damaged length must not overflow the conversion.
    const double twips = RichText::pixelsToTwips(pixels);
    return qIsFinite(twips) ? qRound(qBound(-1.0e9, twips, 1.0e9)) : 0;
}

const char *underlineWord(int type)
{
    switch (type) {
    case RichText::UnderlineWord:
        return "\\ulw";
    case RichText::UnderlineDouble:
        return "\\uldb";
    case RichText::UnderlineDotted:
        return "\\uld";
    case RichText::UnderlineDash:
        return "\\uldash";
    case RichText::UnderlineDashDot:
        return "\\uldashd";
    case RichText::UnderlineDashDotDot:
        return "\\uldashdd";
    case RichText::UnderlineWave:
        return "\\ulwave";
    case RichText::UnderlineThick:
        return "\\ulth";
    default:
        return "\\ul";
    }
}

int underlineTypeOf(const QTextCharFormat &f)
{
    if (f.hasProperty(RichText::UnderlineTypeByte))
        return f.intProperty(RichText::UnderlineTypeByte) & 0x0F;
    if (!f.fontUnderline() && f.underlineStyle() == QTextCharFormat::NoUnderline)
        return 0;
    switch (f.underlineStyle()) {
    case QTextCharFormat::DotLine:
        return RichText::UnderlineDotted;
    case QTextCharFormat::DashUnderline:
        return RichText::UnderlineDash;
    case QTextCharFormat::DashDotLine:
        return RichText::UnderlineDashDot;
    case QTextCharFormat::DashDotDotLine:
        return RichText::UnderlineDashDotDot;
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline:
        return RichText::UnderlineWave;
    default:
        return RichText::UnderlineSingle;
    }
}

QColor underlineColourOf(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::TextUnderlineColor)) {
        const QColor c = f.underlineColor();
        if (c.isValid())
            return c;
    }
    if (f.hasProperty(RichText::UnderlineTypeByte))
        return RichText::underlineColor((f.intProperty(RichText::UnderlineTypeByte) >> 4) & 0x0F);
    return QColor();
}

bool hasBrush(const QTextCharFormat &f, int property)
{
    return f.hasProperty(property) && f.brushProperty(property).style() != Qt::NoBrush;
}

QImage resourceImage(const QTextDocument &doc, const QString &name)
{
    const QVariant v = doc.resource(QTextDocument::ImageResource, QUrl(name));
    if (v.typeId() == QMetaType::QImage)
        return v.value<QImage>();
    if (v.typeId() == QMetaType::QPixmap)
        return v.value<QPixmap>().toImage();
    if (v.typeId() == QMetaType::QByteArray) {
        QImage image;
        image.loadFromData(v.toByteArray());
        return image;
    }
    return QImage();
}

} // namespace

RtfWriter::RtfWriter(const QTextDocument &doc)
    : m_doc(doc)
{ }

QByteArray RtfWriter::write(int from, int to)
{
    m_out.clear();
    m_fonts.clear();
    m_fontIndex.clear();
    m_colours.clear();
    m_colourIndex.clear();
    m_lists.clear();
    m_listIndex.clear();
    m_symbolFont = -1;
    m_end = qMax(0, m_doc.characterCount() - 1);
    m_to = (to < 0 || to > m_end) ? m_end : to;
    m_from = qBound(0, from, m_to);

    const QFont defaultFont = m_doc.defaultFont();
    m_defaultFamily = defaultFont.family();
    m_defaultPointSize = defaultFont.pointSizeF() > 0 ? defaultFont.pointSizeF() : 12;
    fontIndex(m_defaultFamily, 0);
    collect();

    m_out.reserve(m_doc.characterCount() * 2 + 1024);
    writeHeader();
    writeFrameContent(m_doc.rootFrame(), 0);
    m_out.append("}\r\n");
    return m_out;
}

bool RtfWriter::intersects(int first, int last) const
{
    // first..last are character positions, last included (a block's separator).
    if (m_from == m_to)
        return false;
    return first < m_to && last >= m_from;
}

void RtfWriter::collect()
{
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        const int first = block.position();
        const int last = first + block.length() - 1;
        if (!intersects(first, last) && !(first == m_to && m_to == m_end && m_from < m_to))
            continue;
        if (const QTextList *list = block.textList()) {
            if (!m_listIndex.contains(list)) {
                m_listIndex.insert(list, int(m_lists.size()) + 1);
                m_lists.append(list);
                if (RtfNumbering::kindOfList(list->format()) == RichText::NumberingBullet && m_symbolFont < 0)
                    m_symbolFont = fontIndex(QStringLiteral("Symbol"), RichText::CharsetSymbol);
            }
        }
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            if (fragment.position() + fragment.length() <= m_from || fragment.position() >= m_to)
                continue;
            collectFormat(fragment.charFormat());
        }
    }
}

void RtfWriter::collectFormat(const QTextCharFormat &format)
{
    if (format.isImageFormat())
        return;
    fontIndex(familyOf(format), charsetOf(format));
    if (hasBrush(format, QTextFormat::ForegroundBrush))
        colourIndex(format.foreground().color().rgb());
    if (hasBrush(format, QTextFormat::BackgroundBrush))
        colourIndex(format.background().color().rgb());
    if (underlineTypeOf(format) != 0) {
        const QColor c = underlineColourOf(format);
        if (c.isValid())
            colourIndex(c.rgb());
    }
}

QString RtfWriter::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_defaultFamily;
}

int RtfWriter::charsetOf(const QTextCharFormat &format) const
{
    return format.hasProperty(RichText::CharacterSet) ? format.intProperty(RichText::CharacterSet) : 0;
}

int RtfWriter::fontIndex(const QString &family, int charset)
{
    const FontKey key { family, charset };
    const auto it = m_fontIndex.constFind(key);
    if (it != m_fontIndex.constEnd())
        return *it;
    const int index = int(m_fonts.size());
    m_fonts.append(key);
    m_fontIndex.insert(key, index);
    return index;
}

int RtfWriter::colourIndex(QRgb rgb)
{
    rgb |= 0xFF000000u;
    const auto it = m_colourIndex.constFind(rgb);
    if (it != m_colourIndex.constEnd())
        return *it;
    m_colours.append(rgb);
    const int index = int(m_colours.size()); // index 0 is the automatic colour
    m_colourIndex.insert(rgb, index);
    return index;
}

void RtfWriter::writeNumber(const char *word, qint64 value)
{
    m_out.append(word);
    m_out.append(QByteArray::number(value));
}

void RtfWriter::writeHeader()
{
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033\r\n{\\fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        const FontKey &font = m_fonts.at(i);
        writeNumber("{\\f", i);
        m_out.append(font.charset == RichText::CharsetSymbol ? "\\ftech" : "\\fnil");
        writeNumber("\\fcharset", font.charset);
        m_out.append(' ');
        writeText(font.family, encodingFor(font.charset == RichText::CharsetSymbol ? 0 : font.charset));
        m_out.append(";}");
    }
    m_out.append("}\r\n{\\colortbl ;");
    for (QRgb rgb : std::as_const(m_colours)) {
        writeNumber("\\red", qRed(rgb));
        writeNumber("\\green", qGreen(rgb));
        writeNumber("\\blue", qBlue(rgb));
        m_out.append(';');
    }
    m_out.append("}\r\n");
    writeListTables();
    const QString title = m_doc.metaInformation(QTextDocument::DocumentTitle);
    const QString author = m_doc.property(RichText::kDocumentAuthor).toString();
    const QString subject = m_doc.property(RichText::kDocumentSubject).toString();
    const QString keywords = m_doc.property(RichText::kDocumentKeywords).toString();
    if (!title.isEmpty() || !author.isEmpty() || !subject.isEmpty() || !keywords.isEmpty()) {
        m_out.append("{\\info");
        const std::pair<const char *, const QString *> entries[] = {
            {"{\\title ", &title}, {"{\\author ", &author}, {"{\\subject ", &subject}, {"{\\keywords ", &keywords}};
        for (const auto &[word, text] : entries) {
            if (text->isEmpty())
                continue;
            m_out.append(word);
            writeText(*text);
            m_out.append("}");
        }
        m_out.append("}\r\n");
    }
    m_out.append("\\viewkind4\\uc1\r\n");
}

void RtfWriter::writeListTables()
{
    if (m_lists.isEmpty())
        return;
    m_out.append("{\\*\\listtable\r\n");
    for (int i = 0; i < m_lists.size(); ++i) {
        const QTextListFormat format = m_lists.at(i)->format();
        const int kind = RtfNumbering::kindOfList(format);
        const int id = i + 1;
        writeNumber("{\\list\\listtemplateid", id);
        m_out.append("\\listsimple{\\listlevel");
        const int nfc = RtfNumbering::levelNfc(kind);
        writeNumber("\\levelnfc", nfc);
        writeNumber("\\levelnfcn", nfc);
        m_out.append("\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1");
        if (nfc == 23) {
            m_out.append("{\\leveltext\\'01");
            writeText(QString(RtfNumbering::bulletCharacter(kind)));
            m_out.append(";}{\\levelnumbers;}");
        } else {
            switch (RtfNumbering::styleWordOfList(format)) {
            case RtfNumbering::kStyleParenthesis:
                m_out.append("{\\leveltext\\'02\\'00);}{\\levelnumbers\\'01;}");
                break;
            case RtfNumbering::kStyleEnclosed:
                m_out.append("{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}");
                break;
            case RtfNumbering::kStylePlain:
                m_out.append("{\\leveltext\\'01\\'00;}{\\levelnumbers\\'01;}");
                break;
            default:
                m_out.append("{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}");
                break;
            }
        }
        m_out.append("\\fi-360\\li720}{\\listname ;}");
        writeNumber("\\listid", id);
        m_out.append("}\r\n");
    }
    m_out.append("}\r\n{\\*\\listoverridetable");
    for (int i = 0; i < m_lists.size(); ++i) {
        writeNumber("{\\listoverride\\listid", i + 1);
        writeNumber("\\listoverridecount0\\ls", i + 1);
        m_out.append('}');
    }
    m_out.append("}\r\n");
}

void RtfWriter::writeFrameContent(const QTextFrame *frame, int tableLevel)
{
    writeItems(frame->begin(), tableLevel, false);
}

void RtfWriter::writeItems(QTextFrame::iterator it, int tableLevel, bool inCell)
{
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            if (!intersects(child->firstPosition() - 1, child->lastPosition()))
                continue;
            if (const QTextTable *table = qobject_cast<const QTextTable *>(child))
                writeTable(table, tableLevel + 1);
            else
                writeItems(child->begin(), tableLevel, inCell);
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        const int first = block.position();
        const int last = first + block.length() - 1;
        if (inCell) {
            QTextFrame::iterator next = it;
            ++next;
            QByteArray terminator;
            if (next.atEnd())
                terminator = tableLevel > 1 ? "\\nestcell" : "\\cell";
            else
                terminator = "\\par";
            writeBlock(block, tableLevel, terminator);
            continue;
        }
        const bool closingBlock = first == m_to && m_to == m_end && m_from < m_to;
        if (!intersects(first, last) && !closingBlock)
            continue;
        writeBlock(block, tableLevel, last < m_to ? QByteArray("\\par") : QByteArray());
    }
}

void RtfWriter::writeRowDefinition(const QTextTable *table, int tableLevel)
{
    Q_UNUSED(tableLevel);
    const int columns = table->columns();
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    m_out.append("\\trowd\\trgaph108\\trleft0");
    int edge = 0;
    for (int c = 0; c < columns; ++c) {
        int width = kDefaultTableWidthTwips / qMax(1, columns);
        if (c < widths.size()) {
            const QTextLength &length = widths.at(c);
            if (length.type() == QTextLength::FixedLength && length.rawValue() > 0)
                width = toTwips(length.rawValue());
            else if (length.type() == QTextLength::PercentageLength && length.rawValue() > 0)
                width = qRound(kDefaultTableWidthTwips * length.rawValue() / 100.0);
        }
        edge += qMax(1, width);
        writeNumber("\\cellx", edge);
    }
}

void RtfWriter::writeTable(const QTextTable *table, int tableLevel)
{
    const QByteArray levelWords
        = tableLevel > 1 ? "\\intbl\\itap" + QByteArray::number(tableLevel) : QByteArray("\\intbl");
    for (int r = 0; r < table->rows(); ++r) {
        if (tableLevel == 1) {
            writeRowDefinition(table, tableLevel);
            m_out.append("\r\n");
        }
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (!cell.isValid() || cell.row() != r || cell.column() != c) {
                // A cell covered by a merged one: an empty cell keeps the row's shape.
                m_out.append("\\pard");
                m_out.append(levelWords);
                m_out.append(tableLevel > 1 ? "\\nestcell" : "\\cell");
                m_out.append("\r\n");
                continue;
            }
            writeItems(cell.begin(), tableLevel, true);
        }
        if (tableLevel == 1) {
            m_out.append("\\row\r\n");
        } else {
            m_out.append("\\pard");
            m_out.append(levelWords);
            m_out.append("{\\*\\nesttableprops");
            writeRowDefinition(table, tableLevel);
            m_out.append("\\nestrow}{\\nonesttables\\par}\r\n");
        }
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int tableLevel, const QByteArray &terminator)
{
    writeParagraphProperties(block, tableLevel);
    writeRuns(block);
    m_out.append(terminator);
    m_out.append("\r\n");
}

void RtfWriter::writeParagraphProperties(const QTextBlock &block, int tableLevel)
{
    const QTextBlockFormat f = block.blockFormat();
    m_out.append("\\pard");
    if (f.hasProperty(RichText::StyleNumber) && f.intProperty(RichText::StyleNumber) != 0)
        writeNumber("\\s", f.intProperty(RichText::StyleNumber));
    if (tableLevel > 0) {
        m_out.append("\\intbl");
        if (tableLevel > 1)
            writeNumber("\\itap", tableLevel);
    }
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignJustify)
        m_out.append("\\qj");
    else if (align & Qt::AlignHCenter)
        m_out.append("\\qc");
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        m_out.append("\\qr");
    else
        m_out.append("\\ql");
    if (const int v = toTwips(RichText::firstLineIndent(f, block.textList() != nullptr)))
        writeNumber("\\fi", v);
    if (const int v = toTwips(f.leftMargin()))
        writeNumber("\\li", v);
    if (const int v = toTwips(f.rightMargin()))
        writeNumber("\\ri", v);
    if (const int v = toTwips(f.topMargin()))
        writeNumber("\\sb", v);
    if (const int v = toTwips(f.bottomMargin()))
        writeNumber("\\sa", v);

    int rule = 0;
    int value = 0;
    if (f.hasProperty(RichText::LineSpacingRule)) {
        rule = f.intProperty(RichText::LineSpacingRule);
        value = f.intProperty(RichText::LineSpacingValue);
    } else {
        switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            rule = 5;
            value = qRound(f.lineHeight() / 5.0);
            break;
        case QTextBlockFormat::MinimumHeight:
            rule = 3;
            value = toTwips(f.lineHeight());
            break;
        case QTextBlockFormat::FixedHeight:
            rule = 4;
            value = toTwips(f.lineHeight());
            break;
        default:
            break;
        }
    }
    switch (rule) {
    case 1:
        m_out.append("\\sl360\\slmult1");
        break;
    case 2:
        m_out.append("\\sl480\\slmult1");
        break;
    case 3:
        if (value > 0) {
            writeNumber("\\sl", value);
            m_out.append("\\slmult0");
        }
        break;
    case 4:
        if (value > 0) {
            writeNumber("\\sl-", value);
            m_out.append("\\slmult0");
        }
        break;
    case 5:
        if (value > 0) {
            writeNumber("\\sl", qint64(value) * 12);
            m_out.append("\\slmult1");
        }
        break;
    default:
        break;
    }

    for (const QTextOption::Tab &tab : f.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab:
            m_out.append("\\tqr");
            break;
        case QTextOption::CenterTab:
            m_out.append("\\tqc");
            break;
        case QTextOption::DelimiterTab:
            m_out.append("\\tqdec");
            break;
        default:
            break;
        }
        writeNumber("\\tx", toTwips(tab.position));
    }
    if (f.boolProperty(RichText::KeepWithNext))
        m_out.append("\\keepn");
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_out.append("\\pagebb");
    if (f.hasProperty(QTextFormat::LayoutDirection) && f.layoutDirection() == Qt::RightToLeft)
        m_out.append("\\rtlpar");
    if (const QTextList *list = block.textList())
        writeNumbering(list);
    if (!m_out.endsWith('}'))
        m_out.append(' '); // ends the last control word; after a group it would be text
}

void RtfWriter::writeNumbering(const QTextList *list)
{
    const int ls = m_listIndex.value(list);
    if (ls <= 0)
        return;
    writeNumber("\\ls", ls);
    m_out.append("\\ilvl0");
    const QTextListFormat format = list->format();
    const int kind = RtfNumbering::kindOfList(format);
    // The older numbering too, for readers without list tables.
    if (kind == RichText::NumberingBullet || kind == RichText::NumberingHollowBlock
        || kind == RichText::NumberingSmallBullet) {
        m_out.append("{\\*\\pn\\pnlvlblt");
        if (kind == RichText::NumberingBullet && m_symbolFont >= 0) {
            writeNumber("\\pnf", m_symbolFont);
            m_out.append("\\pnindent0{\\pntxtb\\'b7}}");
        } else {
            m_out.append("\\pnindent0{\\pntxtb ");
            writeText(QString(RtfNumbering::bulletCharacter(kind)));
            m_out.append("}}");
        }
        return;
    }
    m_out.append("{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1");
    switch (kind) {
    case RichText::NumberingLowerLetter:
        m_out.append("\\pnlcltr");
        break;
    case RichText::NumberingUpperLetter:
        m_out.append("\\pnucltr");
        break;
    case RichText::NumberingLowerRoman:
        m_out.append("\\pnlcrm");
        break;
    case RichText::NumberingUpperRoman:
        m_out.append("\\pnucrm");
        break;
    default:
        m_out.append("\\pndec");
        break;
    }
    switch (RtfNumbering::styleWordOfList(format)) {
    case RtfNumbering::kStyleParenthesis:
        m_out.append("{\\pntxta )}");
        break;
    case RtfNumbering::kStyleEnclosed:
        m_out.append("{\\pntxtb (}{\\pntxta )}");
        break;
    case RtfNumbering::kStylePlain:
        m_out.append("{\\pntxta }");
        break;
    default:
        m_out.append("{\\pntxta .}");
        break;
    }
    m_out.append('}');
}

void RtfWriter::writeRuns(const QTextBlock &block)
{
    QString openHref;
    bool fieldOpen = false;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const int start = qMax(m_from, fragment.position());
        const int end = qMin(m_to, fragment.position() + fragment.length());
        if (start >= end)
            continue;
        const QString text = fragment.text().mid(start - fragment.position(), end - start);
        const QTextCharFormat format = fragment.charFormat();
        const QString href = format.isAnchor() ? format.anchorHref() : QString();
        if (fieldOpen && href != openHref) {
            m_out.append("}}}");
            fieldOpen = false;
        }
        if (!href.isEmpty() && !fieldOpen) {
            QString target = href;
            target.replace(u'\\', QLatin1String("\\\\"));
            target.replace(u'"', QLatin1String("%22"));
            m_out.append("{\\field{\\*\\fldinst{HYPERLINK \"");
            writeText(target);
            m_out.append("\"}}{\\fldrslt{");
            fieldOpen = true;
            openHref = href;
        }
        if (format.isImageFormat()) {
            for (int i = 0; i < text.size(); ++i)
                writePicture(format.toImageFormat());
            continue;
        }
        m_out.append('{');
        const qsizetype before = m_out.size();
        writeCharProperties(format);
        if (m_out.size() > before)
            m_out.append(' ');
        writeText(text, encodingFor(charsetOf(format)));
        m_out.append('}');
    }
    if (fieldOpen)
        m_out.append("}}}");
}

void RtfWriter::writeCharProperties(const QTextCharFormat &f)
{
    writeNumber("\\f", fontIndex(familyOf(f), charsetOf(f)));
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : m_defaultPointSize;
    writeNumber("\\fs", qRound(qBound(1.0, points * 2, 32767.0)));
    if (f.fontWeight() >= QFont::DemiBold)
        m_out.append("\\b");
    if (f.fontItalic())
        m_out.append("\\i");
    if (f.fontStrikeOut())
        m_out.append("\\strike");
    if (const int type = underlineTypeOf(f)) {
        m_out.append(underlineWord(type));
        const QColor c = underlineColourOf(f);
        if (c.isValid())
            writeNumber("\\ulc", colourIndex(c.rgb()));
    }
    if (hasBrush(f, QTextFormat::ForegroundBrush))
        writeNumber("\\cf", colourIndex(f.foreground().color().rgb()));
    if (hasBrush(f, QTextFormat::BackgroundBrush))
        writeNumber("\\highlight", colourIndex(f.background().color().rgb()));
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        m_out.append("\\super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        m_out.append("\\sub");
    if (f.boolProperty(RichText::Hidden))
        m_out.append("\\v");
    if (f.boolProperty(RichText::Protected))
        m_out.append("\\protect");
    if (f.boolProperty(RichText::Disabled))
        m_out.append("\\disabled");
    if (f.boolProperty(RichText::Revised)) {
        m_out.append("\\revised");
        writeNumber("\\revauth", f.intProperty(RichText::RevisionAuthor));
    }
    if (f.hasProperty(QTextFormat::FontLetterSpacing) && f.fontLetterSpacingType() == QFont::AbsoluteSpacing) {
        if (const int twips = toTwips(f.fontLetterSpacing()))
            writeNumber("\\expndtw", twips);
    }
    if (const int kerning = f.intProperty(RichText::KerningTwips); kerning > 0)
        writeNumber("\\kerning", qMax(1, qRound(kerning / 10.0)));
    if (f.fontCapitalization() == QFont::AllUppercase)
        m_out.append("\\caps");
    else if (f.fontCapitalization() == QFont::SmallCaps)
        m_out.append("\\scaps");
}

RtfWriter::TextEncoding RtfWriter::encodingFor(int charset)
{
    if (charset == RichText::CharsetSymbol)
        return TextEncoding::Symbol;
    return charset == RichText::CharsetAnsi ? TextEncoding::Ansi : TextEncoding::Unicode;
}

void RtfWriter::writeText(QStringView text, TextEncoding encoding)
{
    const bool symbol = encoding == TextEncoding::Symbol;
    static const char hexDigits[] = "0123456789abcdef";
    const auto hexByte = [this](uint byte) {
        m_out.append("\\'");
        m_out.append(hexDigits[(byte >> 4) & 0xF]);
        m_out.append(hexDigits[byte & 0xF]);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\\':
            m_out.append("\\\\");
            continue;
        case u'{':
            m_out.append("\\{");
            continue;
        case u'}':
            m_out.append("\\}");
            continue;
        case u'\t':
            m_out.append("\\tab ");
            continue;
        case 0x2028:
            m_out.append("\\line ");
            continue;
        case 0x00A0:
            m_out.append("\\~");
            continue;
        case 0x00AD:
            m_out.append("\\-");
            continue;
        case 0x2011:
            m_out.append("\\_");
            continue;
        default:
            break;
        }
        if (c < 0x20 || c == QChar::ObjectReplacementCharacter || c == QChar::ParagraphSeparator)
            continue;
        if (symbol && (c <= 0xFF || (c >= 0xF020 && c <= 0xF0FF))) {
            if (c < 0x80)
                m_out.append(char(c));
            else
                hexByte(c & 0xFF);
            continue;
        }
        if (c < 0x80) {
            m_out.append(char(c));
            continue;
        }
        if (encoding == TextEncoding::Ansi && AnsiCodec::canEncode(c)) {
            hexByte(quint8(AnsiCodec::encodeChar(c)));
            continue;
        }
        // Outside the code page: \uN with a question mark for readers without Unicode. Characters
        // beyond the first plane are written as their two UTF-16 halves.
        writeNumber("\\u", qint16(c));
        m_out.append('?');
    }
}

void RtfWriter::writePicture(const QTextImageFormat &format)
{
    QByteArray data = format.property(RichText::PictureData).toByteArray();
    QString kind = format.stringProperty(RichText::PictureFormat);
    QImage image;
    static const QStringList kept = { QStringLiteral("png"), QStringLiteral("jpeg"), QStringLiteral("emf"),
        QStringLiteral("wmf"), QStringLiteral("dib") };
    const bool keep = !data.isEmpty() && kept.contains(kind);
    if (!keep) {
        image = resourceImage(m_doc, format.name());
        if (image.isNull())
            return;
        data.clear();
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        kind = QStringLiteral("png");
    }
    const bool metafile = kind == QLatin1String("emf") || kind == QLatin1String("wmf");
    QSize pixels;
    if (!metafile) {
        if (image.isNull())
            image = resourceImage(m_doc, format.name());
        if (image.isNull())
            image = RtfPicture::decode(kind, data);
        pixels = image.size();
    }
    double width = format.width();
    double height = format.height();
    if (width <= 0 || height <= 0) {
        width = pixels.width() > 0 ? pixels.width() : 32;
        height = pixels.height() > 0 ? pixels.height() : 32;
    }
    width = qIsFinite(width) ? qBound(1.0, width, 1.0e6) : 32.0;
    height = qIsFinite(height) ? qBound(1.0, height, 1.0e6) : 32.0;
    const int goalw = qMax(1, toTwips(width));
    const int goalh = qMax(1, toTwips(height));
    m_out.append("{\\pict");
    if (kind == QLatin1String("png"))
        m_out.append("\\pngblip");
    else if (kind == QLatin1String("jpeg"))
        m_out.append("\\jpegblip");
    else if (kind == QLatin1String("emf"))
        m_out.append("\\emfblip");
    else if (kind == QLatin1String("wmf"))
        m_out.append("\\wmetafile8");
    else
        m_out.append("\\dibitmap0");
    if (metafile) {
        // Metafile extents are in hundredths of a millimetre.
        writeNumber("\\picw", qRound(goalw * 2540.0 / 1440.0));
        writeNumber("\\pich", qRound(goalh * 2540.0 / 1440.0));
    } else {
        writeNumber("\\picw", pixels.width() > 0 ? pixels.width() : qRound(width));
        writeNumber("\\pich", pixels.height() > 0 ? pixels.height() : qRound(height));
    }
    writeNumber("\\picwgoal", goalw);
    writeNumber("\\pichgoal", goalh);
    m_out.append("\r\n");
    const QByteArray hex = data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        m_out.append(hex.constData() + i, qMin<qsizetype>(128, hex.size() - i));
        m_out.append("\r\n");
    }
    m_out.append('}');
}
