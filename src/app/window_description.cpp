#include "app/window_description.h"

#include <cstring>

namespace app {

namespace {

using K = ControlKind;
constexpr bool kHidden = false;
constexpr bool kDisabled = false;

#define KORVEL_TUTORIAL_GAP "\r\n\r\n"
constexpr const char* kTutorial =
    "关键词排名查询：输入商品链接或商品ID和关键词就可以查询" KORVEL_TUTORIAL_GAP
    "类目排名查询：先选择类目，再输入商品链接或商品ID就可以查询" KORVEL_TUTORIAL_GAP
    "爱逛街排名查询：先选择类目，再输入商品链接或商品ID就可以查询" KORVEL_TUTORIAL_GAP
    "新品排名查询：直接输入商品链接或商品ID就可以查询" KORVEL_TUTORIAL_GAP
    "排名看板：点下方的“排名看板”，把本店商品、竞品、关键词\r\n"
    "和类目放进一个看板，定时检查，看排名走势和变动通知";
#undef KORVEL_TUTORIAL_GAP

constexpr WindowSpec kWindow{"Korvel", {50, 50, 454, 484}};

constexpr std::array<const char*, kPageCount> kPages{
    "关键词排名", "类目排名", "爱逛街排名", "新品排名", "更多工具", "文字教程",
};

constexpr ControlSpec kControls[] = {
    // On the window.
    {"分组框1", K::GroupBox, kOnWindow, nullptr, {8, 8, 432, 96}, "公告"},
    {"编辑框20",
     K::MultiLineEdit,
     kOnWindow,
     "分组框1",
     {8, 16, 416, 72},
     "",
     true,
     true,
     false,
     0xFF0000,
     0xFFFFFF},
    {"选择夹1", K::TabControl, kOnWindow, nullptr, {9, 107, 431, 336}, ""},
    {"进度条1", K::ProgressBar, kOnWindow, nullptr, {0, 448, 456, 8}, "", kHidden},
    {"超文本浏览框1", K::HtmlViewer, kOnWindow, nullptr, {848, 8, 144, 176}, ""},

    // Page 0, 关键词排名.
    {"单选框综合", K::RadioButton, 0, nullptr, {13, 34, 75, 24}, "综合排序", true, true, true},
    {"单选框销量", K::RadioButton, 0, nullptr, {88, 34, 72, 24}, "销量排序"},
    {"单选框评分", K::RadioButton, 0, nullptr, {160, 34, 72, 24}, "评分排序"},
    {"单选框价格低", K::RadioButton, 0, nullptr, {232, 34, 96, 24}, "价格从低到高"},
    {"单选框价格高", K::RadioButton, 0, nullptr, {327, 34, 96, 24}, "价格从高到低"},
    {"标签2", K::Label, 0, nullptr, {10, 79, 92, 16}, "链接或商品ID："},
    {"编辑框2", K::LineEdit, 0, nullptr, {107, 77, 252, 24}, "4033138"},
    {"按钮关键词排名搜索", K::Button, 0, nullptr, {364, 77, 54, 24}, "查询"},
    {"标签3", K::Label, 0, nullptr, {51, 113, 48, 16}, "关键词："},
    {"编辑框3",
     K::MultiLineEdit,
     0,
     nullptr,
     {107, 109, 144, 91},
     "辣条大礼包\r\n辣条\r\n辣条礼包"},
    {"标签6", K::Label, 0, nullptr, {267, 144, 88, 24}, "一行一个关键词"},
    {"标签7", K::Label, 0, nullptr, {61, 253, 32, 24}, "结果："},
    {"编辑框5", K::MultiLineEdit, 0, nullptr, {106, 206, 248, 122}, ""},

    // Page 1, 类目排名.
    {"标签4", K::Label, 1, nullptr, {8, 51, 34, 16}, "类目："},
    {"组合框1", K::ComboBox, 1, nullptr, {45, 50, 67, 20}, ""},
    {"标签5", K::Label, 1, nullptr, {119, 52, 22, 16}, ">>>"},
    {"组合框2", K::ComboBox, 1, nullptr, {149, 50, 114, 20}, ""},
    {"标签8", K::Label, 1, nullptr, {276, 52, 22, 16}, ">>>"},
    {"组合框3", K::ComboBox, 1, nullptr, {311, 50, 104, 20}, ""},
    {"标签9", K::Label, 1, nullptr, {9, 88, 79, 16}, "链接或商品ID："},
    {"编辑框12", K::LineEdit, 1, nullptr, {95, 85, 248, 24}, ""},
    {"按钮类目排名搜索", K::Button, 1, nullptr, {346, 85, 67, 24}, "查询"},
    {"标签13", K::Label, 1, nullptr, {20, 135, 56, 16}, "店铺名称："},
    {"标签12", K::Label, 1, nullptr, {84, 132, 132, 24}, ""},
    {"透明标签1",
     K::TransparentLabel,
     1,
     nullptr,
     {227, 133, 201, 24},
     "获取类目失败，点击这里重新获取…",
     kHidden,
     kDisabled},
    {"标签10", K::Label, 1, nullptr, {20, 177, 56, 16}, "商品名称："},
    {"标签11", K::Label, 1, nullptr, {84, 174, 331, 24}, ""},
    {"标签20", K::Label, 1, nullptr, {31, 262, 36, 24}, "结果："},
    {"编辑框13", K::MultiLineEdit, 1, nullptr, {87, 226, 328, 102}, ""},

    // Page 2, 爱逛街排名.
    {"标签14", K::Label, 2, nullptr, {6, 45, 70, 24}, "爱逛街标签："},
    {"组合框4", K::ComboBox, 2, nullptr, {77, 48, 61, 20}, ""},
    {"标签15", K::Label, 2, nullptr, {142, 51, 77, 16}, "链接或商品ID："},
    {"编辑框16", K::LineEdit, 2, nullptr, {220, 48, 131, 24}, ""},
    {"按钮爱逛街查询", K::Button, 2, nullptr, {354, 48, 64, 24}, "查询"},
    {"标签17", K::Label, 2, nullptr, {13, 100, 56, 16}, "店铺名称："},
    {"标签16", K::Label, 2, nullptr, {77, 97, 131, 24}, ""},
    {"透明标签2",
     K::TransparentLabel,
     2,
     nullptr,
     {212, 99, 216, 24},
     "获取类目失败，点击这里重新获取…",
     kHidden,
     kDisabled},
    {"标签18", K::Label, 2, nullptr, {13, 148, 56, 16}, "商品名称："},
    {"标签19", K::Label, 2, nullptr, {77, 145, 338, 24}, ""},
    {"标签21", K::Label, 2, nullptr, {23, 248, 32, 24}, "结果："},
    {"编辑框17", K::MultiLineEdit, 2, nullptr, {77, 184, 338, 144}, ""},

    // Page 3, 新品排名.
    {"标签22", K::Label, 3, nullptr, {11, 53, 77, 16}, "链接或商品ID："},
    {"编辑框18", K::LineEdit, 3, nullptr, {92, 50, 243, 24}, ""},
    {"按钮新品查询", K::Button, 3, nullptr, {344, 50, 64, 24}, "查询"},
    {"标签23", K::Label, 3, nullptr, {16, 108, 56, 16}, "店铺名称："},
    {"标签24", K::Label, 3, nullptr, {80, 105, 132, 24}, ""},
    {"标签25", K::Label, 3, nullptr, {16, 157, 56, 16}, "商品名称："},
    {"标签26", K::Label, 3, nullptr, {80, 154, 331, 24}, ""},
    {"标签27", K::Label, 3, nullptr, {24, 252, 36, 24}, "结果："},
    {"编辑框19", K::MultiLineEdit, 3, nullptr, {80, 216, 327, 102}, ""},

    // Page 4, 更多工具: navigated by the start-up sequence.
    {"Tovin网页框1", K::WebBrowser, 4, nullptr, {7, 32, 416, 296}, ""},

    // Page 5, 文字教程.
    // Ten lines (six of text, four empty) must fit 216 pixels; the label does not wrap.
    {"标签28",
     K::Label,
     5,
     nullptr,
     {23, 69, 368, 216},
     kTutorial,
     true,
     true,
     false,
     kNoColor,
     kNoColor,
     11},
};

}  // namespace

const WindowSpec& window_spec() {
    return kWindow;
}

std::span<const ControlSpec> control_specs() {
    return kControls;
}

const std::array<const char*, kPageCount>& page_captions() {
    return kPages;
}

const ControlSpec* find_control_spec(const char* name) {
    for (const ControlSpec& spec : kControls) {
        if (std::strcmp(spec.name, name) == 0)
            return &spec;
    }
    return nullptr;
}

}  // namespace app
