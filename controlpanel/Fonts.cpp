#include "Fonts.h"


#include <cstring>

namespace {

int CALLBACK FaceFound(const LOGFONTA *, const TEXTMETRICA *, DWORD, LPARAM found) {
    *reinterpret_cast<bool *>(found) = true;
    return 0;
}

bool FaceInstalled(HDC dc, const char *face) {
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::strncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    ::EnumFontFamiliesExA(dc, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Verdana is missing on some systems; Tahoma is the panel's own face. Where Tahoma is missing too, a narrow
// sans-serif face keeps the captions inside their fixed sizes; failing that, the font mapper chooses.
const char *InstalledFace(HDC dc, const char *face) {
    for (const char *candidate : {face, "Tahoma", "Arial Narrow", "Liberation Sans Narrow", "DejaVu Sans Condensed"})
        if (FaceInstalled(dc, candidate))
            return candidate;
    return "Tahoma";
}

}  // namespace

LOGFONTA PointLogFont(const char *face, int centiPoints, bool bold, int dpi) {
    WindowDC screen(nullptr);
    LOGFONTA font = {};
    font.lfHeight = FontHeightForDpi(centiPoints, dpi);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    ::strncpy(font.lfFaceName, InstalledFace(screen.Get(), face), LF_FACESIZE - 1);
    return font;
}

GdiObject<HFONT> PointFont(const char *face, int centiPoints, bool bold, int dpi) {
    const LOGFONTA font = PointLogFont(face, centiPoints, bold, dpi);
    return GdiObject<HFONT>(::CreateFontIndirectA(&font));
}
