#pragma once

#include "pages/GmTypes.h"

#include <QtGlobal>

#include <functional>

class QPainter;
class QPicture;
class QPen;
class QBrush;
class TGmResourceTable;

// The drawing objects of a page. A page's object list owns them; coordinates are inches relative
// to the page's top-left corner, so an object draws at any resolution. The classes form one
// chain of single inheritance; each level adds one thing.

// Raster operation of a picture object (the values of the Windows raster codes).
enum : quint32 { GmSrcCopy = 0x00CC0020, GmSrcPaint = 0x00EE0086, GmSrcAnd = 0x008800C6, GmSrcInvert = 0x00660046 };

enum TGmZOrder { gmBringToFront, gmBringForward, gmSendBackward, gmSendToBack };

class TGmBaseObject
{
public:
    explicit TGmBaseObject(TGmResourceTable *resources);
    TGmBaseObject(const TGmBaseObject &) = delete;
    TGmBaseObject &operator=(const TGmBaseObject &) = delete;
    virtual ~TGmBaseObject();

    // Copies the printable flag.
    virtual void AssignTo(TGmBaseObject *target) const;
    virtual int ObjectType() const = 0;
    // Sends the change notification unless an update is running.
    virtual void Changed();
    // Draws on a painter whose units are device pixels at ppiX x ppiY per inch.
    virtual void Draw(QPainter *canvas, int ppiX, int ppiY);
    virtual void OffsetBy(TGmMeasurement unit, double dx, double dy);

    bool Printable() const { return m_printable; }
    void SetPrintable(bool printable) { m_printable = printable; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    TGmResourceTable *ResourceTable() const { return m_resources; }
    void BeginUpdate() { m_updating = true; }
    void EndUpdate();
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    bool m_printable = true;
    int m_tag = -1;
    TGmResourceTable *m_resources;
    bool m_updating = false;
    std::function<void()> m_onChange;
};

class TGmVisibleObject : public TGmBaseObject
{
public:
    using ZOrderHook = std::function<void(TGmVisibleObject *, TGmZOrder)>;
    using TGmBaseObject::TGmBaseObject;

    void setZOrderHook(ZOrderHook hook) { m_zOrder = std::move(hook); }
    // Moves the object within its page: drawn last, one place later, one earlier, drawn first.
    void BringToFront() { moveTo(gmBringToFront); }
    void BringForward() { moveTo(gmBringForward); }
    void SendBackward() { moveTo(gmSendBackward); }
    void SendToBack() { moveTo(gmSendToBack); }

private:
    void moveTo(TGmZOrder where);

    ZOrderHook m_zOrder;
};

class TGmOutlineShape : public TGmVisibleObject
{
public:
    using TGmVisibleObject::TGmVisibleObject;
    // A pen of the resource table's pen list, or none.
    QPen *Pen() const { return m_pen; }
    void SetPen(QPen *pen) { m_pen = pen; }
    void Draw(QPainter *canvas, int ppiX, int ppiY) override;

private:
    QPen *m_pen = nullptr;
};

class TGmSolidShape : public TGmOutlineShape
{
public:
    using TGmOutlineShape::TGmOutlineShape;
    QBrush *Brush() const { return m_brush; }
    void SetBrush(QBrush *brush) { m_brush = brush; }
    void Draw(QPainter *canvas, int ppiX, int ppiY) override;

private:
    QBrush *m_brush = nullptr;
};

class TGmBaseSolidShape : public TGmSolidShape
{
public:
    using TGmSolidShape::TGmSolidShape;
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Right() const { return m_right; }
    double Bottom() const { return m_bottom; }
    // The bounding rectangle in inches, page-relative.
    void SetBounds(double left, double top, double right, double bottom);
    void OffsetBy(TGmMeasurement unit, double dx, double dy) override;

private:
    double m_left = 0;
    double m_top = 0;
    double m_right = 0;
    double m_bottom = 0;
};

class TGmSimpleSolidShape : public TGmBaseSolidShape
{
public:
    using TGmBaseSolidShape::TGmBaseSolidShape;
};

// A picture stretched into the bounding rectangle. The picture belongs to the resource table's
// graphic list.
class TGmGraphicObject : public TGmSimpleSolidShape
{
public:
    static constexpr int TypeCode = 13;
    using TGmSimpleSolidShape::TGmSimpleSolidShape;

    int ObjectType() const override { return TypeCode; }
    QPicture *Graphic() const { return m_picture; }
    void SetGraphic(QPicture *picture) { m_picture = picture; }
    quint32 CopyMode() const { return m_copyMode; }
    void SetCopyMode(quint32 mode) { m_copyMode = mode; }
    void Draw(QPainter *canvas, int ppiX, int ppiY) override;

private:
    QPicture *m_picture = nullptr;
    quint32 m_copyMode = GmSrcCopy;
};

// True when the painter draws on a printer.
bool IsPrinterCanvas(const QPainter *canvas);
