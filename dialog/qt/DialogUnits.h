#pragma once

#include <QFont>
#include <QRect>

namespace kestrun {

// Converts dialog template units to pixels by the metrics of the dialog's font: a horizontal
// unit is a quarter of the average character width, a vertical unit an eighth of the character
// height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& dialogFont);

    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_AverageCharWidth;
    int m_CharHeight;
};

// The font of the dialog templates: "Courier" 9 point, or the system's monospace font at 9
// point where there is no Courier.
QFont DialogFont();

// `base` with the largest pixel size whose line height stays within `cellHeight` pixels, as a
// font asked for by its character cell height.
QFont FontWithCellHeight(const QFont& base, int cellHeight);

} // namespace kestrun
