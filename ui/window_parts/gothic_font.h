#pragma once

#include <QFont>

#include "window_layout.h"

namespace hashigoro {

// Maps "ＭＳ Ｐゴシック" and its Latin name "MS PGothic" to IPAPGothic, the metric-compatible
// proportional gothic on Debian. Without it Qt silently falls back to a Latin font with
// borrowed glyphs. Call once, before any widget is made.
void InstallGothicSubstitutes();

// "ＭＳ Ｐゴシック" at `points` (11.25 or 15.75), weight 700 when `bold`, else 400.
QFont GothicFont(double points, bool bold);
QFont GothicFont(const layout::FontSpec& font);

}  // namespace hashigoro
