#pragma once

#include <QString>

class DocumentHost;
class SaveCommands;

// Whether a document window may close: a modified document asks "Do you want to save changes
// to "name"?" with Yes, No and Cancel. Yes closes only when the document was saved; a cancelled
// save dialog or a failed write keeps the window open with the user's work.
class CloseQuery
{
public:
    static bool mayClose(DocumentHost &host, SaveCommands &save);
    static QString question(const QString &documentFileName);
};
