#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace kestrun {

namespace {

int MulDivRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator : -denominator) / 2) /
                            denominator);
}

} // namespace

DialogUnits::DialogUnits(const QFont& dialogFont) {
    const QFontMetrics metrics(dialogFont);
    // The average width of the 52 Latin letters, rounded, as dialog layouts measure it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_AverageCharWidth = (letters / 26 + 1) / 2;
    m_CharHeight = metrics.height();
}

int DialogUnits::X(int units) const {
    return MulDivRounded(units, m_AverageCharWidth, 4);
}

int DialogUnits::Y(int units) const {
    return MulDivRounded(units, m_CharHeight, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(X(x), Y(y), X(width), Y(height));
}

QFont DialogFont() {
    if (QFontDatabase::hasFamily(QStringLiteral("Courier"))) {
        return QFont(QStringLiteral("Courier"), 9);
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    return font;
}

QFont FontWithCellHeight(const QFont& base, int cellHeight) {
    QFont font(base);
    for (int size = cellHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight) {
            break;
        }
    }
    return font;
}

} // namespace kestrun
