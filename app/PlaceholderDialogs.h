#pragma once

#include <QDialog>

// Dialog windows made once at program start whose own windows are not built yet: each is an
// empty dialog of its class, so that the start order and the program-wide references hold. A
// class leaves this file when its real window is written.

class PlaceholderDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PlaceholderDialog(const QString &className, QWidget *parent = nullptr);
};

class TPrintPreviewForm : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TPrintPreviewForm(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TPrintPreviewForm"), parent)
    { }
};

class TMarginsForm : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TMarginsForm(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TMarginsForm"), parent)
    { }
};

class THeaderFooterForm : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit THeaderFooterForm(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("THeaderFooterForm"), parent)
    { }
};

class TWordCountForm : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TWordCountForm(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TWordCountForm"), parent)
    { }
};

class TScanPage : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TScanPage(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TScanPage"), parent)
    { }
};

class TDllForms : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TDllForms(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TDllForms"), parent)
    { }
};

class TDLLForm : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TDLLForm(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TDLLForm"), parent)
    { }
};

class TfrmRTF : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmRTF(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmRTF"), parent)
    { }
};

class TfrmFontSmoothing : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmFontSmoothing(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmFontSmoothing"), parent)
    { }
};

class TfrmCreativeArt : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmCreativeArt(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmCreativeArt"), parent)
    { }
};

class TfrmEBuilder : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmEBuilder(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmEBuilder"), parent)
    { }
};

class TfrmEmoticons : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmEmoticons(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmEmoticons"), parent)
    { }
};

class TfrmCustomText : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmCustomText(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmCustomText"), parent)
    { }
};

class TfrmTemplateLibrary : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmTemplateLibrary(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmTemplateLibrary"), parent)
    { }
};

class TfrmAddTemplate : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmAddTemplate(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmAddTemplate"), parent)
    { }
};

class TfrmPageDividers : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmPageDividers(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmPageDividers"), parent)
    { }
};

class TfrmOnlineStorage : public PlaceholderDialog
{
    Q_OBJECT
public:
    explicit TfrmOnlineStorage(QWidget *parent = nullptr)
        : PlaceholderDialog(QStringLiteral("TfrmOnlineStorage"), parent)
    { }
};
