#pragma once

#include <QSize>
#include <QString>

// The zoom steps of a document window. The zoom narrows the text column by giving back part of
// the side panels' width: at each step a fraction k of the panels' total width at 100 % goes to
// the text. Wide screens (width / height at least 1.5) have steps 1 to 11, others 1 to 6.
class DocumentZoom
{
public:
    struct Step
    {
        int numerator = 0; // 0 / 0: the control's zoom is off
        int denominator = 0;
        double k = 0;
        const char *text = "";
    };
    struct Applied
    {
        bool changed = false; // false when the step was out of range and only clamped
        int step = 1;
        int panelWidth = 0; // each of the two side panels
        int numerator = 0;
        int denominator = 0;
        QString text;
    };

    static bool isWideScreen(const QSize &screen);
    static int lastStep(const QSize &screen);
    static Step step(const QSize &screen, int step);

    // Clamps `step` to the table; a step that had to be clamped changes nothing else.
    static Applied apply(int step, int sideMarginWidth, const QSize &screen);
};
