#include "platform/rtf/RtfReader.h"

#include "platform/RichTextProperties.h"
#include "platform/rtf/RtfNumbering.h"
#include "platform/rtf/RtfPicture.h"

#include <QCryptographicHash>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <string_view>
#include <unordered_map>

namespace {

enum class Kw {
    // destinations
    Rtf,
    FontTable,
    ColorTable,
    StyleSheet,
    Info,
    Title,
    Author,
    Subject,
    Keywords,
    Pict,
    Field,
    FieldInst,
    FieldResult,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Pn,
    PnTextAfter,
    PnTextBefore,
    Shape,
    ShapeInst,
    ShapeProperty,
    ShapeName,
    ShapeValue,
    ShapeResult,
    ShapePicture,
    NonShapePicture,
    Object,
    Result,
    Upr,
    Ud,
    NestTableProps,
    SkipDest,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    FontCharset,
    FontCodePage,
    Font,
    Red,
    Green,
    Blue,
    // character
    Plain,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    UnderlineWord,
    UnderlineDouble,
    UnderlineDotted,
    UnderlineDash,
    UnderlineDashDot,
    UnderlineDashDotDot,
    UnderlineWave,
    UnderlineThick,
    UnderlineColour,
    Strike,
    Foreground,
    Background,
    Highlight,
    Sub,
    Super,
    NoSuperSub,
    Up,
    Down,
    Hidden,
    Protect,
    Disabled,
    Revised,
    RevisionAuthor,
    Expand,
    ExpandTwips,
    Kerning,
    Caps,
    SmallCaps,
    // paragraph
    Pard,
    AlignLeft,
    AlignRight,
    AlignCentre,
    AlignJustify,
    FirstIndent,
    LeftIndent,
    RightIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabPosition,
    TabRight,
    TabCentre,
    TabDecimal,
    KeepNext,
    PageBreakBefore,
    RtlPar,
    LtrPar,
    Style,
    InTable,
    TableLevel,
    ListNumber,
    ListLevelNumber,
    // text
    Par,
    Sect,
    Page,
    Line,
    Tab,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Zwj,
    Zwnj,
    LtrMark,
    RtlMark,
    FootnoteMark,
    Unicode,
    UnicodeSkip,
    Cell,
    NestCell,
    Row,
    NestRow,
    RowDefaults,
    CellX,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WMetafile,
    DiBitmap,
    WBitmap,
    MacPict,
    PmMetafile,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    BitsPerPixel,
    WidthBytes,
    // lists
    ListId,
    LevelNfc,
    PnBullet,
    PnBody,
    PnDecimal,
    PnUpperLetter,
    PnLowerLetter,
    PnUpperRoman,
    PnLowerRoman,
    PnFont,
    PnContinue,
};

const std::unordered_map<std::string_view, Kw> &keywords()
{
    static const std::unordered_map<std::string_view, Kw> table = {
        { "rtf", Kw::Rtf },
        { "fonttbl", Kw::FontTable },
        { "colortbl", Kw::ColorTable },
        { "stylesheet", Kw::StyleSheet },
        { "info", Kw::Info },
        { "title", Kw::Title },
        { "pict", Kw::Pict },
        { "field", Kw::Field },
        { "fldinst", Kw::FieldInst },
        { "fldrslt", Kw::FieldResult },
        { "listtable", Kw::ListTable },
        { "list", Kw::List },
        { "listlevel", Kw::ListLevel },
        { "leveltext", Kw::LevelText },
        { "listoverridetable", Kw::ListOverrideTable },
        { "listoverride", Kw::ListOverride },
        { "pn", Kw::Pn },
        { "pntxta", Kw::PnTextAfter },
        { "pntxtb", Kw::PnTextBefore },
        { "shp", Kw::Shape },
        { "shpgrp", Kw::Shape },
        { "shpinst", Kw::ShapeInst },
        { "sp", Kw::ShapeProperty },
        { "sn", Kw::ShapeName },
        { "sv", Kw::ShapeValue },
        { "shprslt", Kw::ShapeResult },
        { "shppict", Kw::ShapePicture },
        { "nonshppict", Kw::NonShapePicture },
        { "object", Kw::Object },
        { "result", Kw::Result },
        { "upr", Kw::Upr },
        { "ud", Kw::Ud },
        { "nesttableprops", Kw::NestTableProps },
        // Destinations whose text never belongs to the body.
        { "header", Kw::SkipDest },
        { "headerl", Kw::SkipDest },
        { "headerr", Kw::SkipDest },
        { "headerf", Kw::SkipDest },
        { "footer", Kw::SkipDest },
        { "footerl", Kw::SkipDest },
        { "footerr", Kw::SkipDest },
        { "footerf", Kw::SkipDest },
        { "footnote", Kw::SkipDest },
        { "annotation", Kw::SkipDest },
        { "atnid", Kw::SkipDest },
        { "atnauthor", Kw::SkipDest },
        { "atndate", Kw::SkipDest },
        { "atnicn", Kw::SkipDest },
        { "atnref", Kw::SkipDest },
        { "atntime", Kw::SkipDest },
        { "atrfend", Kw::SkipDest },
        { "atrfstart", Kw::SkipDest },
        { "author", Kw::Author },
        { "buptim", Kw::SkipDest },
        { "comment", Kw::SkipDest },
        { "creatim", Kw::SkipDest },
        { "doccomm", Kw::SkipDest },
        { "keywords", Kw::Keywords },
        { "operator", Kw::SkipDest },
        { "printim", Kw::SkipDest },
        { "revtim", Kw::SkipDest },
        { "subject", Kw::Subject },
        { "tc", Kw::SkipDest },
        { "tcn", Kw::SkipDest },
        { "txe", Kw::SkipDest },
        { "xe", Kw::SkipDest },
        { "rxe", Kw::SkipDest },
        { "pntext", Kw::SkipDest },
        { "listtext", Kw::SkipDest },
        { "bkmkstart", Kw::SkipDest },
        { "bkmkend", Kw::SkipDest },
        { "objdata", Kw::SkipDest },
        { "objclass", Kw::SkipDest },
        { "objname", Kw::SkipDest },
        { "objalias", Kw::SkipDest },
        { "objsect", Kw::SkipDest },
        { "objtime", Kw::SkipDest },
        { "datafield", Kw::SkipDest },
        { "fldtype", Kw::SkipDest },
        { "do", Kw::SkipDest },
        { "txbxcontent", Kw::SkipDest },
        { "shptxt", Kw::SkipDest },
        { "ftnsep", Kw::SkipDest },
        { "ftnsepc", Kw::SkipDest },
        { "ftncn", Kw::SkipDest },
        { "aftnsep", Kw::SkipDest },
        { "aftnsepc", Kw::SkipDest },
        { "aftncn", Kw::SkipDest },
        { "nonesttables", Kw::SkipDest },
        { "levelnumbers", Kw::SkipDest },
        { "listname", Kw::SkipDest },
        { "lfolevel", Kw::SkipDest },
        { "revtbl", Kw::SkipDest },
        { "rsidtbl", Kw::SkipDest },
        { "filetbl", Kw::SkipDest },
        { "category", Kw::SkipDest },
        { "company", Kw::SkipDest },
        { "manager", Kw::SkipDest },
        { "hlinkbase", Kw::SkipDest },
        { "docvar", Kw::SkipDest },
        { "template", Kw::SkipDest },
        { "picprop", Kw::SkipDest },
        { "blipuid", Kw::SkipDest },
        { "pgdsctbl", Kw::SkipDest },
        { "xmlnstbl", Kw::SkipDest },
        { "generator", Kw::SkipDest },
        { "userprops", Kw::SkipDest },
        { "latentstyles", Kw::SkipDest },
        { "themedata", Kw::SkipDest },
        { "colorschememapping", Kw::SkipDest },
        { "datastore", Kw::SkipDest },
        { "mmathPr", Kw::SkipDest },
        { "listpicture", Kw::SkipDest },
        { "pnseclvl", Kw::SkipDest },
        { "fchars", Kw::SkipDest },
        { "lchars", Kw::SkipDest },
        { "private", Kw::SkipDest },
        { "nextfile", Kw::SkipDest },
        { "protusertbl", Kw::SkipDest },
        { "ansi", Kw::Ansi },
        { "mac", Kw::Mac },
        { "pc", Kw::Pc },
        { "pca", Kw::Pca },
        { "ansicpg", Kw::AnsiCodePage },
        { "deff", Kw::DefaultFont },
        { "fcharset", Kw::FontCharset },
        { "cpg", Kw::FontCodePage },
        { "f", Kw::Font },
        { "red", Kw::Red },
        { "green", Kw::Green },
        { "blue", Kw::Blue },
        { "plain", Kw::Plain },
        { "fs", Kw::FontSize },
        { "b", Kw::Bold },
        { "i", Kw::Italic },
        { "ul", Kw::Underline },
        { "ulnone", Kw::UnderlineNone },
        { "ulw", Kw::UnderlineWord },
        { "uldb", Kw::UnderlineDouble },
        { "uld", Kw::UnderlineDotted },
        { "ulthd", Kw::UnderlineDotted },
        { "uldash", Kw::UnderlineDash },
        { "ulthdash", Kw::UnderlineDash },
        { "ulldash", Kw::UnderlineDash },
        { "ulthldash", Kw::UnderlineDash },
        { "uldashd", Kw::UnderlineDashDot },
        { "ulthdashd", Kw::UnderlineDashDot },
        { "uldashdd", Kw::UnderlineDashDotDot },
        { "ulthdashdd", Kw::UnderlineDashDotDot },
        { "ulwave", Kw::UnderlineWave },
        { "ulhwave", Kw::UnderlineWave },
        { "ululdbwave", Kw::UnderlineWave },
        { "ulth", Kw::UnderlineThick },
        { "ulc", Kw::UnderlineColour },
        { "strike", Kw::Strike },
        { "striked", Kw::Strike },
        { "cf", Kw::Foreground },
        { "cb", Kw::Background },
        { "chcbpat", Kw::Background },
        { "highlight", Kw::Highlight },
        { "sub", Kw::Sub },
        { "super", Kw::Super },
        { "nosupersub", Kw::NoSuperSub },
        { "up", Kw::Up },
        { "dn", Kw::Down },
        { "v", Kw::Hidden },
        { "protect", Kw::Protect },
        { "disabled", Kw::Disabled },
        { "revised", Kw::Revised },
        { "revauth", Kw::RevisionAuthor },
        { "expnd", Kw::Expand },
        { "expndtw", Kw::ExpandTwips },
        { "kerning", Kw::Kerning },
        { "caps", Kw::Caps },
        { "scaps", Kw::SmallCaps },
        { "pard", Kw::Pard },
        { "ql", Kw::AlignLeft },
        { "qr", Kw::AlignRight },
        { "qc", Kw::AlignCentre },
        { "qj", Kw::AlignJustify },
        { "qd", Kw::AlignJustify },
        { "fi", Kw::FirstIndent },
        { "li", Kw::LeftIndent },
        { "ri", Kw::RightIndent },
        { "sb", Kw::SpaceBefore },
        { "sa", Kw::SpaceAfter },
        { "sl", Kw::LineSpacing },
        { "slmult", Kw::LineMultiple },
        { "tx", Kw::TabPosition },
        { "tqr", Kw::TabRight },
        { "tqc", Kw::TabCentre },
        { "tqdec", Kw::TabDecimal },
        { "keepn", Kw::KeepNext },
        { "pagebb", Kw::PageBreakBefore },
        { "rtlpar", Kw::RtlPar },
        { "ltrpar", Kw::LtrPar },
        { "s", Kw::Style },
        { "intbl", Kw::InTable },
        { "itap", Kw::TableLevel },
        { "ls", Kw::ListNumber },
        { "ilvl", Kw::ListLevelNumber },
        { "par", Kw::Par },
        { "sect", Kw::Sect },
        { "page", Kw::Page },
        { "line", Kw::Line },
        { "tab", Kw::Tab },
        { "emdash", Kw::EmDash },
        { "endash", Kw::EnDash },
        { "emspace", Kw::EmSpace },
        { "enspace", Kw::EnSpace },
        { "qmspace", Kw::QmSpace },
        { "bullet", Kw::Bullet },
        { "lquote", Kw::LQuote },
        { "rquote", Kw::RQuote },
        { "ldblquote", Kw::LDblQuote },
        { "rdblquote", Kw::RDblQuote },
        { "zwj", Kw::Zwj },
        { "zwnj", Kw::Zwnj },
        { "ltrmark", Kw::LtrMark },
        { "rtlmark", Kw::RtlMark },
        { "chftn", Kw::FootnoteMark },
        { "u", Kw::Unicode },
        { "uc", Kw::UnicodeSkip },
        { "cell", Kw::Cell },
        { "nestcell", Kw::NestCell },
        { "row", Kw::Row },
        { "nestrow", Kw::NestRow },
        { "trowd", Kw::RowDefaults },
        { "cellx", Kw::CellX },
        { "pngblip", Kw::PngBlip },
        { "jpegblip", Kw::JpegBlip },
        { "emfblip", Kw::EmfBlip },
        { "wmetafile", Kw::WMetafile },
        { "dibitmap", Kw::DiBitmap },
        { "wbitmap", Kw::WBitmap },
        { "macpict", Kw::MacPict },
        { "pmmetafile", Kw::PmMetafile },
        { "picw", Kw::PicW },
        { "pich", Kw::PicH },
        { "picwgoal", Kw::PicWGoal },
        { "pichgoal", Kw::PicHGoal },
        { "picscalex", Kw::PicScaleX },
        { "picscaley", Kw::PicScaleY },
        { "wbmbitspixel", Kw::BitsPerPixel },
        { "wbmwidthbytes", Kw::WidthBytes },
        { "listid", Kw::ListId },
        { "levelnfc", Kw::LevelNfc },
        { "levelnfcn", Kw::LevelNfc },
        { "pnlvlblt", Kw::PnBullet },
        { "pnlvlbody", Kw::PnBody },
        { "pndec", Kw::PnDecimal },
        { "pnucltr", Kw::PnUpperLetter },
        { "pnlcltr", Kw::PnLowerLetter },
        { "pnucrm", Kw::PnUpperRoman },
        { "pnlcrm", Kw::PnLowerRoman },
        { "pnf", Kw::PnFont },
        { "pnlvlcont", Kw::PnContinue },
    };
    return table;
}

// Twips as layout pixels, computed the way the rest of the program computes whole points and whole
// pixels, so that a length read back compares equal to the one that was written.
double layoutPixels(int twips)
{
    if (twips % 20 == 0)
        return RichText::pointsToPixels(twips / 20);
    if (twips % 15 == 0)
        return double(twips / 15);
    return RichText::twipsToPixels(twips);
}

bool toggle(bool hasParam, int param)
{
    return !hasParam || param != 0;
}

// Characters that must not reach a QTextDocument as text (they would split blocks or stand for
// objects), and unpaired surrogates.
QString cleanText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t')
            continue;
        if (u == QChar::ParagraphSeparator || u == QChar::ObjectReplacementCharacter || u == 0xFDD0 || u == 0xFDD1)
            continue;
        if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            } else {
                out.append(QChar(QChar::ReplacementCharacter));
            }
            continue;
        }
        if (c.isLowSurrogate()) {
            out.append(QChar(QChar::ReplacementCharacter));
            continue;
        }
        out.append(c);
    }
    return out;
}

