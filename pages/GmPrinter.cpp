#include "pages/GmPrinter.h"

#include "pages/FallbackPrinterDevice.h"
#include "platform/Dialogs.h"

#include <QPageSize>
#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace {

// The print engine's property that carries CUPS job options as name/value pairs.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QPageSize pageSizeFor(TGmPaperSize size)
{
    switch (size) {
    case A3:
        return QPageSize(QPageSize::A3);
    case A4:
        return QPageSize(QPageSize::A4);
    case A5:
        return QPageSize(QPageSize::A5);
    case A6:
        return QPageSize(QPageSize::A6);
    case B5:
        return QPageSize(QPageSize::B5);
    case C5:
        return QPageSize(QPageSize::C5E);
    case Legal:
        return QPageSize(QPageSize::Legal);
    case Letter:
        return QPageSize(QPageSize::Letter);
    case B4:
        return QPageSize(QPageSize::B4);
    case Envelope_09:
        return QPageSize(QPageSize::Envelope9);
    case Envelope_10:
        return QPageSize(QPageSize::Envelope10);
    case Envelope_11:
        return QPageSize(QPageSize::Envelope11);
    case Envelope_12:
        return QPageSize(QPageSize::Envelope12);
    case Envelope_14:
        return QPageSize(QPageSize::Envelope14);
    case Tabloid:
        return QPageSize(QPageSize::Tabloid);
    case Ledger:
        return QPageSize(QPageSize::Ledger);
    case Executive:
        return QPageSize(QPageSize::Executive);
    case Custom:
        return QPageSize();
    default: {
        // No paper code: the table's own size, for the driver to match or not.
        const QSizeF inches = PaperSizeInches(size);
        return QPageSize(inches, QPageSize::Inch, PaperSizeName(size));
    }
    }
}

int duplexCode(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexLongSide:
        return 2;
    case QPrinter::DuplexShortSide:
        return 3;
    default:
        return 1;
    }
}

} // namespace

TGmPrinter::TGmPrinter(QObject *parent)
    : QObject(parent)
{ }

TGmPrinter::~TGmPrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

int TGmPrinter::PaperCode(TGmPaperSize size)
{
    switch (size) {
    case A3:
        return 8;
    case A4:
        return 9;
    case A5:
        return 11;
    case A6:
        return 70;
    case B5:
        return 13;
    case C5:
        return 28;
    case Legal:
        return 5;
    case Letter:
        return 1;
    case B4:
        return 12;
    case Envelope_09:
        return 19;
    case Envelope_10:
        return 20;
    case Envelope_11:
        return 21;
    case Envelope_12:
        return 22;
    case Envelope_14:
        return 23;
    case Tabloid:
        return 3;
    case Ledger:
        return 4;
    case Executive:
        return 7;
    default:
        return -1;
    }
}

QStringList TGmPrinter::Printers()
{
    return QPrinterInfo::availablePrinterNames();
}

namespace {
struct ProgramPrinterSetting
{
    QString name;
    quint64 generation = 0;
};

ProgramPrinterSetting &programPrinter()
{
    static ProgramPrinterSetting setting;
    return setting;
}
} // namespace

QString TGmPrinter::ProgramPrinter()
{
    return programPrinter().name;
}

void TGmPrinter::SetProgramPrinter(const QString &name)
{
    ProgramPrinterSetting &setting = programPrinter();
    if (setting.name == name)
        return;
    setting.name = name;
    ++setting.generation;
}

bool TGmPrinter::ensurePrinter()
{
    const ProgramPrinterSetting &shared = programPrinter();
    const bool follow = m_printerLooked && shared.generation != m_programPrinterGeneration && !m_printing;
    if (!m_printerLooked || follow) {
        m_printerLooked = true;
        m_programPrinterGeneration = shared.generation;
        const QStringList names = Printers();
        if (!names.isEmpty()) {
            int index = shared.name.isEmpty() ? -1 : int(names.indexOf(shared.name));
            if (index < 0)
                index = std::max(0, int(names.indexOf(QPrinterInfo::defaultPrinterName())));
            if (index != m_printerIndex || !m_printer)
                selectPrinter(index);
        }
        if (follow) {
            m_info = TGmPrinterInfo();
            emit OnChangePrinter();
        }
    }
    return m_printer != nullptr;
}

