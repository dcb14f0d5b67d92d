#include "TabStrip.h"

#include <limits>

namespace {

constexpr double kQuarter = 1.57;
constexpr double kHalf = 3.14;

bool Fits16(int value) {
    return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

// Floor division, so a caption half a pixel left of centre lands on the same pixel whatever its sign.
int HalfDown(int value) {
    return value >= 0 ? value / 2 : -((1 - value) / 2);
}

class Painter {
public:
    Painter(const TabLook &look, const TabMetrics &metrics, std::vector<DrawOp> &ops)
        : m_look(look), m_metrics(metrics), m_ops(ops), S(look.SpacingSides), T(look.SpacingTop),
          H(metrics.height), W(metrics.width) {}

    void Background() {
        m_ops.push_back({.kind = DrawKind::Clear, .color = m_look.BackColor});
        Line(0, H - 1, W, H - 1, m_look.BorderColorSelected);
    }

    void Unselected(int16_t caption, int16_t selected, int x, int w) {
        if (m_look.Style == 0) {
            // The first tab and the one right of the selected tab have no separator.
            if (caption != 0 && caption != selected + 1) {
                Line(x, H - 5, x, T + 5, m_look.BorderColor);
                Line(x + 1, H - 5, x + 1, T + 5, m_look.BorderShadowColor);
            }
        } else if (m_look.Style == 1) {
            Line(x, H - 2, x + S, T + 5, m_look.BorderColor);
            Line(x + S, T + 5, x + S + w, T + 5, m_look.BorderColor);
            Line(x + S + w, T + 5, x + 2 * S + w, H - 1, m_look.BorderColor);
            Line(x + S + 1, T + 6, x + S + w - 1, T + 6, m_look.BorderShadowColor);
            Line(x + S + w - 1, T + 5, x + 2 * S + w - 1, H - 1, m_look.BorderShadowColor);
            Line(x + S, T + 5, x + S + w, T + 5, m_look.BorderColor);
            Fill(x + 2, H - 2, m_look.BackColorNormal);
        }
        Caption(caption, x, w, m_look.ForeColor);
    }

    void Selected(int16_t caption, int x, int w) {
        const uint32_t border = m_look.BorderColorSelected;
        const uint32_t shadow = m_look.BorderShadowColorSelected;
        const uint32_t fill = m_look.BackColorSelected;
        if (m_look.Style == 0) {
            Line(x, H - 1, x, T + 5, border);
            Arc(x + 4, T + 8, kQuarter, kHalf, border);
            Line(x + 4, T + 4, x + 4 + w + 2 * S, T + 4, border);
            Arc(x + 2 + w + 2 * S, T + 8, 0, kQuarter, border);
            Line(x + 6 + w + 2 * S, T + 8, x + 16 + w + 2 * S, H - 1, border);
            Fill(x + 2, H - 2, fill);
            Line(x, H - 1, x + 16 + w + 2 * S, H - 1, fill);  // opens the base line under the tab
            Line(x + 4, T + 5, x + 4 + w + 2 * S, T + 5, shadow);
            Line(x + 5 + w + 2 * S, T + 8, x + 15 + w + 2 * S, H - 1, shadow);
        } else if (m_look.Style == 1) {
            Line(x, H - 1, x + S, T + 5, border);
            Line(x + S, T + 5, x + S + w, T + 5, border);
            Line(x + S + w, T + 5, x + 2 * S + w, H - 1, border);
            Line(x, H - 1, x + 2 * S + w, H - 1, fill);
            Line(x + S + 1, T + 6, x + S + w - 1, T + 6, shadow);
            Line(x + S + w - 1, T + 5, x + 2 * S + w - 1, H - 1, shadow);
            Line(x + S, T + 5, x + S + w, T + 5, border);
            Fill(x + w - 2, H - 2, fill);
        }
        Caption(caption, x, w, m_look.ForeColorSelected);
    }

private:
    void Line(int x1, int y1, int x2, int y2, uint32_t color) {
        m_ops.push_back({.kind = DrawKind::Line, .color = color, .x = x1, .y = y1, .toX = x2, .toY = y2});
    }
    void Arc(int cx, int cy, double from, double to, uint32_t color) {
        m_ops.push_back({.kind = DrawKind::Arc, .color = color, .x = cx, .y = cy, .radius = 4, .from = from, .to = to});
    }
    void Fill(int x, int y, uint32_t color) { m_ops.push_back({.kind = DrawKind::Fill, .color = color, .x = x, .y = y}); }
    // Centred on the tab's middle: (2x + w + 6 + 2S) / 2 - tw / 2, rounded down; its foot D above the bottom.
    void Caption(int16_t caption, int x, int w, uint32_t color) {
        const size_t i = static_cast<size_t>(caption);
        const int tw = i < m_metrics.textWidths.size() ? m_metrics.textWidths[i] : 0;
        m_ops.push_back({.kind = DrawKind::Caption,
                         .color = color,
                         .x = HalfDown(2 * x + w + 6 + 2 * S - tw),
                         .y = H - m_look.SpacingDown - m_metrics.textHeight,
                         .caption = caption});
    }

    const TabLook &m_look;
    const TabMetrics &m_metrics;
    std::vector<DrawOp> &m_ops;
    const int S, T, H, W;
};

}  // namespace

std::string TabStrip::List(int16_t index) const {
    return index >= 0 && index < ListCount() ? m_items[static_cast<size_t>(index)] : std::string();
}

bool TabStrip::SetList(int16_t index, std::string caption) {
    if (index < 0 || index >= ListCount())
        return false;
    m_items[static_cast<size_t>(index)] = std::move(caption);
    return true;
}

std::optional<std::vector<DrawOp>> TabStrip::reDraw(int16_t index, const TabMetrics &metrics) {
    if (m_items.empty())
        return std::nullopt;
    m_listIndex = index;
    std::vector<DrawOp> ops;
    Painter painter(look, metrics, ops);
    painter.Background();

    const int S = look.SpacingSides;
    int x = S;
    // When the index matches no caption, the selected shape goes to x 0 with width 0, captioned with caption 0.
    int selectedX = 0;
    int selectedW = 0;
    int16_t selectedCaption = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const int tw = i < metrics.textWidths.size() ? metrics.textWidths[i] : 0;
        const int w = S * 2 + tw;
        const int span = w + S * 2 + 18;
        if (!Fits16(w) || !Fits16(span))
            return ops;
        // Entries past the last caption stay as they were.
        if (i < m_lefts.size()) {
            m_lefts[i] = static_cast<int16_t>(x);
            m_spans[i] = static_cast<int16_t>(span);
        } else {
            m_lefts.push_back(static_cast<int16_t>(x));
            m_spans.push_back(static_cast<int16_t>(span));
        }
        const auto caption = static_cast<int16_t>(i);
        if (caption == index) {
            selectedX = x;
            selectedW = w;
            selectedCaption = caption;
        } else {
            painter.Unselected(caption, index, x, w);
        }
        const int next = look.Style == 0 ? x + w + S * 2 + 18 : look.Style == 1 ? x + w + S * 2 : x;
        if (!Fits16(next))
            return ops;
        x = next;
    }
    painter.Selected(selectedCaption, selectedX, selectedW);
    return ops;
}

std::optional<int16_t> TabStrip::HitTest(int x) const {
    const size_t n = m_lefts.size();
    std::optional<int16_t> hit;
    // The loop runs to its end; a later hit wins, as each one redraws in turn.
    for (size_t k = 1; k < n; ++k) {
        if (m_lefts[k - 1] < x && x < m_lefts[k])
            hit = static_cast<int16_t>(k - 1);
        else if (k == n - 1 && m_lefts[n - 1] < x && x < m_lefts[n - 1] + m_spans[n - 1])
            hit = static_cast<int16_t>(n - 1);
    }
    return hit;
}
