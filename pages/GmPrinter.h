#pragma once

#include "pages/GmPrinterInfo.h"
#include "pages/GmTypes.h"

#include <QMargins>
#include <QMarginsF>
#include <QObject>
#include <QRect>
#include <QStringList>

#include <memory>

class QPainter;
class QPaintDevice;
class QPrinter;
class FallbackPrinterDevice;

enum TGmDuplexType { gmSimplex = 0, gmHorzDuplex = 1, gmVertDuplex = 2 };
enum TGmPrintColor { gmColor = 0, gmMonochrome = 1 };
enum TGmDitherType { gmNone = 0, gmCourse = 1, gmFine = 2, gmLineArt = 3, gmGrayScale = 4 };
enum TGmPrintQuality { gmDraft = 0, gmLow = 1, gmMedium = 2, gmHigh = 3 };

// Where one logical page goes on its sheet: the cell in sheet pixels and the scale in percent.
struct SheetPlacement
{
    QRect cell;
    int scale = 100;
};

// The printer of a page list: metrics with a fixed fallback when no printer is usable, the job
// settings, and one, two or four logical pages per printed sheet.
//
// The settings keep the values of the classic device-settings record (collate 0/1, duplex 1/2/3,
// colour 1/2, quality -1..-4, dither 1/2/3/4/10, paper codes); they are handed to Qt's printer as
// far as it has a counterpart:
//   Collate      -> QPrinter::setCollateCopies
//   Duplex       -> QPrinter::setDuplex (vertical = long side, horizontal = short side)
//   PrintCopies  -> QPrinter::setCopyCount
//   PrintColor   -> QPrinter::setColorMode
//   PrintQuality -> the CUPS job option "print-quality" (3 draft and low, 4 medium, 5 high)
//   paper size   -> QPrinter::setPageSize (sizes without a paper code go as a custom size)
//   Orientation  -> QPrinter::setPageOrientation
//   DitherType   -> kept only: CUPS has no dithering option, so it changes nothing here.
// Without any printer a getter gives its default and a setter does nothing.
class TGmPrinter : public QObject
{
    Q_OBJECT

public:
    explicit TGmPrinter(QObject *parent = nullptr);
    ~TGmPrinter() override;

    // Device-settings values (see above).
    struct DeviceSettings
    {
        int collate = 0;
        int duplex = 1;
        int copies = 1;
        int color = 2;
        int dither = 1;
        int quality = -3;
        int paperSize = 9;
        int orientation = 1;
    };

    bool Collate() const;
    void SetCollate(bool collate);
    TGmDuplexType Duplex() const;
    void SetDuplex(TGmDuplexType duplex);
    int PrintCopies() const;
    void SetPrintCopies(int copies);
    TGmPrintColor PrintColor() const;
    void SetPrintColor(TGmPrintColor color);
    TGmDitherType DitherType() const;
    void SetDitherType(TGmDitherType dither);
    TGmPrintQuality PrintQuality() const;
    void SetPrintQuality(TGmPrintQuality quality);
    void SetPaperSize(TGmPaperSize size);
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }
    TGmOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TGmOrientation orientation);
    TGmPagesPerSheet PagesPerSheet() const { return m_pagesPerSheet; }
    void SetPagesPerSheet(TGmPagesPerSheet pages) { m_pagesPerSheet = pages; }
    const DeviceSettings &Settings() const { return m_settings; }

    // Paper codes of the classic printing interface; -1 for sizes without one.
    static int PaperCode(TGmPaperSize size);

    // Metrics; each reads them first when they are not valid yet.
    const TGmPrinterInfo &PrinterInfo();
    // Physical size of the sheet in inches for the printer's current orientation.
    double PhysicalWidthInches();
    double PhysicalHeightInches();
    int ResolutionX();
    int ResolutionY();
    // Printable area in pixels as measured in portrait, or in any unit (current orientation).
    int PrintableWidthPixels();
    int PrintableHeightPixels();
    double PrintableWidth(TGmMeasurement unit);
    double PrintableHeight(TGmMeasurement unit);
    // Unprintable borders (left, top, right, bottom) for an orientation, pixels or inches.
    QMargins UnprintableBorders(TGmOrientation orientation);
    QMarginsF UnprintableBordersInches(TGmOrientation orientation);
    // True when the current printer can be reached.
    bool PrinterAvailable();
    // Re-reads the metrics with the printer set to portrait.
    void Refresh();

    static QStringList Printers();
    // The printer the whole program prints on (the print dialog's and the printer setup's choice,
    // or the command line's): every wrapper follows it. Empty: the system's default printer.
    static QString ProgramPrinter();
    static void SetProgramPrinter(const QString &name);
    int PrinterIndex() const { return m_printerIndex; }
    // Selects a printer with its driver's default settings and re-reads the metrics.
    void SetPrinterIndex(int index);

    // The device pagination measures and draws against: the printer, or when there is none a
    // recording surface with the fallback metrics. Never null.
    QPaintDevice *ReferenceDevice();
    // The printer object itself; null when no printer exists.
    QPrinter *Printer();

    // Starts a job; false (and a message when no printer is usable) when none started.
    bool BeginDoc();
    // Advances to the next logical page, starting a new sheet when needed.
    void NewPage();
    void EndDoc();
    // Ends an aborted or failed job without finishing it: nothing more is sent and the wrapper
    // can start the next job.
    void AbortDoc();
    bool Printing() const { return m_printing; }
    bool Aborted() const { return m_aborted; }
    void SetAborted(bool aborted) { m_aborted = aborted; }
    int LogicalPage() const { return m_logicalPage; }
    // The painter of the running job, set up for the current logical page; null when idle.
    QPainter *Canvas() const;

    // The cell and scale of logical page p on a sheet of W x H pixels.
    static SheetPlacement PlaceLogicalPage(
        TGmPagesPerSheet pagesPerSheet, int page, int sheetWidth, int sheetHeight, bool sheetLandscape);
    // Whether logical page k + 1 begins a new sheet.
    static bool NeedsNewSheet(TGmPagesPerSheet pagesPerSheet, int k);

signals:
    void AfterPrint();
    void BeforePrint();
    void OnAbortPrint();
    void OnChangePrinter();

private:
    bool ensurePrinter();
    void applySettings();
    void resetSettings();
    void selectPrinter(int index);
    void setCupsOption(const QString &name, const QString &value);
    TGmOrientation printerOrientation() const;
    void placeLogicalPage();

    std::unique_ptr<QPrinter> m_printer;
    bool m_printerLooked = false;
    std::unique_ptr<FallbackPrinterDevice> m_fallback;
    std::unique_ptr<QPainter> m_painter;
    TGmPrinterInfo m_info;
    DeviceSettings m_settings;
    QString m_title = QStringLiteral("<document>");
    TGmOrientation m_orientation = gmPortrait;
    TGmPagesPerSheet m_pagesPerSheet = gmOnePage;
    int m_printerIndex = -1;
    quint64 m_programPrinterGeneration = 0;
    bool m_printing = false;
    bool m_aborted = false;
    int m_logicalPage = 0;
};