void TGmPrinter::selectPrinter(int index)
{
    const QStringList names = Printers();
    if (index < 0 || index >= names.size())
        return;
    // A fresh printer object carries the driver's defaults.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(names.at(index));
    if (printer->outputFormat() != QPrinter::NativeFormat)
        return;
    const QPrinterInfo info = QPrinterInfo::printerInfo(names.at(index));
    if (info.supportedResolutions().contains(300))
        printer->setResolution(300);
    printer->setFullPage(false);
    // The drawable area is the printer's own printable area, not Qt's default margins.
    printer->setPageMargins(printer->pageLayout().minimumMargins(), printer->pageLayout().units());
    m_printer = std::move(printer);
    m_printerIndex = index;
    resetSettings();
}

void TGmPrinter::resetSettings()
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_printer->printerName());
    m_settings = DeviceSettings();
    m_settings.collate = m_printer->collateCopies() ? 1 : 0;
    m_settings.duplex = duplexCode(info.defaultDuplexMode());
    m_settings.copies = 1;
    m_settings.color = info.defaultColorMode() == QPrinter::GrayScale ? 1 : 2;
    m_settings.paperSize = -1;
    for (int p = 0; p < GmPaperSizeCount; ++p) {
        if (PaperCode(TGmPaperSize(p)) > 0
            && pageSizeFor(TGmPaperSize(p)).id() == m_printer->pageLayout().pageSize().id())
            m_settings.paperSize = PaperCode(TGmPaperSize(p));
    }
}

void TGmPrinter::SetPrinterIndex(int index)
{
    if (index < 0 || index >= Printers().size())
        return;
    m_printerLooked = true;
    selectPrinter(index);
    Refresh();
    emit OnChangePrinter();
}

QPrinter *TGmPrinter::Printer()
{
    return ensurePrinter() ? m_printer.get() : nullptr;
}

bool TGmPrinter::PrinterAvailable()
{
    if (!ensurePrinter())
        return false;
    return m_printer->isValid() && m_printer->outputFormat() == QPrinter::NativeFormat
        && !QPrinterInfo::printerInfo(m_printer->printerName()).isNull();
}

QPaintDevice *TGmPrinter::ReferenceDevice()
{
    if (PrinterAvailable())
        return m_printer.get();
    if (!m_fallback)
        m_fallback = std::make_unique<FallbackPrinterDevice>();
    return m_fallback.get();
}

void TGmPrinter::setCupsOption(const QString &name, const QString &value)
{
    QPrintEngine *engine = m_printer->printEngine();
    if (!engine)
        return;
    QStringList options = engine->property(kCupsOptions).toStringList();
    const qsizetype at = options.indexOf(name);
    if (at >= 0 && at % 2 == 0 && at + 1 < options.size())
        options[at + 1] = value;
    else
        options << name << value;
    engine->setProperty(kCupsOptions, options);
}

void TGmPrinter::applySettings()
{
    // A running job keeps the settings it started with.
    if (!m_printer || Canvas())
        return;
    m_printer->setCollateCopies(m_settings.collate == 1);
    m_printer->setDuplex(m_settings.duplex == 2 ? QPrinter::DuplexLongSide
            : m_settings.duplex == 3            ? QPrinter::DuplexShortSide
                                                : QPrinter::DuplexNone);
    m_printer->setCopyCount(std::max(1, m_settings.copies));
    m_printer->setColorMode(m_settings.color == 1 ? QPrinter::GrayScale : QPrinter::Color);
    const QString quality = m_settings.quality <= -4 ? QStringLiteral("5")
        : m_settings.quality == -3                   ? QStringLiteral("4")
                                                     : QStringLiteral("3");
    setCupsOption(QStringLiteral("print-quality"), quality);
}

bool TGmPrinter::Collate() const
{
    return m_printer && m_settings.collate == 1;
}

