#include "editor/DocumentZoom.h"

#include <array>
#include <cmath>

namespace {

constexpr std::array<DocumentZoom::Step, 11> kWide = { {
    { 0, 0, 0, "Zoom Factor: 100% - Minimum" },
    { 11, 10, 0.1, "Zoom Factor: 110%" },
    { 6, 5, 0.15, "Zoom Factor: 120%" },
    { 13, 10, 0.2, "Zoom Factor: 130%" },
    { 7, 5, 0.25, "Zoom Factor: 140%" },
    { 3, 2, 0.3, "Zoom Factor: 150%" },
    { 8, 5, 0.355, "Zoom Factor: 160%" },
    { 17, 10, 0.45, "Zoom Factor: 170%" },
    { 9, 5, 0.5, "Zoom Factor: 180%" },
    { 19, 10, 0.6, "Zoom Factor: 190%" },
    { 2, 1, 0.65, "Zoom Factor: 200% - Maximum" },
} };

constexpr std::array<DocumentZoom::Step, 6> kNarrow = { {
    { 0, 0, 0, "Zoom Factor: 100% - Minimum" },
    { 11, 10, 0.2, "Zoom Factor: 110%" },
    { 6, 5, 0.3, "Zoom Factor: 120%" },
    { 13, 10, 0.42, "Zoom Factor: 130%" },
    { 7, 5, 0.56, "Zoom Factor: 140%" },
    { 3, 2, 0.68, "Zoom Factor: 150% - Maximum" },
} };

} // namespace

bool DocumentZoom::isWideScreen(const QSize &screen)
{
    return screen.height() > 0 && double(screen.width()) / double(screen.height()) >= 1.5;
}

int DocumentZoom::lastStep(const QSize &screen)
{
    return isWideScreen(screen) ? int(kWide.size()) : int(kNarrow.size());
}

DocumentZoom::Step DocumentZoom::step(const QSize &screen, int step)
{
    return isWideScreen(screen) ? kWide.at(size_t(step - 1)) : kNarrow.at(size_t(step - 1));
}

DocumentZoom::Applied DocumentZoom::apply(int requested, int sideMarginWidth, const QSize &screen)
{
    Applied applied;
    const int last = lastStep(screen);
    if (requested < 1 || requested > last) {
        applied.step = requested < 1 ? 1 : last;
        return applied;
    }
    const Step s = step(screen, requested);
    applied.changed = true;
    applied.step = requested;
    // The fractions are decimal; a tiny allowance keeps 920 x 0.3 at 276 despite binary rounding.
    applied.panelWidth
        = requested == 1 ? sideMarginWidth / 2 : (sideMarginWidth - int(std::trunc(sideMarginWidth * s.k + 1e-9))) / 2;
    applied.numerator = s.numerator;
    applied.denominator = s.denominator;
    applied.text = QString::fromLatin1(s.text);
    return applied;
}
