#pragma once

#include "platform/rtf/RtfDocumentBuilder.h"
#include "platform/rtf/RtfTextDecoder.h"
#include "platform/rtf/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextOption>

#include <memory>

class QTextDocument;

// Reads rich text into a QTextDocument. The reader keeps a stack of group states on the heap (the
// nesting depth of the input never reaches the call stack); groups nested deeper than
// kMaxGroupDepth share the state of the deepest kept group. Unknown destinations are skipped as a
// whole; headers, footers, footnotes, comments and text boxes never reach the body.
class RtfReader
{
public:
    static constexpr int kMaxGroupDepth = 512;

    RtfReader();
    ~RtfReader();
    RtfReader(const RtfReader &) = delete;
    RtfReader &operator=(const RtfReader &) = delete;

    // Replaces the content of the document. False, with a message, when the bytes do not start
    // as rich text; damaged rich text is read as far as it goes. One reader reads one document.
    bool read(QByteArrayView rtf, QTextDocument &doc, QString *error = nullptr);

    enum class Destination {
        Body,
        FontTable,
        FontEntry,
        ColorTable,
        StyleSheet,
        StyleEntry,
        Info,
        Title,
        Picture,
        FieldInstruction,
        ListTable,
        List,
        ListLevel,
        LevelText,
        ListOverrideTable,
        ListOverride,
        Numbering,
        NumberingTextBefore,
        NumberingTextAfter,
        Shape,
        ShapeName,
        ShapeValue,
        ShapeResult,
        Object,
        UnicodeAlternative, // the 8-bit branch of \upr, until \ud shows otherwise
        Ignored, // read for structure only; its text is dropped
    };

    struct CharState
    {
        int font = -1; // -1: the default font
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool caps = false;
        bool smallCaps = false;
        bool hidden = false;
        bool isProtected = false;
        bool disabled = false;
        bool revised = false;
        int revisionAuthor = 0;
        int underline = 0; // underline type
        int underlineColour = -1; // colour table index
        int foreground = 0;
        int background = 0;
        int highlight = 0;
        int vertical = 0; // 0 none, 1 subscript, 2 superscript
        int spacingTwips = 0;
        int kerningHalfPoints = 0;
        QString href;
        bool operator==(const CharState &) const = default;
    };

    struct TabStop
    {
        int twips = 0;
        QTextOption::TabType type = QTextOption::LeftTab;
        bool operator==(const TabStop &) const = default;
    };

    struct NumberingState
    {
        bool present = false;
        int kind = 0; // RichText::NumberingKind
        int font = -1;
        QString textBefore;
        QString textAfter;
        bool hasTextBefore = false;
        bool hasTextAfter = false;
        bool continuation = false; // \pnlvlcont: a paragraph of the list without a number
        bool operator==(const NumberingState &) const = default;
    };

    struct ParaState
    {
        int alignment = 0; // 0 left, 1 right, 2 centre, 3 justify
        int firstIndent = 0;
        int leftIndent = 0;
        int rightIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0;
        bool lineMultiple = false;
        bool keepWithNext = false;
        bool pageBreakBefore = false;
        bool rightToLeft = false;
        bool inTable = false;
        int tableLevel = -1; // \itap, -1 when not given
        int style = 0;
        int listOverride = 0;
        int listLevel = 0;
        QList<TabStop> tabs;
        QTextOption::TabType pendingTabType = QTextOption::LeftTab;
        NumberingState numbering;
    };

    struct GroupState
    {
        Destination dest = Destination::Body;
        CharState chr;
        ParaState para;
        int unicodeSkip = 1;
        bool fieldGroup = false;
        bool shapePictureGroup = false; // \shppict
        bool uprGroup = false;
        Destination uprDest = Destination::Body;
    };

private:
    struct FontEntry
    {
        QString name;
        int charset = -1;
        int codePage = 0;
    };
    struct ListLevelDef
    {
        int nfc = 0;
        QString text;
    };
    struct ListDef
    {
        QList<ListLevelDef> levels;
    };
    struct StyleDef
    {
        CharState chr;
        ParaState para;
    };
    struct PictureState
    {
        bool visible = false;
        QString format; // png, jpeg, emf, wmf, dib, bmp
        QByteArray data;
        int nibble = -1;
        int picw = 0, pich = 0, goalw = 0, goalh = 0;
        int scalex = 100, scaley = 100;
        int bitsPerPixel = 0, widthBytes = 0;
    };

    void run();
    GroupState &state() { return m_stack.last(); }
    void pushGroup();
    void popGroup();
    void skipCurrentGroup();
    void controlWord(QByteArrayView word, bool hasParam, int param);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void flushBytes();
    void decodedText(const QString &text);
    void bodyText(const QString &text);
    void flushBodyText();
    bool inBody() const;
    void endParagraph();
    void endCell(int level);
    void endRow(int level);
    void pageBreak();
    void insertSymbolField(const QString &instruction);
    void emitPicture();
    int currentCodePage() const;
    int codePageOfFont(int font) const;
    int paragraphLevel(const ParaState &p) const;
    void commitFontEntry();
    void commitColour();
    QTextCharFormat charFormat(const CharState &c);
    QTextBlockFormat blockFormat(const ParaState &p);
    RtfDocumentBuilder::ListRef listFor(const ParaState &p);
    QColor colour(int index) const;
    void applyStyle(int number);
    bool setDestination(QByteArrayView word);

    RtfTokenizer *m_tokenizer = nullptr;
    QTextDocument *m_doc = nullptr;
    std::unique_ptr<RtfDocumentBuilder> m_builder;
    RtfTextDecoder m_decoder;

    QList<GroupState> m_stack;
    int m_overflowDepth = 0;
    bool m_done = false;
    bool m_starPending = false;
    bool m_starAtGroupStart = false;
    bool m_groupStart = false;
    int m_skipChars = 0;

    int m_documentCodePage = RtfTextDecoder::kAnsiCodePage;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    int m_fontEntryNumber = -1;
    FontEntry m_fontEntry;
    bool m_fontEntryOpen = false;
    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;
    QHash<int, StyleDef> m_styles;
    int m_styleEntryNumber = 0;
    QString m_title;
    QString m_author;
    QString m_subject;
    QString m_keywords;
    QString *m_infoText = nullptr; // the text of the information group being read

    QByteArray m_pendingBytes;
    QString m_pendingText;
    CharState m_pendingChr;
    bool m_haveCachedFormat = false;
    CharState m_cachedChr;
    QTextCharFormat m_cachedFormat;

    struct Field
    {
        QString instruction;
        bool hasResult = false;
    };
    QList<Field> m_fields;

    QHash<int, ListDef> m_lists;
    QHash<int, int> m_overrides; // \ls number -> list id
    ListDef m_listBuilding;
    int m_listBuildingId = 0;
    ListLevelDef m_levelBuilding;
    int m_overrideList = 0;
    int m_overrideNumber = 0;
    NumberingState m_numberingBuilding;
    NumberingState m_previousNumbering;
    bool m_previousWasNumbered = false;
    int m_numberingRun = 0;

    PictureState m_picture;
    QString m_shapePropertyName;
    bool m_shapeHadPicture = false;
    bool m_lastWasShapePicture = false;
    int m_pictureCount = 0;

    QList<QList<int>> m_rowEdges;
    int m_rowEdgesLevel = 1;
    bool m_pageBreakNext = false;
    int m_footnoteNumber = 0;
    ParaState m_lastPara;
};
