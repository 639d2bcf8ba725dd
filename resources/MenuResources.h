// Menus 128 and 139, toolbar 128, the accelerator table and the status-bar panes as data.
#pragma once

#include <span>

#include "resources/Language.h"
#include "resources/ResourceIds.h"

// One menu item; a separator has no text and command ID_SEPARATOR.
struct MenuItemDef {
    const char* text;
    unsigned command;
};

struct MenuPopupDef {
    const char* text;
    std::span<const MenuItemDef> items;
};

// The popups of menu IDR_MAINFRAME or IDR_CONTEXT_MENU (one popup without a title, shown at
// the mouse) in lang; empty for any other id. The items are those of the resource: the frame
// itself takes "Save with Count" out of the main menu when it is created.
std::span<const MenuPopupDef> LoadMenuResource(unsigned menuId, Language lang);

// Toolbar IDR_MAINFRAME, left to right; ID_SEPARATOR is a gap. The buttons carry no text of
// their own: their tooltips are the second halves of the command prompts.
std::span<const unsigned> ToolbarButtons();

// One accelerator: keys in portable key-sequence text ("Ctrl+N", "Shift+Del", "Alt+Backspace").
struct AcceleratorDef {
    const char* keys;
    unsigned command;
};
// The accelerator table IDR_MAINFRAME; the same keys in both languages.
std::span<const AcceleratorDef> Accelerators();

// Status-bar panes in order: ID_SEPARATOR for the message pane, then indicator string ids.
std::span<const unsigned> StatusBarIndicators();
