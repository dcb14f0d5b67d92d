// Stand-ins for the plugin registry and the conversion and tone-mapping code that FreeImage.cpp and the
// rescaler reference. A 24- or 32-bit resize never reaches them; they answer "not done" if anything else does.
#include "FreeImage.h"

void DLL_CALLCONV FreeImage_Initialise(BOOL) {}
void DLL_CALLCONV FreeImage_DeInitialise() {}
FIBITMAP *DLL_CALLCONV FreeImage_Copy(FIBITMAP *, int, int, int, int) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertTo8Bits(FIBITMAP *) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertTo24Bits(FIBITMAP *) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertTo32Bits(FIBITMAP *) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertToGreyscale(FIBITMAP *) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertToRGBF(FIBITMAP *) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ConvertToStandardType(FIBITMAP *, BOOL) { return NULL; }
FIBITMAP *DLL_CALLCONV FreeImage_ToneMapping(FIBITMAP *, FREE_IMAGE_TMO, double, double) { return NULL; }
