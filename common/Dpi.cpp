#include "Dpi.h"

#include "Handles.h"

namespace {

template <typename Function>
Function User32(const char *name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), name)));
}

int32_t SystemDpi() {
    using GetDpiForSystemFn = UINT(WINAPI *)();
    static const auto getDpiForSystem = User32<GetDpiForSystemFn>("GetDpiForSystem");
    if (getDpiForSystem != nullptr)
        return static_cast<int32_t>(getDpiForSystem());
    const WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

}  // namespace

int32_t WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
    static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = window != nullptr && getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi > 0 ? static_cast<int32_t>(dpi) : SystemDpi();
}

RECT WindowRectForClient(RECT client, DWORD style, bool menu, DWORD exStyle, int32_t dpi) {
    using AdjustFn = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = User32<AdjustFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi == nullptr || !adjustForDpi(&client, style, menu, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&client, style, menu, exStyle);
    return client;
}

int32_t SystemMetricForDpi(int index, int32_t dpi) {
    using MetricFn = int(WINAPI *)(int, UINT);
    static const auto metricForDpi = User32<MetricFn>("GetSystemMetricsForDpi");
    if (metricForDpi != nullptr)
        return metricForDpi(index, static_cast<UINT>(dpi));
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

LOGFONTW MessageFontForDpi(int32_t dpi) {
    using ParametersFn = BOOL(WINAPI *)(UINT, UINT, void *, UINT, UINT);
    static const auto parametersForDpi = User32<ParametersFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi != nullptr &&
        parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return metrics.lfMessageFont;
}

void MoveToSuggested(HWND window, LPARAM lParam) {
    const auto *suggested = reinterpret_cast<const RECT *>(lParam);
    if (suggested != nullptr)
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}
