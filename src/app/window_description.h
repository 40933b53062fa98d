#pragma once
// The main window as data: every control with its name, kind, place, geometry,
// caption or initial content and start-up flags. MainWindow is built from this
// table and the window tests walk it, so each control is described only here.
//
// The off-screen working storage (编辑框9/10/11/14/4/1, 标签1, 超级列表框1) and the
// hidden id holders (编辑框6/7/8/15) are not controls: they live as plain data in
// app::ProgramData.
#include <array>
#include <span>

namespace app {

enum class ControlKind {
    Label,
    LineEdit,       // single-line edit box
    MultiLineEdit,  // multi-line edit box
    Button,
    RadioButton,
    ComboBox,  // drop-down list without free typing
    GroupBox,
    TabControl,
    ProgressBar,
    TransparentLabel,  // transparent background, reacts to a left-button press
    WebBrowser,        // embedded browser navigated at run time
    HtmlViewer,        // browser page with a fixed address, never shown
};

struct Rect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kOnWindow = -1;  // ControlSpec::page of a control not on a tab page
inline constexpr int kNoColor = -1;

struct ControlSpec {
    const char* name;
    ControlKind kind;
    // kOnWindow, or the index of the 选择夹1 page that holds the control.
    int page;
    // The window control that encloses this one (分组框1), or nullptr.
    const char* parent;
    // Window controls: relative to the window's client area (or to `parent`).
    // Page controls: relative to the tab control's top-left corner, the way the
    // pages were drawn; the tab strip sits above every control.
    Rect geometry;
    const char* content;  // caption or initial content, UTF-8 ("" = empty)
    bool visible = true;
    bool enabled = true;
    bool checked = false;           // radio buttons
    int text_rgb = kNoColor;        // 0xRRGGBB
    int background_rgb = kNoColor;  // 0xRRGGBB
    int font_pixels = 0;            // 0: the window's font size
};

struct WindowSpec {
    const char* title;
    Rect outer;  // frame included
};

inline constexpr int kPageCount = 6;

const WindowSpec& window_spec();
std::span<const ControlSpec> control_specs();
// Captions of the 选择夹1 pages, in page order (UTF-8).
const std::array<const char*, kPageCount>& page_captions();
// The row of a control, or nullptr.
const ControlSpec* find_control_spec(const char* name);

}  // namespace app
