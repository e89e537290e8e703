#include "gothic_font.h"

#include "qt_layout.h"

namespace hashigoro {

void InstallGothicSubstitutes() {
    QFont::insertSubstitution(ToQString(layout::kGothicFamily), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
}

QFont GothicFont(double points, bool bold) {
    QFont font(ToQString(layout::kGothicFamily));
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QFont GothicFont(const layout::FontSpec& font) {
    return GothicFont(font.points, font.bold);
}

}  // namespace hashigoro
