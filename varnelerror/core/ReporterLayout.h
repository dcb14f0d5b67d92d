// Where the reporter's icon, text and button go, in pixels, from the message font's line height.
#pragma once

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box &) const = default;
};

struct ReporterLayout {
    Box icon;
    Box text;
    Box button;
    int clientWidth = 0;
    int clientHeight = 0;
    bool operator==(const ReporterLayout &) const = default;
};

// The width the text is wrapped to: about sixty characters of the font.
int TextWrapWidth(int lineHeight);
// The text box is `textHeight` tall when wrapped at TextWrapWidth, but never more than `maxTextHeight`.
ReporterLayout LayoutReporter(int lineHeight, int iconSize, int textHeight, int maxTextHeight);
// `window` moved (not resized) as little as needed to lie inside `area`; its top left stays inside when it is larger.
Box KeepInside(Box window, Box area);
