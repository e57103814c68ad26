#pragma once

#include "pages/GmPageList.h"

#include <QStringList>

// Records the page list's notifications by name, in the order they come.
class PageListLog
{
public:
    explicit PageListLog(TGmPageList *list)
    {
        auto log = [this](const char *name) { return [this, name] { entries << QString::fromLatin1(name); }; };
        QObject::connect(list, &TGmPageList::newPage, list, log("new-page"));
        QObject::connect(list, &TGmPageList::cleared, list, log("cleared"));
        QObject::connect(list, &TGmPageList::headerFooterChanged, list, log("header-footer-changed"));
        QObject::connect(list, &TGmPageList::orientationChanged, list, log("orientation-changed"));
        QObject::connect(list, &TGmPageList::changed, list, log("changed"));
        QObject::connect(list, &TGmPageList::marginsChanged, list, log("margins-changed"));
        QObject::connect(list, &TGmPageList::beforePageChange, list, log("before-page-change"));
        QObject::connect(list, &TGmPageList::pageCountChanged, list, log("page-count-changed"));
        QObject::connect(list, &TGmPageList::pageChanged, list, log("page-changed"));
        QObject::connect(list, &TGmPageList::paperSizeChanged, list, log("paper-size-changed"));
    }
    QStringList take()
    {
        QStringList result = entries;
        entries.clear();
        return result;
    }
    QStringList entries;
};
