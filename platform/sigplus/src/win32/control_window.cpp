#include "control_window.h"

#include "../control_class.h"
#include "../ink_view.h"
#include "module_instance.h"

#include <platform/com_object.h>
#include <platform/unique_handle.h>

#include <algorithm>
#include <string_view>

namespace sigplus {
namespace {

constexpr wchar_t kWindowClass[] = L"ZeraSigPlusPadWindow";

ATOM registerWindowClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = win32::moduleInstance();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassW(&windowClass);
    }();
    return atom;
}

ViewSize clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

ViewPoint positionOf(LPARAM position) {
    // Signed: a captured mouse reports positions left of and above the window.
    return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}

void drawLine(HDC dc, const std::vector<POINT>& points) {
    if (points.empty()) return;
    if (points.size() == 1) {
        // A touch shows as a dot.
        MoveToEx(dc, points[0].x, points[0].y, nullptr);
        LineTo(dc, points[0].x + 1, points[0].y);
        return;
    }
    Polyline(dc, points.data(), static_cast<int>(points.size()));
}

}  // namespace

bool ControlWindow::create(HWND parent, const RECT& position) {
    if (window_ != nullptr) return true;
    if (registerWindowClass(&ControlWindow::procedure) == 0) return false;
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                              position.top, position.right - position.left, position.bottom - position.top, parent,
                              nullptr, win32::moduleInstance(), this);
    return window_ != nullptr;
}

void ControlWindow::destroy() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    penIsDown_ = false;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

bool ControlWindow::move(const RECT& position) {
    return window_ != nullptr && MoveWindow(window_, position.left, position.top, position.right - position.left,
                                            position.bottom - position.top, TRUE);
}

void ControlWindow::invalidate() {
    if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK ControlWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(window, message, wParam, lParam);
}

// Messages come before CreateWindowExW has given the window's handle back.
LRESULT ControlWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data == nullptr || data->dwData != kPenRecordCopyData || penIsDown_) return FALSE;
        if (data->lpData == nullptr) return FALSE;
        const std::string_view record(static_cast<const char*>(data->lpData), data->cbData);
        return SUCCEEDED(control_.takePenRecord(record)) ? TRUE : FALSE;
    }
    case WM_LBUTTONDOWN: penDown(lParam); return 0;
    case WM_MOUSEMOVE:
        if (penIsDown_) penMove(lParam, false);
        return 0;
    case WM_LBUTTONUP:
        if (penIsDown_) penMove(lParam, true);
        return 0;
    case WM_CAPTURECHANGED:
        if (penIsDown_) finishStroke();
        return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers the whole window
    case WM_PAINT: {
        PAINTSTRUCT paintInfo{};
        if (HDC dc = BeginPaint(window, &paintInfo)) {
            paint(dc);
            EndPaint(window, &paintInfo);
        }
        return 0;
    }
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void ControlWindow::paint(HDC dc) {
    const ViewSize view = clientSize(window_);
    const RECT client{0, 0, view.width, view.height};
    const platform::UniqueGdiObject<HBRUSH> background(CreateSolidBrush(control_.backColour()));
    FillRect(dc, &client, background.get());

    // Lines about as thick as a screen pixel shown at the window's size.
    const platform::UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, std::max(1, view.height / kPadScreenHeight), RGB(0, 0, 0)));
    const HGDIOBJ previous = SelectObject(dc, pen.get());
    ControlMembers& members = control_.members();
    const PadWindow window = members.window();
    const ScreenArea area = members.inkArea();
    std::vector<POINT> line;
    for (const Stroke& stroke : members.ink()) {
        line.clear();
        for (const Point& point : stroke) {
            const ViewPoint at = viewPositionOf(point, window, view, area);
            line.push_back({at.x, at.y});
        }
        drawLine(dc, line);
    }
    drawLine(dc, trail_);
    SelectObject(dc, previous);
}

bool ControlWindow::addPoint(LPARAM position) {
    const std::optional<ViewPoint> pixel =
        screenPixelAt(positionOf(position), clientSize(window_), control_.members().inkArea());
    if (!pixel || stroke_.points.size() >= kMaxPenPoints) return false;
    // Message times are milliseconds that wrap; the stroke's never decrease.
    const std::uint32_t elapsed =
        static_cast<std::uint32_t>(GetMessageTime()) - static_cast<std::uint32_t>(strokeStart_);
    const std::uint32_t time =
        stroke_.points.empty() ? 0 : std::clamp(elapsed, stroke_.points.back().timeMs, kMaxScriptMs);
    const PenPoint point{static_cast<std::int16_t>(pixel->x), static_cast<std::int16_t>(pixel->y), time};
    if (!stroke_.points.empty() && stroke_.points.back().x == point.x && stroke_.points.back().y == point.y) {
        return false;
    }
    stroke_.points.push_back(point);
    const ViewPoint at = positionOf(position);
    trail_.push_back({at.x, at.y});
    return true;
}

void ControlWindow::penDown(LPARAM position) {
    if (penIsDown_) return;
    stroke_.points.clear();
    trail_.clear();
    strokeStart_ = GetMessageTime();
    if (!addPoint(position)) return;
    penIsDown_ = true;
    SetCapture(window_);
    invalidate();
    // The container's handler may let go of the control; it stays for the event.
    const platform::ComHold hold(control_);
    control_.firePenDown();
}

void ControlWindow::penMove(LPARAM position, bool lifting) {
    if (addPoint(position)) invalidate();
    if (lifting) finishStroke();
}

void ControlWindow::finishStroke() {
    penIsDown_ = false;
    const PenInput pen = std::move(stroke_);
    stroke_ = {};
    trail_.clear();
    if (GetCapture() == window_) ReleaseCapture();
    const platform::ComHold hold(control_);
    control_.recordPen(pen);
}

void unregisterControlWindowClass() { UnregisterClassW(kWindowClass, win32::moduleInstance()); }

}  // namespace sigplus
