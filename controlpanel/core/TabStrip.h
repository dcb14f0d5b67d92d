// The tab strip without a window: its captions, the tab lefts and spans, the selected index, and the
// lines, arcs, fills and captions one repaint draws. The window measures the text and carries out the list.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Colours are 0x00BBGGRR, or 0x80000000 + a system colour index. The values are those the strip is created with.
struct TabLook {
    uint32_t BackColor = 0x8000000D;
    uint32_t BackColorNormal = 0x8000000D;
    uint32_t BackColorSelected = 0x8000000F;
    uint32_t ForeColor = 0xFFFFFF;
    uint32_t ForeColorSelected = 0;
    uint32_t BorderColor = 0x404040;
    uint32_t BorderShadowColor = 0x8000000F;
    uint32_t BorderColorSelected = 0;
    uint32_t BorderShadowColorSelected = 0x80000010;
    int32_t Style = 0;  // 0 rounded selected tab with separators, 1 trapezoids, others captions only
    int16_t SpacingTop = 0;
    int16_t SpacingDown = 3;
    int16_t SpacingSides = 10;
};

enum class DrawKind { Clear, Line, Arc, Fill, Caption };

// One drawing step. Line: from (x, y) up to, not including, (toX, toY). Arc: centre (x, y), `radius`, from
// angle `from` to `to` (radians, 0 pointing right, counter-clockwise). Fill: flood the surface of the colour
// found at (x, y). Caption: text `caption` with its top left at (x, y). Clear: the whole surface.
struct DrawOp {
    DrawKind kind = DrawKind::Clear;
    uint32_t color = 0;
    int x = 0;
    int y = 0;
    int toX = 0;
    int toY = 0;
    int radius = 0;
    double from = 0;
    double to = 0;
    int16_t caption = 0;
    bool operator==(const DrawOp &) const = default;
};

// What the window measures for a repaint: each caption's text width, the height of "H", the surface size.
struct TabMetrics {
    std::vector<int> textWidths;
    int textHeight = 0;
    int width = 0;
    int height = 0;
};

class TabStrip {
public:
    TabLook look;

    void AddItem(std::string caption) { m_items.push_back(std::move(caption)); }
    // Empty past the end.
    std::string List(int16_t index) const;
    // Replaces the caption in place; false (nothing changed) outside the list.
    bool SetList(int16_t index, std::string caption);
    int16_t ListCount() const { return static_cast<int16_t>(m_items.size()); }
    const std::vector<std::string> &Items() const { return m_items; }
    int16_t ListIndex() const { return m_listIndex; }
    const std::vector<int16_t> &TabLefts() const { return m_lefts; }
    const std::vector<int16_t> &TabSpans() const { return m_spans; }

    // Selects `index` and lays the strip out anew. Without captions nothing happens at all (no selection
    // either) and the answer is empty. The arithmetic is 16-bit: a value that leaves that range ends the
    // repaint there, with what was laid out so far.
    std::optional<std::vector<DrawOp>> reDraw(int16_t index, const TabMetrics &metrics);
    // The tab a press at surface x selects: strictly inside a tab's range; none for a single caption.
    std::optional<int16_t> HitTest(int x) const;

private:
    std::vector<std::string> m_items;
    std::vector<int16_t> m_lefts;
    std::vector<int16_t> m_spans;
    int16_t m_listIndex = 0;
};