void TGmPrinter::SetCollate(bool collate)
{
    if (!ensurePrinter())
        return;
    m_settings.collate = collate ? 1 : 0;
    applySettings();
}

TGmDuplexType TGmPrinter::Duplex() const
{
    if (!m_printer)
        return gmSimplex;
    switch (m_settings.duplex) {
    case 2:
        return gmVertDuplex;
    case 3:
        return gmHorzDuplex;
    default:
        return gmSimplex;
    }
}

void TGmPrinter::SetDuplex(TGmDuplexType duplex)
{
    if (!ensurePrinter())
        return;
    m_settings.duplex = duplex == gmVertDuplex ? 2 : duplex == gmHorzDuplex ? 3 : 1;
    applySettings();
}

int TGmPrinter::PrintCopies() const
{
    return m_printer ? m_settings.copies : 1;
}

void TGmPrinter::SetPrintCopies(int copies)
{
    if (!ensurePrinter())
        return;
    m_settings.copies = copies;
    applySettings();
}

TGmPrintColor TGmPrinter::PrintColor() const
{
    return m_printer && m_settings.color == 1 ? gmMonochrome : gmColor;
}

void TGmPrinter::SetPrintColor(TGmPrintColor color)
{
    if (!ensurePrinter())
        return;
    m_settings.color = color == gmMonochrome ? 1 : 2;
    applySettings();
}

TGmDitherType TGmPrinter::DitherType() const
{
    if (!m_printer)
        return gmNone;
    switch (m_settings.dither) {
    case 2:
        return gmCourse;
    case 3:
        return gmFine;
    case 4:
        return gmLineArt;
    case 10:
        return gmGrayScale;
    default:
        return gmNone;
    }
}

void TGmPrinter::SetDitherType(TGmDitherType dither)
{
    if (!ensurePrinter())
        return;
    static const int codes[] = { 1, 2, 3, 4, 10 };
    m_settings.dither = dither >= gmNone && dither <= gmGrayScale ? codes[dither] : 1;
}

TGmPrintQuality TGmPrinter::PrintQuality() const
{
    if (!m_printer)
        return gmMedium;
    switch (m_settings.quality) {
    case -1:
        return gmDraft;
    case -2:
        return gmLow;
    case -4:
        return gmHigh;
    default:
        return gmMedium;
    }
}

void TGmPrinter::SetPrintQuality(TGmPrintQuality quality)
{
    if (!ensurePrinter())
        return;
    m_settings.quality = -(int(quality) + 1);
    applySettings();
    Refresh();
}

void TGmPrinter::SetPaperSize(TGmPaperSize size)
{
    if (!ensurePrinter())
        return;
    m_settings.paperSize = PaperCode(size);
    const QPageSize pageSize = pageSizeFor(size);
    if (pageSize.isValid() && !Canvas()) {
        m_printer->setPageSize(pageSize);
        m_printer->setPageMargins(m_printer->pageLayout().minimumMargins(), m_printer->pageLayout().units());
    }
}

void TGmPrinter::SetOrientation(TGmOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    Refresh();
}

TGmOrientation TGmPrinter::printerOrientation() const
{
    return m_printer && m_printer->pageLayout().orientation() == QPageLayout::Landscape ? gmLandscape : gmPortrait;
}

void TGmPrinter::Refresh()
{
    if (!PrinterAvailable()) {
        m_info = TGmPrinterInfo::Fallback();
        m_info.noDevice = !Printers().isEmpty();
        return;
    }
    const QPageLayout::Orientation before = m_printer->pageLayout().orientation();
    const bool jobRunning = Canvas() != nullptr;
    if (before != QPageLayout::Portrait && !jobRunning)
        m_printer->setPageOrientation(QPageLayout::Portrait);
    m_info = TGmPrinterInfo::Measure(*m_printer);
    if (m_printer->pageLayout().orientation() == QPageLayout::Landscape) {
        // Measured during a landscape job: store the portrait view.
        std::swap(m_info.physicalWidth, m_info.physicalHeight);
        std::swap(m_info.printableWidth, m_info.printableHeight);
        std::swap(m_info.ppiX, m_info.ppiY);
        const int left = m_info.borderLeft;
        m_info.borderLeft = m_info.borderTop;
        m_info.borderTop = left;
        m_info.borderRight = m_info.borderLeft;
        m_info.borderBottom = m_info.physicalHeight - m_info.printableHeight - m_info.borderTop;
    }
    if (!m_info.valid)
        m_info = TGmPrinterInfo::Fallback();
    if (before != QPageLayout::Portrait && !jobRunning)
        m_printer->setPageOrientation(before);
}

