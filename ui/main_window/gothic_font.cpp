#include "gothic_font.h"

#include <QString>

namespace hashigoro {

void InstallGothicSubstitutes() {
    QFont::insertSubstitution(QString::fromUtf8(kGothicFamily), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
}

QFont GothicFont(double points, bool bold) {
    QFont font(QString::fromUtf8(kGothicFamily));
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace hashigoro
