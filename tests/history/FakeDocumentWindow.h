#pragma once

#include "app/LastOpenedDocument.h"
#include "tests/history/HistoryTestFiles.h"

#include <QStringList>

// A document window for "Last Opened Document" that records what was done to it.
class FakeDocumentWindow final : public LastOpenedDocumentHost
{
public:
    bool modified = false;
    bool text = false;
    bool saveSucceeds = true;
    bool loadSucceeds = true;
    int saves = 0;
    QString fileName = QStringLiteral("Untitled");
    QString content = QStringLiteral("unsaved work");
    QString tabCaption = QStringLiteral("New Document");
    QStringList loaded;

    bool isModified() const override { return modified; }
    bool hasText() const override { return text; }
    bool save() override
    {
        ++saves;
        if (saveSucceeds)
            modified = false;
        return saveSucceeds;
    }
    void setDocumentFileName(const QString &path) override { fileName = path; }
    bool loadDocument(const QString &path) override
    {
        loaded.append(path);
        if (!loadSucceeds)
            return false;
        content = QString::fromUtf8(HistoryTestFiles::contents(path));
        modified = false;
        return true;
    }
    void setTabCaption(const QString &caption) override { tabCaption = caption; }
};
