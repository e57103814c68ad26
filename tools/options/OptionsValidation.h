#pragma once

#include <QStringList>

struct StartupOptions;

// The checks the startup-options editor makes before it writes "WordOptions.bin".
namespace OptionsValidation {

constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 1638;
constexpr int MinZoomStep = 1;
constexpr int MaxZoomStep = 11;
constexpr int MinTextColumnWidth = 100;
constexpr int MaxTextColumnWidth = 20000;
constexpr int MaxMargin = 100; // millimetres

// One sentence per problem, in the order of the fields; empty when the options can be written.
QStringList problems(const StartupOptions &options);

} // namespace OptionsValidation