const TGmPrinterInfo &TGmPrinter::PrinterInfo()
{
    if (m_printerLooked)
        ensurePrinter(); // follows a change of the program's printer
    if (!m_info.valid)
        Refresh();
    return m_info;
}

double TGmPrinter::PhysicalWidthInches()
{
    const TGmPrinterInfo &info = PrinterInfo();
    return printerOrientation() == gmLandscape ? double(info.physicalHeight) / info.ppiY
                                               : double(info.physicalWidth) / info.ppiX;
}

double TGmPrinter::PhysicalHeightInches()
{
    const TGmPrinterInfo &info = PrinterInfo();
    return printerOrientation() == gmLandscape ? double(info.physicalWidth) / info.ppiX
                                               : double(info.physicalHeight) / info.ppiY;
}

int TGmPrinter::ResolutionX()
{
    const TGmPrinterInfo &info = PrinterInfo();
    return printerOrientation() == gmLandscape ? info.ppiY : info.ppiX;
}

int TGmPrinter::ResolutionY()
{
    const TGmPrinterInfo &info = PrinterInfo();
    return printerOrientation() == gmLandscape ? info.ppiX : info.ppiY;
}

int TGmPrinter::PrintableWidthPixels()
{
    return PrinterInfo().printableWidth;
}

int TGmPrinter::PrintableHeightPixels()
{
    return PrinterInfo().printableHeight;
}

double TGmPrinter::PrintableWidth(TGmMeasurement unit)
{
    return ConvertUnits(gmInches, unit, double(PrintableWidthPixels()) / ResolutionX());
}

double TGmPrinter::PrintableHeight(TGmMeasurement unit)
{
    return ConvertUnits(gmInches, unit, double(PrintableHeightPixels()) / ResolutionY());
}

QMargins TGmPrinter::UnprintableBorders(TGmOrientation orientation)
{
    const TGmPrinterInfo &info = PrinterInfo();
    if (orientation == gmLandscape)
        return QMargins(info.borderTop, info.borderRight, info.borderBottom, info.borderLeft);
    return QMargins(info.borderLeft, info.borderTop, info.borderRight, info.borderBottom);
}

QMarginsF TGmPrinter::UnprintableBordersInches(TGmOrientation orientation)
{
    const QMargins b = UnprintableBorders(orientation);
    const TGmPrinterInfo &info = PrinterInfo();
    const double across = orientation == gmLandscape ? info.ppiY : info.ppiX;
    const double down = orientation == gmLandscape ? info.ppiX : info.ppiY;
    return QMarginsF(b.left() / across, b.top() / down, b.right() / across, b.bottom() / down);
}

SheetPlacement TGmPrinter::PlaceLogicalPage(
    TGmPagesPerSheet pagesPerSheet, int page, int sheetWidth, int sheetHeight, bool sheetLandscape)
{
    const int w = sheetWidth;
    const int h = sheetHeight;
    const int hw = w / 2;
    const int hh = h / 2;
    auto edges = [](int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); };
    SheetPlacement placement;
    switch (pagesPerSheet) {
    case gmTwoPage: {
        const bool first = page % 2 == 1;
        if (sheetLandscape)
            placement.cell = first ? edges(0, 0, hw, h) : edges(hw, 0, w, h);
        else
            placement.cell = first ? edges(0, 0, w, hh) : edges(0, hh, w, h);
        const double ratio = double(std::min(w, h)) / std::max(w, h);
        placement.scale = int(std::trunc(ratio * 100));
        break;
    }
    case gmFourPage:
        switch (page % 4) {
        case 1:
            placement.cell = edges(0, 0, hw, hh);
            break;
        case 2:
            placement.cell = edges(hw, 0, w, hh);
            break;
        case 3:
            placement.cell = edges(0, hh, hw, h);
            break;
        default:
            placement.cell = edges(hw, hh, w, h);
            break;
        }
        placement.scale = 49;
        break;
    default:
        placement.cell = edges(0, 0, w, h);
        placement.scale = 100;
        break;
    }
    return placement;
}

