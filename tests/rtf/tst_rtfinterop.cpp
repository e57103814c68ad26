#include "platform/RichTextProperties.h"
#include "tests/rtf/RtfTestSupport.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextList>

// What the writer writes opens in another word processor with the same text and formatting:
// LibreOffice converts our rich text to HTML, and the HTML shows the runs, alignment and lists.
class tst_RtfInterop : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_html;

    static QTextDocument *richDocument()
    {
        auto *doc = new QTextDocument;
        QTextCursor c(doc);
        const auto run = [&c](const QString &text, auto setter) {
            QTextCharFormat f;
            setter(f);
            c.insertText(text, f);
            c.insertText(QStringLiteral(" "), QTextCharFormat());
        };
        run(QStringLiteral("BoldRun"), [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
        run(QStringLiteral("ItalicRun"), [](QTextCharFormat &f) { f.setFontItalic(true); });
        run(QStringLiteral("UnderlineRun"), [](QTextCharFormat &f) {
            f.setProperty(RichText::UnderlineTypeByte, 1);
            f.setFontUnderline(true);
        });
        run(QStringLiteral("RedRun"), [](QTextCharFormat &f) { f.setForeground(QColor(255, 0, 0)); });
        run(QStringLiteral("BigRun"), [](QTextCharFormat &f) { f.setFontPointSize(20); });
        run(QStringLiteral("CourierRun"),
            [](QTextCharFormat &f) { f.setFontFamilies(QStringList(QStringLiteral("Courier New"))); });
        run(QStringLiteral("Gr\u00FC\u00DFe \u0416\u20AC"), [](QTextCharFormat &) {});

        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.insertBlock(centred);
        c.insertText(QStringLiteral("CentredLine"));
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        c.insertBlock(right);
        c.insertText(QStringLiteral("RightLine"));

        QTextBlockFormat item;
        item.setLeftMargin(48);
        item.setTextIndent(-24);
        c.insertBlock(item);
        QTextListFormat bullets;
        bullets.setProperty(RichText::NumberingKind, int(RichText::NumberingBullet));
        c.createList(bullets);
        c.insertText(QStringLiteral("AppleItem"));
        c.insertBlock();
        c.insertText(QStringLiteral("BananaItem"));
        c.insertBlock(item);
        QTextListFormat numbers;
        numbers.setProperty(RichText::NumberingKind, int(RichText::NumberingArabic));
        numbers.setProperty(RichText::NumberingStyleWord, 0x2200);
        c.createList(numbers);
        c.insertText(QStringLiteral("FirstItem"));
        c.insertBlock();
        c.insertText(QStringLiteral("SecondItem"));
        c.insertBlock(QTextBlockFormat()); // a fresh block format leaves the list
        c.insertText(QStringLiteral("LastLine"));
        return doc;
    }

    // The HTML element that holds a word, as a string from the enclosing paragraph.
    QString paragraphOf(const QString &word) const
    {
        const qsizetype at = m_html.indexOf(word);
        if (at < 0)
            return QString();
        qsizetype start = m_html.lastIndexOf(QRegularExpression(QStringLiteral("<(p|li|h\\d)[ >]")), at);
        qsizetype end = m_html.indexOf(QRegularExpression(QStringLiteral("</(p|li|h\\d)>")), at);
        return m_html.mid(start, end - start);
    }

    // The markup just before a word, back to the start of its paragraph.
    QString markupBefore(const QString &word) const
    {
        const qsizetype at = m_html.indexOf(word);
        if (at < 0)
            return QString();
        const qsizetype start = m_html.lastIndexOf(QRegularExpression(QStringLiteral("<(p|li)[ >]")), at);
        return m_html.mid(start, at - start);
    }

private slots:
    void initTestCase()
    {
        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed.");
        QVERIFY(m_dir.isValid());
        std::unique_ptr<QTextDocument> doc(richDocument());
        QFile rtf(m_dir.filePath(QStringLiteral("rich.rtf")));
        QVERIFY(rtf.open(QIODevice::WriteOnly));
        rtf.write(RtfTestSupport::writeRtf(*doc));
        rtf.close();

        QProcess lo;
        lo.setProgram(soffice);
        lo.setArguments({ QStringLiteral("-env:UserInstallation=file://") + m_dir.filePath(QStringLiteral("profile")),
            QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("html"),
            QStringLiteral("--outdir"), m_dir.path(), rtf.fileName() });
        lo.start();
        QVERIFY(lo.waitForFinished(180000));
        QFile html(m_dir.filePath(QStringLiteral("rich.html")));
        QVERIFY2(html.open(QIODevice::ReadOnly), lo.readAllStandardError().constData());
        m_html = QString::fromUtf8(html.readAll());
    }

    void textIsTheSame()
    {
        for (const QString &word : { QStringLiteral("BoldRun"), QStringLiteral("CentredLine"),
                 QStringLiteral("AppleItem"), QStringLiteral("SecondItem"), QStringLiteral("LastLine") })
            QVERIFY2(m_html.contains(word), qPrintable(word));
        // Characters outside the code page came through \u.
        QVERIFY2(m_html.contains(QStringLiteral("Gr\u00FC\u00DFe \u0416\u20AC"))
                || m_html.contains(QStringLiteral("Gr&uuml;&szlig;e")),
            qPrintable(paragraphOf(QStringLiteral("Gr"))));
    }

    void runsKeepTheirFormatting()
    {
        QVERIFY2(markupBefore(QStringLiteral("BoldRun")).contains(QStringLiteral("<b>")),
            qPrintable(paragraphOf(QStringLiteral("BoldRun"))));
        QVERIFY(markupBefore(QStringLiteral("ItalicRun")).endsWith(QStringLiteral("<i>")));
        QVERIFY(markupBefore(QStringLiteral("UnderlineRun")).endsWith(QStringLiteral("<u>")));
        QVERIFY2(markupBefore(QStringLiteral("RedRun"))
                     .contains(QRegularExpression(QStringLiteral("color=\"#ff0000\"|color: ?#ff0000"),
                         QRegularExpression::CaseInsensitiveOption)),
            qPrintable(paragraphOf(QStringLiteral("RedRun"))));
        QVERIFY2(markupBefore(QStringLiteral("BigRun")).contains(QStringLiteral("20pt")),
            qPrintable(paragraphOf(QStringLiteral("BigRun"))));
        QVERIFY2(markupBefore(QStringLiteral("CourierRun")).contains(QStringLiteral("Courier New")),
            qPrintable(paragraphOf(QStringLiteral("CourierRun"))));
        // Formatting ends with its run.
        const QString plainRun = markupBefore(QStringLiteral("ItalicRun"));
        QVERIFY(!plainRun.mid(plainRun.indexOf(QStringLiteral("BoldRun"))).contains(QStringLiteral("<b>")));
    }

    void alignmentAndLists()
    {
        QVERIFY2(paragraphOf(QStringLiteral("CentredLine")).contains(QStringLiteral("center")),
            qPrintable(paragraphOf(QStringLiteral("CentredLine"))));
        QVERIFY(paragraphOf(QStringLiteral("RightLine")).contains(QStringLiteral("right")));
        const qsizetype ul = m_html.indexOf(QStringLiteral("<ul"));
        const qsizetype ol = m_html.indexOf(QStringLiteral("<ol"));
        QVERIFY2(ul >= 0 && ul < m_html.indexOf(QStringLiteral("AppleItem")), qPrintable(m_html));
        QVERIFY(ol >= 0 && ol < m_html.indexOf(QStringLiteral("FirstItem"))
            && ol > m_html.indexOf(QStringLiteral("BananaItem")));
        QCOMPARE(m_html.count(QStringLiteral("<li")), 4);
        QVERIFY(m_html.indexOf(QStringLiteral("</ol>")) < m_html.indexOf(QStringLiteral("LastLine")));
        // Each item's label is the list's, not a second one in the text.
        QVERIFY(!paragraphOf(QStringLiteral("FirstItem")).contains(QStringLiteral("1.")));
    }
};

LUMARO_TEST_CLASS(tst_RtfInterop)
#include "tst_rtfinterop.moc"
