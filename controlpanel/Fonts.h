// The panel's fonts by face and point size, with Tahoma standing in for a face that is not installed.
#pragma once
#include "Handles.h"
#include "core/Dpi.h"

#include <windows.h>

// `centiPoints`: the size in hundredths of a point (825 for 8.25 pt), at `dpi` dots per inch.
LOGFONTA PointLogFont(const char *face, int centiPoints, bool bold, int dpi);
GdiObject<HFONT> PointFont(const char *face, int centiPoints, bool bold, int dpi);