bool TGmPrinter::NeedsNewSheet(TGmPagesPerSheet pagesPerSheet, int k)
{
    switch (pagesPerSheet) {
    case gmTwoPage:
        return k % 2 == 0;
    case gmFourPage:
        return k % 4 == 0;
    default:
        return true;
    }
}

void TGmPrinter::placeLogicalPage()
{
    if (!m_painter || !m_painter->isActive())
        return;
    const int w = GmRound(PhysicalWidthInches() * ResolutionX());
    const int h = GmRound(PhysicalHeightInches() * ResolutionY());
    const QMargins borders = UnprintableBorders(m_orientation);
    const SheetPlacement placement
        = PlaceLogicalPage(m_pagesPerSheet, m_logicalPage, w, h, printerOrientation() == gmLandscape);
    // The painter's origin is the printable corner; move it back by the unprintable border so
    // that a page drawn at its own (0, 0) lands on the physical corner of its cell.
    QTransform transform;
    transform.translate(placement.cell.left() - borders.left(), placement.cell.top() - borders.top());
    transform.scale(placement.scale / 100.0, placement.scale / 100.0);
    m_painter->setClipping(false);
    m_painter->setTransform(transform);
}

QPainter *TGmPrinter::Canvas() const
{
    return m_painter && m_painter->isActive() ? m_painter.get() : nullptr;
}

bool TGmPrinter::BeginDoc()
{
    if (!PrinterAvailable()) {
        Dialogs::instance().message(Dialogs::Icon::None, Dialogs::applicationTitle(),
            QStringLiteral("Unable to print... No Printer available."), Dialogs::Buttons::Ok);
        return false;
    }
    if (m_printing)
        return false;
    m_printing = true;
    m_aborted = false;
    const int index = m_printerIndex;
    emit BeforePrint();
    if (m_aborted) {
        // Nobody ends a job that never started, so the wrapper must not stay marked as printing.
        m_printing = false;
        return false;
    }
    if (m_printerIndex != index)
        selectPrinter(m_printerIndex);
    if (m_pagesPerSheet == gmTwoPage)
        m_orientation = m_orientation == gmPortrait ? gmLandscape : gmPortrait;
    m_printer->setPageOrientation(m_orientation == gmLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_settings.orientation = m_orientation == gmLandscape ? 2 : 1;
    applySettings();
    Refresh();
    m_printer->setDocName(m_title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        m_printing = false;
        Dialogs::instance().message(Dialogs::Icon::None, Dialogs::applicationTitle(),
            QStringLiteral("Unable to print... No Printer available."), Dialogs::Buttons::Ok);
        return false;
    }
    m_logicalPage = 1;
    placeLogicalPage();
    return true;
}

void TGmPrinter::NewPage()
{
    if (!Canvas())
        return;
    const int k = m_logicalPage;
    m_logicalPage = k + 1;
    if (NeedsNewSheet(m_pagesPerSheet, k)) {
        m_settings.orientation = m_orientation == gmLandscape ? 2 : 1;
        if (printerOrientation() != m_orientation)
            m_printer->setPageOrientation(
                m_orientation == gmLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        m_printer->newPage();
    }
    placeLogicalPage();
}

void TGmPrinter::AbortDoc()
{
    if (!m_printing)
        return;
    if (m_printer && m_painter && m_painter->isActive())
        m_printer->abort();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_printing = false;
}

void TGmPrinter::EndDoc()
{
    if (!m_printing)
        return;
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_printing = false;
    emit AfterPrint();
}
