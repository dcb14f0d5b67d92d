#include "PopupLayout.h"

#include <algorithm>

namespace {

std::string Padded(size_t before, std::string_view name, size_t after) {
    std::string text(before, ' ');
    text.append(name);
    text.append(after, ' ');
    return text;
}

}  // namespace

std::string PopupMeasuredText(std::string_view name) {
    return Padded(2, name, 3);
}

std::string PopupRowText(std::string_view name) {
    return Padded(1, name, 1);
}

PopupLayout LayoutPopup(const std::array<std::string, 4> &names, const TextMeasure &measure, int32_t maxWidth) {
    PopupLayout layout;
    for (const std::string &name : names) {
        // Strictly greater: a tie keeps the earlier name.
        const int32_t width = measure(PopupMeasuredText(name)).width;
        if (width > layout.widest)
            layout.widest = width;
        const int32_t height = measure(name).height;
        if (height > layout.tallest)
            layout.tallest = height;
    }
    if (maxWidth > 0)
        layout.widest = std::max(0, std::min(layout.widest, maxWidth - BadgeWidth - 2 * PopupMargin));
    layout.textTop = RoundHalfEven(PopupRowHeight / 2.0 - layout.tallest / 2.0);
    for (size_t i = 0; i < layout.rows.size(); ++i) {
        layout.rows[i] = {PopupMargin, PopupMargin + static_cast<int32_t>(i % 4) * PopupRowHeight,
                          BadgeWidth + layout.widest, PopupRowHeight};
    }
    layout.width = layout.widest + BadgeWidth + 2 * PopupMargin;
    layout.height = 4 * PopupRowHeight + 2 * PopupMargin;
    return layout;
}

Box PixelsFromTwips(const Box &twips, int32_t dpi) {
    return {PixelsFromTwips(twips.left, dpi), PixelsFromTwips(twips.top, dpi), PixelsFromTwips(twips.width, dpi),
            PixelsFromTwips(twips.height, dpi)};
}

RowVisibility HoverRows(const RowVisibility &now, int16_t index) {
    if (index < 4 || index > 7)
        return now;
    RowVisibility rows{};
    for (int16_t j = 0; j < 4; ++j)
        rows[static_cast<size_t>(j)] = j == index % 4;
    for (int16_t j = 4; j < 8; ++j)
        rows[static_cast<size_t>(j)] = j != index;
    return rows;
}