QString hyperlinkTarget(const QString &instruction)
{
    // HYPERLINK "url" \l "anchor" \o "tip" ...; arguments may be unquoted.
    QStringList args;
    const qsizetype n = instruction.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && instruction.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        QString arg;
        if (instruction.at(i) == u'"') {
            ++i;
            while (i < n && instruction.at(i) != u'"') {
                if (instruction.at(i) == u'\\' && i + 1 < n && instruction.at(i + 1) == u'\\')
                    ++i;
                arg.append(instruction.at(i++));
            }
            ++i;
        } else {
            while (i < n && !instruction.at(i).isSpace())
                arg.append(instruction.at(i++));
        }
        args.append(arg);
    }
    if (args.isEmpty() || args.first().compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
        return QString();
    QString url;
    QString anchor;
    for (int k = 1; k < args.size(); ++k) {
        const QString &a = args.at(k);
        if (a.compare(QLatin1String("\\l"), Qt::CaseInsensitive) == 0) {
            anchor = args.value(++k);
        } else if (a.startsWith(u'\\')) {
            if (a.size() == 2 && a != QLatin1String("\\m") && a != QLatin1String("\\n"))
                ++k; // a switch with an argument (\o, \t)
        } else if (url.isEmpty()) {
            url = a;
        }
    }
    if (!anchor.isEmpty())
        url += u'#' + anchor;
    return url;
}

} // namespace

