#include "pages/GmTypes.h"

#include <cmath>

namespace {

struct PaperEntry
{
    const char *name;
    double width;
    double height;
    TGmMeasurement unit;
};

// The sizes are applied exactly as stored, also where they differ from the nominal paper of the
// same name (A5 148.5 mm wide, B4 354 mm high, Envelope_12 and Envelope_14 wider than high).
constexpr PaperEntry kPapers[GmPaperSizeCount] = {
    { "A3", 297, 420, gmMillimeters },
    { "A4", 210, 297, gmMillimeters },
    { "A5", 148.5, 210, gmMillimeters },
    { "A6", 105, 148, gmMillimeters },
    { "B5", 6.92, 9.84, gmInches },
    { "C5", 6.38, 9.02, gmInches },
    { "C6", 114, 162, gmMillimeters },
    { "C65", 114, 229, gmMillimeters },
    { "Legal", 8.5, 14, gmInches },
    { "Letter", 8.5, 11, gmInches },
    { "Custom", 0, 0, gmInches },
    { "B4", 250, 354, gmMillimeters },
    { "Envelope_DL", 110, 220, gmMillimeters },
    { "Envelope_DL_Maxi", 120, 235, gmMillimeters },
    { "Envelope_09", 3.78, 8.78, gmInches },
    { "Envelope_10", 4.18, 9.12, gmInches },
    { "Envelope_11", 4.12, 10.38, gmInches },
    { "Envelope_12", 12.44, 11.0, gmInches },
    { "Envelope_14", 14.5, 11.12, gmInches },
    { "Tabloid", 11, 17, gmInches },
    { "Ledger", 17, 11, gmInches },
    { "Executive", 7.14, 10.12, gmInches },
};

bool validPaper(TGmPaperSize size)
{
    return int(size) >= 0 && int(size) < GmPaperSizeCount;
}

} // namespace

int GmRound(double value)
{
    // nearbyint follows the default rounding mode, which rounds halves to even.
    return int(std::nearbyint(value));
}

double ConvertUnits(TGmMeasurement from, TGmMeasurement to, double x)
{
    if (from == to)
        return x;
    double inches;
    switch (from) {
    case gmUnits:
        inches = x / 100 / 25.4;
        break;
    case gmPixels:
        inches = x / 96;
        break;
    case gmMillimeters:
        inches = x / 25.4;
        break;
    case gmCentimeters:
        inches = x * 10 / 25.4;
        break;
    case gmTwips:
        inches = x / 1440;
        break;
    default:
        inches = x;
        break;
    }
    switch (to) {
    case gmUnits:
        return inches * 25.4 * 100;
    case gmPixels:
        return inches * 96;
    case gmMillimeters:
        return inches * 25.4;
    case gmCentimeters:
        return inches * 25.4 / 10;
    case gmTwips:
        return inches * 1440;
    default:
        return inches;
    }
}

QSizeF PaperSizeInches(TGmPaperSize size)
{
    if (!validPaper(size) || size == Custom)
        return QSizeF();
    const PaperEntry &e = kPapers[size];
    return QSizeF(ConvertUnits(e.unit, gmInches, e.width), ConvertUnits(e.unit, gmInches, e.height));
}

QString PaperSizeName(TGmPaperSize size)
{
    return validPaper(size) ? QString::fromLatin1(kPapers[size].name) : QString();
}

QStringList PaperSizeNames()
{
    QStringList names;
    for (const PaperEntry &e : kPapers)
        names << QString::fromLatin1(e.name);
    return names;
}

TGmPaperSize PaperSizeFromName(const QString &name)
{
    for (int i = 0; i < GmPaperSizeCount; ++i) {
        if (name == QLatin1String(kPapers[i].name))
            return TGmPaperSize(i);
    }
    return Custom;
}
