#pragma once

#include <QString>
#include <QStringList>

// Fixed texts the exports write into their files: credits, product names, the maker's address.
namespace ExportTexts {

inline QString makerCredit() { return QStringLiteral("Made by the Velmora Lumaro team"); }
inline QString companyName() { return QStringLiteral("Velmora Software"); }
inline QString webSite() { return QStringLiteral("https://www.velmora.example"); }

// The comment lines of an exported GIF, and of a presentation file.
inline QStringList gifCommentLines()
{
    return {QStringLiteral("Created by Velmora Lumaro Word Processor version 8.2.2.2"), makerCredit(),
            QStringLiteral("Velmora Office - Altavue 1.2"), companyName(), webSite()};
}
inline QStringList presentationCommentLines()
{
    return {QStringLiteral("Created by Velmora Lumaro Word Processor version 8.2.2.2"), makerCredit(),
            QStringLiteral("Velmora Office - Altavue version 1.2"), companyName(), webSite(),
            QStringLiteral("This is a Velmora Office Presentation File.")};
}

// The application name and description of an exported metafile page.
inline QString emfApplication() { return QStringLiteral("Velmora Office - Altavue 1.2"); }
inline QString emfDescription() { return QStringLiteral("Created by Velmora Lumaro 8.2.2.2 ") + makerCredit(); }

// Info entries of the PDF exports.
inline QString pdfProducer() { return QStringLiteral("Velmora(R) Office - ") + webSite(); }
inline QString pdfKeywords() { return QStringLiteral("RTF Export to PDF"); }
inline QString makerNotice() { return QStringLiteral(" (c) Velmora Software"); }
inline QString fullLayoutAuthor() { return QStringLiteral("Velmora Office Software"); }
inline QString fullLayoutCreator() { return QStringLiteral("Velmora Lumaro 8.2.2.2") + makerNotice(); }
inline QString fullLayoutSubject() { return QStringLiteral("Full RTF Document with Formatting and Objects."); }
inline QString textOnlyAuthor() { return QStringLiteral("Velmora Office - Morvath"); }
inline QString textOnlyCreator() { return QStringLiteral("Lumaro Pro 1.2") + makerNotice(); }
inline QString textOnlySubject() { return QStringLiteral("RTF Document"); }

} // namespace ExportTexts
