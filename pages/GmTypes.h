#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

// Shared enumerations and helpers of the page engine. Every length of the engine is kept in
// inches and converted on demand.

enum TGmMeasurement {
    gmUnits = 0, // hundredths of a millimetre
    gmPixels = 1, // screen pixels at a fixed 96 per inch (never the real screen resolution)
    gmMillimeters = 2,
    gmCentimeters = 3,
    gmInches = 4, // the storage unit
    gmTwips = 5 // twentieths of a point
};

enum TGmPaperSize {
    A3 = 0,
    A4 = 1,
    A5 = 2,
    A6 = 3,
    B5 = 4,
    C5 = 5,
    C6 = 6,
    C65 = 7,
    Legal = 8,
    Letter = 9,
    Custom = 10,
    B4 = 11,
    Envelope_DL = 12,
    Envelope_DL_Maxi = 13,
    Envelope_09 = 14,
    Envelope_10 = 15,
    Envelope_11 = 16,
    Envelope_12 = 17,
    Envelope_14 = 18,
    Tabloid = 19,
    Ledger = 20,
    Executive = 21
};
constexpr int GmPaperSizeCount = 22;

enum TGmOrientation { gmPortrait = 0, gmLandscape = 1 };

enum TGmPagesPerSheet { gmOnePage = 0, gmTwoPage = 1, gmFourPage = 2 };

// Where recorded coordinates are measured from (only gmFromPage is used by the program).
enum TGmCoordsRelative { gmFromPage = 0, gmFromPrinterMargins = 1, gmFromUserMargins = 2, gmFromHeaderLine = 3 };

// Rounds to the nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
int GmRound(double value);

// Converts x from one unit to another through inches; equal units return x untouched.
double ConvertUnits(TGmMeasurement from, TGmMeasurement to, double x);

// The size of a paper in portrait as the table stores it, converted to inches. Custom has none
// and gives an empty size.
QSizeF PaperSizeInches(TGmPaperSize size);
// Display names, exactly as the paper pickers show them, in value order.
QString PaperSizeName(TGmPaperSize size);
QStringList PaperSizeNames();
// Exact comparison; an unknown name gives Custom.
TGmPaperSize PaperSizeFromName(const QString &name);
