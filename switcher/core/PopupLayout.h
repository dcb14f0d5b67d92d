// The popup's rows: their places and sizes from the widths of the desktop names (in twips, 1/1440 inch, as the
// rows are measured), and which of each row's two looks is seen. Pure: no Windows header.
#pragma once
#include "Geometry.h"
#include "core/Dpi.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr int32_t PopupMargin = 50;      // twips around the column of rows
inline constexpr int32_t PopupRowHeight = 450;  // twips: the badge's height
inline constexpr int32_t BadgeWidth = 915;      // twips: 61 pixels at 96 dots per inch
inline constexpr int32_t BadgeHeight = 450;

struct TextSize {
    int32_t width = 0, height = 0;
};
// Measures a text in the rows' font, in twips.
using TextMeasure = std::function<TextSize(std::string_view)>;

// The text measured for a row's width, and the text drawn into the row.
std::string PopupMeasuredText(std::string_view name);
std::string PopupRowText(std::string_view name);

struct PopupLayout {
    int32_t widest = 0;                   // W: the widest measured text; the badges' left edge inside the rows
    int32_t tallest = 0;                  // H: the tallest name
    int32_t textTop = 0;                  // where the text is drawn in a row: centred on the row's height
    std::array<Box, 8> rows{};            // row box i shows desktop i mod 4 + 1; 0..3 highlighted, 4..7 normal
    int32_t width = 0, height = 0;        // the window
};
// The window is at most `maxWidth` twips wide (0: no limit): the text part of the rows is narrowed to fit, and
// the names that no longer fit are drawn ending in an ellipsis.
PopupLayout LayoutPopup(const std::array<std::string, 4> &names, const TextMeasure &measure, int32_t maxWidth = 0);

// A box in twips as whole pixels at `dpi`, each value to the nearest, halves to the even one.
Box PixelsFromTwips(const Box &twips, int32_t dpi);

// Which of the eight row boxes are visible (0..3 the highlighted looks, 4..7 the normal ones).
using RowVisibility = std::array<bool, 8>;
inline constexpr RowVisibility NormalRows = {false, false, false, false, true, true, true, true};
// The pointer over row box `index`: its row shows the highlighted look, every other row the normal one. Over
// a box that is already a highlighted look nothing changes.
RowVisibility HoverRows(const RowVisibility &now, int16_t index);
// The desktop of row box `index` (0..7).
inline int16_t RowDesktop(int16_t index) {
    return static_cast<int16_t>(index % 4 + 1);
}
