// Class names the menu styler recognises.
#include "menus/styled_sets.h"

namespace tintmark::menus {

std::optional<TStyledControl> RecognisedControl(std::string_view c) {
    if (c == "TMaskEdit" || c == "TDBEdit") return scMaskEdit;
    if (c == "TBitBtn") return scBitBtn;
    if (c == "TButton" || c == "TDBNavigator" || c == "TDBLookupComboBox") return scButton;
    if (c == "TUpDown") return scUpDown;
    return std::nullopt;
}

std::optional<TStyledContainer> RecognisedContainer(std::string_view c, bool isForm) {
    if (isForm) return sccForm;
    if (c == "TdxTabSheet") return sccTabSheet;
    if (c == "TDBCtrlPanel") return sccFrame;
    return std::nullopt;
}

bool WalkedRecursively(std::string_view c) { return c == "TDBNavigator"; }

bool DrawsFrame(std::string_view c) { return c == "TDBLookupComboBox"; }

}  // namespace tintmark::menus