RtfReader::RtfReader() = default;
RtfReader::~RtfReader() = default;

bool RtfReader::read(QByteArrayView rtf, QTextDocument &doc, QString *error)
{
    m_doc = &doc;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    qsizetype start = 0;
    if (rtf.startsWith("\xEF\xBB\xBF"))
        start = 3;
    while (start < rtf.size() && (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r' || rtf[start] == '\n'))
        ++start;
    if (!rtf.sliced(start).startsWith("{\\rtf")) {
        if (error)
            *error = QStringLiteral("The data is not rich text: it does not start with {\\rtf.");
        doc.setUndoRedoEnabled(undo);
        return false;
    }
    RtfTokenizer tokenizer(rtf.sliced(start));
    m_tokenizer = &tokenizer;
    m_builder = std::make_unique<RtfDocumentBuilder>(doc);
    m_rowEdges.resize(RtfDocumentBuilder::kMaxTableLevel + 1);
    QTextCursor editBlock(&doc);
    editBlock.beginEditBlock();
    run();
    flushBytes();
    flushBodyText();
    const ParaState lastPara = m_stack.isEmpty() ? m_lastPara : state().para;
    QTextBlockFormat last = blockFormat(lastPara);
    if (m_pageBreakNext)
        last.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    m_builder->finish(last, listFor(lastPara));
    editBlock.endEditBlock();
    if (!m_title.trimmed().isEmpty())
        doc.setMetaInformation(QTextDocument::DocumentTitle, m_title.trimmed());
    doc.setProperty(RichText::kDocumentAuthor, m_author.trimmed().isEmpty() ? QVariant() : QVariant(m_author.trimmed()));
    doc.setProperty(RichText::kDocumentSubject, m_subject.trimmed().isEmpty() ? QVariant() : QVariant(m_subject.trimmed()));
    doc.setProperty(RichText::kDocumentKeywords, m_keywords.trimmed().isEmpty() ? QVariant() : QVariant(m_keywords.trimmed()));
    m_builder.reset();
    m_tokenizer = nullptr;
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
    return true;
}

void RtfReader::run()
{
    using T = RtfTokenizer::Type;
    while (!m_done) {
        RtfTokenizer::Token t = m_tokenizer->next();
        if (t.type == T::End)
            break;
        if (m_stack.isEmpty() && t.type != T::GroupStart)
            continue; // only the first group is the document
        if (m_skipChars > 0) {
            switch (t.type) {
            case T::GroupStart:
            case T::GroupEnd:
                m_skipChars = 0;
                break;
            case T::Text: {
                const qsizetype drop = qMin<qsizetype>(m_skipChars, t.word.size());
                m_skipChars -= int(drop);
                t.word = t.word.sliced(drop);
                if (t.word.isEmpty())
                    continue;
                break;
            }
            default:
                --m_skipChars;
                continue;
            }
        }
        switch (t.type) {
        case T::GroupStart:
            flushBytes();
            pushGroup();
            break;
        case T::GroupEnd:
            flushBytes();
            popGroup();
            break;
        case T::ControlWord:
            flushBytes();
            controlWord(t.word, t.hasParam, t.param);
            break;
        case T::ControlSymbol:
            if (t.symbol == '\\' || t.symbol == '{' || t.symbol == '}') {
                const char c = t.symbol;
                text(QByteArrayView(&c, 1));
            } else {
                flushBytes();
                controlSymbol(t.symbol);
            }
            break;
        case T::Text:
            text(t.word);
            break;
        case T::HexByte: {
            if (state().dest == Destination::Picture) {
                // \'hh inside picture data is unusual but harmless: take it as a data byte.
                m_picture.data.append(char(t.byte));
            } else {
                const char c = char(t.byte);
                m_pendingBytes.append(c);
            }
            break;
        }
        case T::Binary:
            flushBytes();
            if (state().dest == Destination::Picture)
                m_picture.data.append(t.word.data(), t.word.size());
            break;
        case T::End:
            break;
        }
    }
}

void RtfReader::pushGroup()
{
    m_groupStart = true;
    m_starPending = false;
    if (m_stack.isEmpty()) {
        m_stack.append(GroupState());
        return;
    }
    if (m_overflowDepth > 0 || m_stack.size() >= kMaxGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    GroupState child = state();
    child.fieldGroup = false;
    child.shapePictureGroup = false;
    child.uprGroup = false;
    const GroupState &parent = state();
    switch (parent.dest) {
    case Destination::StyleSheet:
        child.dest = Destination::StyleEntry;
        child.chr = CharState();
        child.para = ParaState();
        m_styleEntryNumber = 0;
        break;
    case Destination::FontTable:
        child.dest = Destination::FontEntry;
        break;
    default:
        break;
    }
    if (parent.uprGroup) {
        child.dest = Destination::UnicodeAlternative;
        child.uprDest = parent.uprDest;
    }
    m_stack.append(child);
}

void RtfReader::popGroup()
{
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.isEmpty())
        return;
    if (m_stack.size() == 1) {
        // The document's group ends here; whatever follows is not part of it.
        flushBodyText();
        m_lastPara = state().para;
        m_stack.removeLast();
        m_done = true;
        return;
    }
    const GroupState closing = m_stack.takeLast();
    switch (closing.dest) {
    case Destination::FontEntry:
        if (state().dest == Destination::FontTable)
            commitFontEntry();
        break;
    case Destination::FontTable:
        commitFontEntry();
        break;
    case Destination::ColorTable:
        if (m_colourSet)
            commitColour();
        break;
    case Destination::StyleEntry:
        if (state().dest == Destination::StyleSheet && !m_styles.contains(m_styleEntryNumber))
            m_styles.insert(m_styleEntryNumber, StyleDef { closing.chr, closing.para });
        break;
    case Destination::ListLevel:
        if (state().dest == Destination::List)
            m_listBuilding.levels.append(m_levelBuilding);
        break;
    case Destination::List:
        if (state().dest == Destination::ListTable)
            m_lists.insert(m_listBuildingId, m_listBuilding);
        break;
    case Destination::ListOverride:
        if (m_overrideNumber > 0)
            m_overrides.insert(m_overrideNumber, m_overrideList);
        break;
    case Destination::Numbering:
        if (state().dest == Destination::Body) {
            state().para.numbering = m_numberingBuilding;
            state().para.numbering.present = true;
        }
        break;
    case Destination::Picture:
        if (state().dest != Destination::Picture) // a group inside the picture ends nothing
            emitPicture();
        break;
    default:
        break;
    }
    if (closing.fieldGroup && !m_fields.isEmpty()) {
        const Field field = m_fields.takeLast();
        if (!field.hasResult && state().dest == Destination::Body)
            insertSymbolField(field.instruction);
    }
    if (closing.shapePictureGroup)
        m_lastWasShapePicture = true;
}

void RtfReader::skipCurrentGroup()
{
    if (m_overflowDepth > 0) {
        m_tokenizer->skipGroup();
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1)
        return; // never skip the document itself
    state().dest = Destination::Ignored;
    if (!m_tokenizer->skipGroup()) {
        m_done = true;
        return;
    }
    popGroup();
}

bool RtfReader::setDestination(QByteArrayView word)
{
    const auto &table = keywords();
    const auto it = table.find(std::string_view(word.data(), size_t(word.size())));
    if (it == table.end())
        return false;
    Destination &dest = state().dest;
    const Destination current = dest;
    switch (it->second) {
    case Kw::FontTable:
        dest = Destination::FontTable;
        m_fontEntryOpen = false;
        return true;
    case Kw::ColorTable:
        dest = Destination::ColorTable;
        m_colours.clear();
        m_colourSet = false;
        m_red = m_green = m_blue = 0;
        return true;
    case Kw::StyleSheet:
        dest = Destination::StyleSheet;
        return true;
    case Kw::Info:
        dest = Destination::Info;
        return true;
    case Kw::Title:
        if (current != Destination::Info)
            return false;
        dest = Destination::Title;
        m_title.clear();
        m_infoText = &m_title;
        return true;
    case Kw::Author:
    case Kw::Subject:
    case Kw::Keywords:
        if (current != Destination::Info) {
            skipCurrentGroup();
            return true;
        }
        // Read as the title is, into their own texts.
        dest = Destination::Title;
        m_infoText = it->second == Kw::Author ? &m_author : it->second == Kw::Subject ? &m_subject : &m_keywords;
        m_infoText->clear();
        return true;
    case Kw::Pict:
        m_picture = PictureState();
        m_picture.visible = current == Destination::Body
            || (current == Destination::ShapeValue && m_shapePropertyName == QLatin1String("pib"))
            || (current == Destination::ShapeResult && !m_shapeHadPicture);
        if (current == Destination::ShapeValue && m_picture.visible)
            m_shapeHadPicture = true;
        dest = Destination::Picture;
        return true;
    case Kw::Field:
        state().fieldGroup = true;
        m_fields.append(Field());
        return true;
    case Kw::FieldInst:
        if (m_fields.isEmpty())
            return false;
        dest = Destination::FieldInstruction;
        return true;
    case Kw::FieldResult:
        if (!m_fields.isEmpty()) {
            const QString href = hyperlinkTarget(m_fields.last().instruction.trimmed());
            if (!href.isEmpty())
                state().chr.href = href;
        }
        return true;
    case Kw::ListTable:
        dest = Destination::ListTable;
        return true;
    case Kw::List:
        if (current != Destination::ListTable) {
            skipCurrentGroup(); // list definitions never hold body text
            return true;
        }
        dest = Destination::List;
        m_listBuilding = ListDef();
        m_listBuildingId = 0;
        return true;
    case Kw::ListLevel:
        if (current != Destination::List) {
            skipCurrentGroup(); // list definitions never hold body text
            return true;
        }
        dest = Destination::ListLevel;
        m_levelBuilding = ListLevelDef();
        return true;
    case Kw::LevelText:
        if (current != Destination::ListLevel) {
            skipCurrentGroup(); // list definitions never hold body text
            return true;
        }
        dest = Destination::LevelText;
        m_levelBuilding.text.clear();
        return true;
    case Kw::ListOverrideTable:
        dest = Destination::ListOverrideTable;
        return true;
    case Kw::ListOverride:
        if (current != Destination::ListOverrideTable) {
            skipCurrentGroup(); // list definitions never hold body text
            return true;
        }
        dest = Destination::ListOverride;
        m_overrideList = 0;
        m_overrideNumber = 0;
        return true;
    case Kw::Pn:
        if (current != Destination::Body)
            return false;
        dest = Destination::Numbering;
        m_numberingBuilding = NumberingState();
        return true;
    case Kw::PnTextAfter:
        if (current != Destination::Numbering)
            return false;
        dest = Destination::NumberingTextAfter;
        m_numberingBuilding.hasTextAfter = true;
        return true;
    case Kw::PnTextBefore:
        if (current != Destination::Numbering)
            return false;
        dest = Destination::NumberingTextBefore;
        m_numberingBuilding.hasTextBefore = true;
        return true;
    case Kw::Shape:
        if (current == Destination::Body) {
            m_shapeHadPicture = false;
        }
        dest = Destination::Shape;
        return true;
    case Kw::ShapeInst:
    case Kw::ShapeProperty:
        if (current != Destination::Shape && current != Destination::ShapeValue)
            return false;
        dest = Destination::Shape;
        m_shapePropertyName.clear();
        return true;
    case Kw::ShapeName:
        if (current != Destination::Shape)
            return false;
        dest = Destination::ShapeName;
        m_shapePropertyName.clear();
        return true;
    case Kw::ShapeValue:
        if (current != Destination::Shape)
            return false;
        dest = Destination::ShapeValue;
        return true;
    case Kw::ShapeResult:
        if (current != Destination::Shape)
            return false;
        dest = Destination::ShapeResult;
        return true;
    case Kw::ShapePicture:
        state().shapePictureGroup = true;
        return true;
    case Kw::NonShapePicture:
        if (m_lastWasShapePicture)
            skipCurrentGroup();
        return true;
    case Kw::Object:
        dest = Destination::Object;
        return true;
    case Kw::Result:
        if (current == Destination::Object)
            dest = Destination::Body;
        return true;
    case Kw::Upr:
        state().uprGroup = true;
        state().uprDest = current;
        return true;
    case Kw::Ud:
        if (current == Destination::UnicodeAlternative)
            dest = state().uprDest;
        return true;
    case Kw::NestTableProps:
        return true;
    case Kw::SkipDest:
        skipCurrentGroup();
        return true;
    default:
        return false;
    }
}

void RtfReader::controlWord(QByteArrayView word, bool hasParam, int param)
{
    // \* marks an optional destination only at the start of a group; elsewhere it means nothing.
    const bool star = m_starPending && m_starAtGroupStart;
    m_starPending = false;
    m_groupStart = false;
    if (m_stack.isEmpty())
        return;
    GroupState &s = state();
    if (s.dest == Destination::UnicodeAlternative) {
        if (word == "ud")
            s.dest = s.uprDest;
        else
            skipCurrentGroup();
        return;
    }
    const auto &table = keywords();
    const auto it = table.find(std::string_view(word.data(), size_t(word.size())));
    if (it == table.end()) {
        if (star)
            skipCurrentGroup();
        return;
    }
    const Kw kw = it->second;
    if (kw <= Kw::SkipDest) {
        if (m_stack.size() <= 1 && kw != Kw::Rtf) {
            return; // a destination cannot replace the document itself
        }
        if (m_overflowDepth > 0 && kw != Kw::Rtf) {
            skipCurrentGroup();
            return;
        }
        if (kw == Kw::Rtf)
            return;
        if (!setDestination(word) && star)
            skipCurrentGroup();
        return;
    }
    if (star && m_stack.size() > 1) {
        // A known word after \* that is no destination we read: the group is optional.
        skipCurrentGroup();
        return;
    }
    CharState &c = s.chr;
    ParaState &p = s.para;
    const Destination dest = s.dest;
    const int value = hasParam ? param : 0;
    switch (kw) {
    case Kw::Ansi:
        m_documentCodePage = 1252;
        break;
    case Kw::Mac:
        m_documentCodePage = 10000;
        break;
    case Kw::Pc:
        m_documentCodePage = 437;
        break;
    case Kw::Pca:
        m_documentCodePage = 850;
        break;
    case Kw::AnsiCodePage:
        if (hasParam && param > 0 && m_decoder.isSupported(param))
            m_documentCodePage = param;
        break;
    case Kw::DefaultFont:
        m_defaultFont = value;
        break;
    case Kw::FontCharset:
        if (dest == Destination::FontTable || dest == Destination::FontEntry)
            m_fontEntry.charset = value;
        break;
    case Kw::FontCodePage:
        if (dest == Destination::FontTable || dest == Destination::FontEntry)
            m_fontEntry.codePage = value;
        break;
    case Kw::Font:
        if (dest == Destination::FontTable || dest == Destination::FontEntry) {
            commitFontEntry();
            m_fontEntryNumber = value;
            m_fontEntry = FontEntry();
            m_fontEntryOpen = true;
        } else {
            c.font = value;
        }
        break;
    case Kw::Red:
        m_red = qBound(0, value, 255);
        m_colourSet = true;
        break;
    case Kw::Green:
        m_green = qBound(0, value, 255);
        m_colourSet = true;
        break;
    case Kw::Blue:
        m_blue = qBound(0, value, 255);
        m_colourSet = true;
        break;

    case Kw::Plain: {
        const QString href = c.href;
        c = CharState();
        c.href = href;
        break;
    }
    case Kw::FontSize:
        c.halfPoints = (hasParam && param > 0) ? qMin(param, 3276) : 24;
        break;
    case Kw::Bold:
        c.bold = toggle(hasParam, param);
        break;
    case Kw::Italic:
        c.italic = toggle(hasParam, param);
        break;
    case Kw::Underline:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineSingle : 0;
        break;
    case Kw::UnderlineNone:
        c.underline = 0;
        break;
    case Kw::UnderlineWord:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineWord : 0;
        break;
    case Kw::UnderlineDouble:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineDouble : 0;
        break;
    case Kw::UnderlineDotted:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineDotted : 0;
        break;
    case Kw::UnderlineDash:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineDash : 0;
        break;
    case Kw::UnderlineDashDot:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineDashDot : 0;
        break;
    case Kw::UnderlineDashDotDot:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineDashDotDot : 0;
        break;
    case Kw::UnderlineWave:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineWave : 0;
        break;
    case Kw::UnderlineThick:
        c.underline = toggle(hasParam, param) ? RichText::UnderlineThick : 0;
        break;
    case Kw::UnderlineColour:
        c.underlineColour = value;
        break;
    case Kw::Strike:
        c.strike = toggle(hasParam, param);
        break;
    case Kw::Foreground:
        c.foreground = value;
        break;
    case Kw::Background:
        c.background = value;
        break;
    case Kw::Highlight:
        c.highlight = value;
        break;
    case Kw::Sub:
        c.vertical = toggle(hasParam, param) ? 1 : 0;
        break;
    case Kw::Super:
        c.vertical = toggle(hasParam, param) ? 2 : 0;
        break;
    case Kw::NoSuperSub:
        c.vertical = 0;
        break;
    case Kw::Up:
        c.vertical = (!hasParam || param > 0) ? 2 : 0;
        break;
    case Kw::Down:
        c.vertical = (!hasParam || param > 0) ? 1 : 0;
        break;
    case Kw::Hidden:
        c.hidden = toggle(hasParam, param);
        break;
    case Kw::Protect:
        c.isProtected = toggle(hasParam, param);
        break;
    case Kw::Disabled:
        c.disabled = toggle(hasParam, param);
        break;
    case Kw::Revised:
        c.revised = toggle(hasParam, param);
        break;
    case Kw::RevisionAuthor:
        c.revisionAuthor = value;
        break;
    case Kw::Expand:
        c.spacingTwips = qBound(-32767, value, 32767) * 5;
        break;
    case Kw::ExpandTwips:
        c.spacingTwips = qBound(-32767, value, 32767);
        break;
    case Kw::Kerning:
        c.kerningHalfPoints = qBound(0, value, 32767);
        break;
    case Kw::Caps:
        c.caps = toggle(hasParam, param);
        break;
    case Kw::SmallCaps:
        c.smallCaps = toggle(hasParam, param);
        break;

    case Kw::Pard: {
        p = ParaState();
        break;
    }
    case Kw::AlignLeft:
        p.alignment = 0;
        break;
    case Kw::AlignRight:
        p.alignment = 1;
        break;
    case Kw::AlignCentre:
        p.alignment = 2;
        break;
    case Kw::AlignJustify:
        p.alignment = 3;
        break;
    case Kw::FirstIndent:
        p.firstIndent = qBound(-31680, value, 31680);
        break;
    case Kw::LeftIndent:
        p.leftIndent = qBound(-31680, value, 31680);
        break;
    case Kw::RightIndent:
        p.rightIndent = qBound(-31680, value, 31680);
        break;
    case Kw::SpaceBefore:
        p.spaceBefore = qBound(0, value, 31680);
        break;
    case Kw::SpaceAfter:
        p.spaceAfter = qBound(0, value, 31680);
        break;
    case Kw::LineSpacing:
        p.lineSpacing = qBound(-31680, value, 31680);
        break;
    case Kw::LineMultiple:
        p.lineMultiple = toggle(hasParam, param);
        break;
    case Kw::TabPosition:
        if (p.tabs.size() < 64)
            p.tabs.append(TabStop { qBound(0, value, 31680), p.pendingTabType });
        p.pendingTabType = QTextOption::LeftTab;
        break;
    case Kw::TabRight:
        p.pendingTabType = QTextOption::RightTab;
        break;
    case Kw::TabCentre:
        p.pendingTabType = QTextOption::CenterTab;
        break;
    case Kw::TabDecimal:
        p.pendingTabType = QTextOption::DelimiterTab;
        break;
    case Kw::KeepNext:
        p.keepWithNext = toggle(hasParam, param);
        break;
    case Kw::PageBreakBefore:
        p.pageBreakBefore = toggle(hasParam, param);
        break;
    case Kw::RtlPar:
        p.rightToLeft = true;
        break;
    case Kw::LtrPar:
        p.rightToLeft = false;
        break;
    case Kw::Style:
        if (dest == Destination::StyleEntry)
            m_styleEntryNumber = value;
        else if (dest == Destination::Body)
            applyStyle(value);
        break;
    case Kw::InTable:
        p.inTable = true;
        break;
    case Kw::TableLevel:
        p.tableLevel = qBound(0, value, RtfDocumentBuilder::kMaxTableLevel);
        break;
    case Kw::ListNumber:
        if (dest == Destination::ListOverride)
            m_overrideNumber = value;
        else
            p.listOverride = value;
        break;
    case Kw::ListLevelNumber:
        p.listLevel = qBound(0, value, 8);
        break;

    case Kw::Par:
    case Kw::Sect:
        if (dest == Destination::Body)
            endParagraph();
        break;
    case Kw::Page:
        if (dest == Destination::Body)
            pageBreak();
        break;
    case Kw::Line:
        decodedText(QString(QChar(QChar::LineSeparator)));
        break;
    case Kw::Tab:
        decodedText(QStringLiteral("\t"));
        break;
    case Kw::EmDash:
        decodedText(QString(QChar(0x2014)));
        break;
    case Kw::EnDash:
        decodedText(QString(QChar(0x2013)));
        break;
    case Kw::EmSpace:
        decodedText(QString(QChar(0x2003)));
        break;
    case Kw::EnSpace:
        decodedText(QString(QChar(0x2002)));
        break;
    case Kw::QmSpace:
        decodedText(QString(QChar(0x2005)));
        break;
    case Kw::Bullet:
        decodedText(QString(QChar(0x2022)));
        break;
    case Kw::LQuote:
        decodedText(QString(QChar(0x2018)));
        break;
    case Kw::RQuote:
        decodedText(QString(QChar(0x2019)));
        break;
    case Kw::LDblQuote:
        decodedText(QString(QChar(0x201C)));
        break;
    case Kw::RDblQuote:
        decodedText(QString(QChar(0x201D)));
        break;
    case Kw::Zwj:
        decodedText(QString(QChar(0x200D)));
        break;
    case Kw::Zwnj:
        decodedText(QString(QChar(0x200C)));
        break;
    case Kw::LtrMark:
        decodedText(QString(QChar(0x200E)));
        break;
    case Kw::RtlMark:
        decodedText(QString(QChar(0x200F)));
        break;
    case Kw::FootnoteMark:
        if (dest == Destination::Body)
            decodedText(QString::number(++m_footnoteNumber));
        break;
    case Kw::Unicode: {
        int u = value;
        if (u < 0)
            u += 65536;
        if (u >= 0 && u <= 0xFFFF) {
            decodedText(QString(QChar(char16_t(u))));
        } else if (u > 0xFFFF && u <= 0x10FFFF) {
            const char32_t ch = char32_t(u);
            decodedText(QString::fromUcs4(&ch, 1));
        }
        m_skipChars = s.unicodeSkip;
        break;
    }
    case Kw::UnicodeSkip:
        s.unicodeSkip = qBound(0, value, 16);
        break;
    case Kw::Cell:
        if (dest == Destination::Body)
            endCell(1);
        break;
    case Kw::NestCell:
        if (dest == Destination::Body)
            endCell(qMax(2, paragraphLevel(p)));
        break;
    case Kw::Row:
        if (dest == Destination::Body)
            endRow(1);
        break;
    case Kw::NestRow:
        if (dest == Destination::Body)
            endRow(qMax(2, paragraphLevel(p)));
        break;
    case Kw::RowDefaults:
        m_rowEdgesLevel = qMax(1, paragraphLevel(p));
        m_rowEdges[m_rowEdgesLevel].clear();
        break;
    case Kw::CellX:
        if (m_rowEdges[m_rowEdgesLevel].size() < 256)
            m_rowEdges[m_rowEdgesLevel].append(qBound(0, value, 31680 * 4));
        break;

    case Kw::PngBlip:
        m_picture.format = QStringLiteral("png");
        break;
    case Kw::JpegBlip:
        m_picture.format = QStringLiteral("jpeg");
        break;
    case Kw::EmfBlip:
        m_picture.format = QStringLiteral("emf");
        break;
    case Kw::WMetafile:
        m_picture.format = QStringLiteral("wmf");
        break;
    case Kw::DiBitmap:
        m_picture.format = QStringLiteral("dib");
        break;
    case Kw::WBitmap:
        m_picture.format = QStringLiteral("bmp");
        break;
    case Kw::MacPict:
        m_picture.format = QStringLiteral("pict");
        break;
    case Kw::PmMetafile:
        m_picture.format = QStringLiteral("pmm");
        break;
    case Kw::PicW:
        m_picture.picw = qBound(0, value, 1 << 24);
        break;
    case Kw::PicH:
        m_picture.pich = qBound(0, value, 1 << 24);
        break;
    case Kw::PicWGoal:
        m_picture.goalw = qBound(0, value, 1 << 24);
        break;
    case Kw::PicHGoal:
        m_picture.goalh = qBound(0, value, 1 << 24);
        break;
    case Kw::PicScaleX:
        m_picture.scalex = qBound(1, value, 10000);
        break;
    case Kw::PicScaleY:
        m_picture.scaley = qBound(1, value, 10000);
        break;
    case Kw::BitsPerPixel:
        m_picture.bitsPerPixel = value;
        break;
    case Kw::WidthBytes:
        m_picture.widthBytes = qBound(0, value, 1 << 20);
        break;

    case Kw::ListId:
        if (dest == Destination::List)
            m_listBuildingId = value;
        else if (dest == Destination::ListOverride)
            m_overrideList = value;
        break;
    case Kw::LevelNfc:
        if (dest == Destination::ListLevel)
            m_levelBuilding.nfc = value;
        break;
    case Kw::PnBullet:
        m_numberingBuilding.kind = RichText::NumberingBullet;
        break;
    case Kw::PnBody:
        m_numberingBuilding.continuation = false;
        if (m_numberingBuilding.kind == 0)
            m_numberingBuilding.kind = RichText::NumberingArabic;
        break;
    case Kw::PnDecimal:
        m_numberingBuilding.kind = RichText::NumberingArabic;
        break;
    case Kw::PnUpperLetter:
        m_numberingBuilding.kind = RichText::NumberingUpperLetter;
        break;
    case Kw::PnLowerLetter:
        m_numberingBuilding.kind = RichText::NumberingLowerLetter;
        break;
    case Kw::PnUpperRoman:
        m_numberingBuilding.kind = RichText::NumberingUpperRoman;
        break;
    case Kw::PnLowerRoman:
        m_numberingBuilding.kind = RichText::NumberingLowerRoman;
        break;
    case Kw::PnFont:
        m_numberingBuilding.font = value;
        break;
    case Kw::PnContinue:
        m_numberingBuilding.continuation = true;
        break;
    default:
        break;
    }
}

void RtfReader::controlSymbol(char symbol)
{
    if (m_stack.isEmpty())
        return;
    switch (symbol) {
    case '*':
        m_starPending = true;
        m_starAtGroupStart = m_groupStart;
        m_groupStart = false;
        return;
    case '~':
        decodedText(QString(QChar(0x00A0)));
        break;
    case '-':
        decodedText(QString(QChar(0x00AD)));
        break;
    case '_':
        decodedText(QString(QChar(0x2011)));
        break;
    case '\n':
        if (state().dest == Destination::Body)
            endParagraph();
        break;
    default:
        break;
    }
    m_starPending = false;
    m_groupStart = false;
}

void RtfReader::text(QByteArrayView bytes)
{
    if (m_stack.isEmpty() || bytes.isEmpty())
        return;
    m_starPending = false;
    m_groupStart = false;
    const Destination dest = state().dest;
    if (dest == Destination::Picture) {
        static const auto hex = [](char ch) -> int {
            if (ch >= '0' && ch <= '9')
                return ch - '0';
            if (ch >= 'a' && ch <= 'f')
                return ch - 'a' + 10;
            if (ch >= 'A' && ch <= 'F')
                return ch - 'A' + 10;
            return -1;
        };
        QByteArray &data = m_picture.data;
        data.reserve(data.size() + bytes.size() / 2 + 1);
        int nibble = m_picture.nibble;
        for (char ch : bytes) {
            const int h = hex(ch);
            if (h < 0)
                continue;
            if (nibble < 0) {
                nibble = h;
            } else {
                data.append(char((nibble << 4) | h));
                nibble = -1;
            }
        }
        m_picture.nibble = nibble;
        return;
    }
    if (dest == Destination::UnicodeAlternative) {
        skipCurrentGroup();
        return;
    }
    switch (dest) {
    case Destination::Body:
    case Destination::FontTable:
    case Destination::FontEntry:
    case Destination::ColorTable:
    case Destination::Title:
    case Destination::FieldInstruction:
    case Destination::LevelText:
    case Destination::NumberingTextAfter:
    case Destination::NumberingTextBefore:
    case Destination::ShapeName:
        m_pendingBytes.append(bytes.data(), bytes.size());
        break;
    default:
        break;
    }
}

int RtfReader::codePageOfFont(int font) const
{
    const auto it = m_fonts.constFind(font < 0 ? m_defaultFont : font);
    if (it == m_fonts.constEnd())
        return m_documentCodePage;
    if (it->codePage > 0 && it->codePage != 1)
        return it->codePage == 42 ? RtfTextDecoder::kSymbolCodePage : it->codePage;
    return RtfTextDecoder::codePageForCharset(it->charset, m_documentCodePage);
}

int RtfReader::currentCodePage() const
{
    const GroupState &s = m_stack.last();
    if (s.dest == Destination::FontTable || s.dest == Destination::FontEntry) {
        if (m_fontEntry.codePage > 0 && m_fontEntry.codePage != 1)
            return m_fontEntry.codePage == 42 ? RtfTextDecoder::kSymbolCodePage : m_fontEntry.codePage;
        const int cp = RtfTextDecoder::codePageForCharset(m_fontEntry.charset, m_documentCodePage);
        return cp == RtfTextDecoder::kSymbolCodePage ? RtfTextDecoder::kAnsiCodePage : cp;
    }
    if (s.dest == Destination::NumberingTextBefore || s.dest == Destination::NumberingTextAfter) {
        if (m_numberingBuilding.font >= 0)
            return codePageOfFont(m_numberingBuilding.font);
    }
    if (s.dest == Destination::ColorTable || s.dest == Destination::ShapeName)
        return RtfTextDecoder::kAnsiCodePage;
    return codePageOfFont(s.chr.font);
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    if (m_stack.isEmpty()) {
        m_pendingBytes.clear();
        return;
    }
    const QString decoded = m_decoder.decode(m_pendingBytes, currentCodePage());
    m_pendingBytes.clear();
    decodedText(decoded);
}

void RtfReader::decodedText(const QString &text)
{
    if (m_stack.isEmpty() || text.isEmpty())
        return;
    GroupState &s = state();
    switch (s.dest) {
    case Destination::Body:
        bodyText(text);
        break;
    case Destination::FontTable:
    case Destination::FontEntry:
        for (QChar ch : text) {
            if (ch == u';') {
                commitFontEntry();
            } else if (m_fontEntryOpen && m_fontEntry.name.size() < 256) {
                m_fontEntry.name.append(ch);
            }
        }
        break;
    case Destination::ColorTable:
        for (QChar ch : text) {
            if (ch == u';')
                commitColour();
        }
        break;
    case Destination::Title:
        if (m_infoText && m_infoText->size() < 4096)
            *m_infoText += text;
        break;
    case Destination::FieldInstruction:
        if (!m_fields.isEmpty() && m_fields.last().instruction.size() < 65536)
            m_fields.last().instruction += text;
        break;
    case Destination::LevelText:
        if (m_levelBuilding.text.size() < 256)
            m_levelBuilding.text += text;
        break;
    case Destination::NumberingTextAfter:
        m_numberingBuilding.textAfter += text.left(32);
        break;
    case Destination::NumberingTextBefore:
        m_numberingBuilding.textBefore += text.left(32);
        break;
    case Destination::ShapeName:
        m_shapePropertyName += text.left(64);
        break;
    default:
        break;
    }
}

void RtfReader::bodyText(const QString &text)
{
    m_lastWasShapePicture = false;
    if (!m_fields.isEmpty())
        m_fields.last().hasResult = true;
    const CharState &c = state().chr;
    if (!m_pendingText.isEmpty() && !(c == m_pendingChr))
        flushBodyText();
    if (m_pendingText.isEmpty())
        m_pendingChr = c;
    m_pendingText += text;
    if (m_pendingText.size() > 65536)
        flushBodyText();
}

void RtfReader::flushBodyText()
{
    if (m_pendingText.isEmpty())
        return;
    QString text = cleanText(m_pendingText);
    m_pendingText.clear();
    if (text.isEmpty())
        return;
    if (codePageOfFont(m_pendingChr.font) == RtfTextDecoder::kSymbolCodePage) {
        // Symbol fonts are addressed by byte; the private-use form U+F020..U+F0FF is the same glyph.
        for (QChar &ch : text) {
            if (ch.unicode() >= 0xF020 && ch.unicode() <= 0xF0FF)
                ch = QChar(char16_t(ch.unicode() - 0xF000));
        }
    }
    const int level = m_stack.isEmpty() ? 0 : paragraphLevel(state().para);
    m_builder->insertText(text, charFormat(m_pendingChr), level);
}

void RtfReader::insertSymbolField(const QString &instruction)
{
    // SYMBOL 74 \f "Wingdings" \s 12: a field whose character is its instruction.
    const QStringList parts = instruction.simplified().split(u' ');
    if (parts.size() < 2 || parts.first().compare(QLatin1String("SYMBOL"), Qt::CaseInsensitive) != 0)
        return;
    bool ok = false;
    const QString number = parts.at(1);
    const uint code = number.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? number.mid(2).toUInt(&ok, 16)
                                                                                  : number.toUInt(&ok, 10);
    if (!ok || code < 0x20 || code > 0xFFFF || QChar(char16_t(code)).isSurrogate())
        return;
    QString family;
    const qsizetype f = parts.indexOf(QLatin1String("\\f"));
    if (f >= 0 && f + 1 < parts.size()) {
        family = parts.at(f + 1);
        family.remove(u'"');
    }
    flushBodyText();
    QTextCharFormat format = charFormat(state().chr);
    if (!family.isEmpty()) {
        format.setFontFamilies(QStringList(family));
        format.clearProperty(RichText::CharacterSet);
    }
    m_builder->insertText(QString(QChar(char16_t(code))), format, paragraphLevel(state().para));
}

int RtfReader::paragraphLevel(const ParaState &p) const
{
    int level;
    if (p.inTable)
        level = p.tableLevel >= 0 ? qMax(1, p.tableLevel) : 1;
    else
        level = p.tableLevel > 0 ? p.tableLevel : 0;
    return qMin(level, int(RtfDocumentBuilder::kMaxTableLevel));
}

void RtfReader::endParagraph()
{
    flushBodyText();
    const ParaState &p = state().para;
    QTextBlockFormat format = blockFormat(p);
    if (m_pageBreakNext) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreakNext = false;
    }
    m_builder->endParagraph(format, listFor(p), paragraphLevel(p));
}

void RtfReader::endCell(int level)
{
    flushBodyText();
    const ParaState &p = state().para;
    QTextBlockFormat format = blockFormat(p);
    if (m_pageBreakNext) {
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pageBreakNext = false;
    }
    m_builder->endCell(format, listFor(p), level);
}

void RtfReader::endRow(int level)
{
    flushBodyText();
    m_builder->endRow(level, m_rowEdges[qMin(level, int(RtfDocumentBuilder::kMaxTableLevel))]);
}

void RtfReader::pageBreak()
{
    flushBodyText();
    if (m_builder->paragraphHasContent())
        endParagraph();
    m_pageBreakNext = true;
}

void RtfReader::commitFontEntry()
{
    if (!m_fontEntryOpen)
        return;
    m_fontEntryOpen = false;
    FontEntry entry = m_fontEntry;
    entry.name = entry.name.trimmed();
    if (!m_fonts.contains(m_fontEntryNumber) && m_fonts.size() < 4096)
        m_fonts.insert(m_fontEntryNumber, entry);
}

void RtfReader::commitColour()
{
    if (m_colours.size() < 4096)
        m_colours.append(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_colourSet = false;
    m_red = m_green = m_blue = 0;
}

QColor RtfReader::colour(int index) const
{
    if (index < 0 || index >= m_colours.size())
        return QColor();
    return m_colours.at(index);
}

void RtfReader::applyStyle(int number)
{
    ParaState &p = state().para;
    const auto it = m_styles.constFind(number);
    if (it == m_styles.constEnd()) {
        p.style = number;
        return;
    }
    const bool inTable = p.inTable;
    const int level = p.tableLevel;
    const int listOverride = p.listOverride;
    const int listLevel = p.listLevel;
    const NumberingState numbering = p.numbering;
    p = it->para;
    p.style = number;
    p.inTable = inTable;
    p.tableLevel = level;
    p.listOverride = listOverride;
    p.listLevel = listLevel;
    p.numbering = numbering;
    const QString href = state().chr.href;
    state().chr = it->chr;
    state().chr.href = href;
}

QTextCharFormat RtfReader::charFormat(const CharState &c)
{
    if (m_haveCachedFormat && c == m_cachedChr)
        return m_cachedFormat;
    QTextCharFormat f;
    const auto font = m_fonts.constFind(c.font < 0 ? m_defaultFont : c.font);
    if (font != m_fonts.constEnd()) {
        if (!font->name.isEmpty())
            f.setFontFamilies(QStringList(font->name));
        if (font->charset > 0)
            f.setProperty(RichText::CharacterSet, font->charset);
    }
    f.setFontPointSize(c.halfPoints / 2.0);
    if (c.bold)
        f.setFontWeight(QFont::Bold);
    if (c.italic)
        f.setFontItalic(true);
    if (c.strike)
        f.setFontStrikeOut(true);
    if (c.underline > 0) {
        int colourIndex = 0;
        const QColor ulColour = colour(c.underlineColour);
        if (ulColour.isValid()) {
            colourIndex = RichText::underlineColorIndex(ulColour);
            f.setUnderlineColor(ulColour);
        }
        f.setProperty(RichText::UnderlineTypeByte, c.underline | (colourIndex << 4));
        QTextCharFormat::UnderlineStyle style = QTextCharFormat::SingleUnderline;
        switch (c.underline) {
        case RichText::UnderlineDotted:
            style = QTextCharFormat::DotLine;
            break;
        case RichText::UnderlineDash:
            style = QTextCharFormat::DashUnderline;
            break;
        case RichText::UnderlineDashDot:
            style = QTextCharFormat::DashDotLine;
            break;
        case RichText::UnderlineDashDotDot:
            style = QTextCharFormat::DashDotDotLine;
            break;
        case RichText::UnderlineWave:
            style = QTextCharFormat::WaveUnderline;
            break;
        default:
            break;
        }
        f.setUnderlineStyle(style);
    }
    const QColor fg = colour(c.foreground);
    if (fg.isValid())
        f.setForeground(fg);
    QColor bg = colour(c.highlight);
    if (!bg.isValid())
        bg = colour(c.background);
    if (bg.isValid())
        f.setBackground(bg);
    if (c.vertical == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (c.vertical == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (c.hidden)
        f.setProperty(RichText::Hidden, true);
    if (c.isProtected)
        f.setProperty(RichText::Protected, true);
    if (c.disabled)
        f.setProperty(RichText::Disabled, true);
    if (c.revised) {
        f.setProperty(RichText::Revised, true);
        f.setProperty(RichText::RevisionAuthor, c.revisionAuthor);
    }
    if (c.spacingTwips != 0) {
        f.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        f.setFontLetterSpacing(layoutPixels(c.spacingTwips));
    }
    if (c.kerningHalfPoints > 0) {
        f.setProperty(RichText::KerningTwips, c.kerningHalfPoints * 10);
        f.setFontKerning(true);
    }
    if (c.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (c.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    if (!c.href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(c.href);
    }
    m_cachedChr = c;
    m_cachedFormat = f;
    m_haveCachedFormat = true;
    return f;
}

QTextBlockFormat RtfReader::blockFormat(const ParaState &p)
{
    QTextBlockFormat f;
    switch (p.alignment) {
    case 1:
        f.setAlignment(Qt::AlignRight);
        break;
    case 2:
        f.setAlignment(Qt::AlignHCenter);
        break;
    case 3:
        f.setAlignment(Qt::AlignJustify);
        break;
    default:
        f.setAlignment(Qt::AlignLeft);
        break;
    }
    if (p.firstIndent)
        f.setTextIndent(layoutPixels(p.firstIndent));
    if (p.leftIndent)
        f.setLeftMargin(layoutPixels(p.leftIndent));
    if (p.rightIndent)
        f.setRightMargin(layoutPixels(p.rightIndent));
    if (p.spaceBefore)
        f.setTopMargin(layoutPixels(p.spaceBefore));
    if (p.spaceAfter)
        f.setBottomMargin(layoutPixels(p.spaceAfter));
    if (p.lineSpacing != 0) {
        if (p.lineMultiple && p.lineSpacing > 0) {
            const int value = qMax(1, (p.lineSpacing + 6) / 12);
            f.setProperty(RichText::LineSpacingRule, 5);
            f.setProperty(RichText::LineSpacingValue, value);
            f.setLineHeight(value * 5, QTextBlockFormat::ProportionalHeight);
        } else if (p.lineSpacing > 0) {
            f.setProperty(RichText::LineSpacingRule, 3);
            f.setProperty(RichText::LineSpacingValue, p.lineSpacing);
            f.setLineHeight(layoutPixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
        } else {
            f.setProperty(RichText::LineSpacingRule, 4);
            f.setProperty(RichText::LineSpacingValue, -p.lineSpacing);
            f.setLineHeight(layoutPixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
        }
    }
    if (!p.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop &t : p.tabs) {
            QTextOption::Tab tab(
                layoutPixels(t.twips), t.type, t.type == QTextOption::DelimiterTab ? QChar(u'.') : QChar());
            tabs.append(tab);
        }
        f.setTabPositions(tabs);
    }
    if (p.keepWithNext)
        f.setProperty(RichText::KeepWithNext, true);
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (p.rightToLeft)
        f.setLayoutDirection(Qt::RightToLeft);
    if (p.style != 0)
        f.setProperty(RichText::StyleNumber, p.style);
    return f;
}

RtfDocumentBuilder::ListRef RtfReader::listFor(const ParaState &p)
{
    RtfDocumentBuilder::ListRef ref;
    int kind = 0;
    int styleWord = -1;
    bool plainNumbers = false;
    QString key;
    bool fromTable = false;
    if (p.listOverride > 0) {
        const auto ov = m_overrides.constFind(p.listOverride);
        const auto def = ov != m_overrides.constEnd() ? m_lists.constFind(*ov) : m_lists.constEnd();
        if (def != m_lists.constEnd()) {
            fromTable = true;
            ListLevelDef level;
            if (!def->levels.isEmpty())
                level = def->levels.value(qMin(p.listLevel, int(def->levels.size()) - 1));
            kind = RtfNumbering::kindFromLevel(level.nfc, level.text);
            if (kind != RichText::NumberingBullet && kind != 0)
                styleWord = RtfNumbering::styleWordFromLevelText(level.text);
            key = QStringLiteral("ls%1.%2").arg(p.listOverride).arg(p.listLevel);
        }
    }
    if (!fromTable && p.numbering.present && p.numbering.kind != 0 && !p.numbering.continuation) {
        const NumberingState &n = p.numbering;
        kind = n.kind;
        if (kind == RichText::NumberingBullet) {
            kind = RtfNumbering::bulletKind(n.textBefore);
        } else if (n.hasTextAfter || n.hasTextBefore) {
            styleWord = RtfNumbering::styleWordFromAffixes(n.textBefore, n.textAfter);
        } else {
            plainNumbers = true; // no text around the number
        }
        if (!m_previousWasNumbered || !(m_previousNumbering == n))
            ++m_numberingRun;
        m_previousNumbering = n;
        key = QStringLiteral("pn%1").arg(m_numberingRun);
    }
    m_previousWasNumbered = !fromTable && kind != 0 && p.numbering.present;
    if (kind == 0)
        return ref;
    ref.key = key;
    ref.format = RtfNumbering::listFormat(kind, styleWord);
    if (plainNumbers) {
        ref.format.setNumberPrefix(QString());
        ref.format.setNumberSuffix(QString());
    }
    return ref;
}

void RtfReader::emitPicture()
{
    PictureState pic = std::move(m_picture);
    m_picture = PictureState();
    if (!pic.visible || m_stack.isEmpty())
        return;
    if (pic.data.isEmpty() || m_pictureCount >= 100000)
        return;
    if (pic.format.isEmpty())
        pic.format = QStringLiteral("wmf");
    const bool metafile = pic.format == QLatin1String("emf") || pic.format == QLatin1String("wmf")
        || pic.format == QLatin1String("pict") || pic.format == QLatin1String("pmm");
    QImage image = metafile
        ? QImage()
        : RtfPicture::decode(pic.format, pic.data, QSize(pic.picw, pic.pich), pic.bitsPerPixel, pic.widthBytes);
    double width = 0;
    double height = 0;
    if (pic.goalw > 0 && pic.goalh > 0) {
        width = layoutPixels(pic.goalw);
        height = layoutPixels(pic.goalh);
    } else if (!image.isNull()) {
        width = image.width();
        height = image.height();
    } else if (pic.picw > 0 && pic.pich > 0) {
        // Metafile extents are in hundredths of a millimetre.
        width = metafile ? pic.picw * RichText::kLayoutDpi / 2540.0 : pic.picw;
        height = metafile ? pic.pich * RichText::kLayoutDpi / 2540.0 : pic.pich;
    } else {
        width = height = 32;
    }
    width = qBound(1.0, width * pic.scalex / 100.0, 20000.0);
    height = qBound(1.0, height * pic.scaley / 100.0, 20000.0);
    if (image.isNull())
        image = RtfPicture::placeholder(QSize(qRound(width), qRound(height)));
    const QByteArray hash = QCryptographicHash::hash(pic.data, QCryptographicHash::Sha1).toHex();
    const QString name = QStringLiteral("rtf-picture:%1.%2").arg(QString::fromLatin1(hash), pic.format);
    const QUrl url(name);
    if (!m_doc->resource(QTextDocument::ImageResource, url).isValid())
        m_doc->addResource(QTextDocument::ImageResource, url, image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(width);
    f.setHeight(height);
    f.setProperty(RichText::PictureData, pic.data);
    f.setProperty(RichText::PictureFormat, pic.format);
    flushBodyText();
    ++m_pictureCount;
    m_builder->insertImage(f, paragraphLevel(state().para));
}
