// The kinds of containers and controls a menu styler may theme, their sets, and the class
// names the styler recognises.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tintmark::menus {

enum TStyledContainer {
    sccForm, sccFrame, sccToolbar, sccCoolbar, sccControlbar, sccPanel, sccScrollBox, sccGroupBox,
    sccTabSheet, sccPageScroller
};
enum TStyledControl {
    scMainMenu, scPopupMenu, scToolbar, scControlbar, scCombo, scListBox, scEdit, scMaskEdit, scMemo,
    scRichEdit, scMiscEdit, scCheckBox, scRadioButton, scButton, scBitBtn, scSpeedButton, scUpDown,
    scPanel, scGroupBox, scTreeView, scListView, scProgressBar, scHotKey
};

// Sets stored as bits (bit n = member n).
using StyledContainers = uint32_t;
using StyledControls = uint32_t;
constexpr StyledContainers kAllContainers = (1u << 10) - 1;  // 1023
constexpr StyledControls kAllControls = (1u << 23) - 1;      // 0x7FFFFF

constexpr bool Has(uint32_t set, int member) { return (set >> member) & 1u; }

// The kind of a control by its class name: "TMaskEdit" and "TDBEdit" are masked edits,
// "TBitBtn" a bitmap button, "TButton", "TDBNavigator" and "TDBLookupComboBox" buttons,
// "TUpDown" an up-down; other classes are not recognised.
std::optional<TStyledControl> RecognisedControl(std::string_view className);

// The container kind of a parent: a form, "TdxTabSheet" a tab sheet, "TDBCtrlPanel" a frame.
std::optional<TStyledContainer> RecognisedContainer(std::string_view className, bool isForm);

// Controls whose own components are walked too (besides forms).
bool WalkedRecursively(std::string_view className);

// The one control kind whose frame the styler draws.
bool DrawsFrame(std::string_view className);

// Tag that keeps a form, menu, item or control out of theming.
constexpr int kKeepOwnDrawingTag = 999;

}  // namespace tintmark::menus
