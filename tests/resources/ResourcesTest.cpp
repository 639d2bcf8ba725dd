// Every resource (strings, dialog texts, menus, toolbar, accelerators, status-bar panes) in both
// languages against the reference file data/resources.txt, and the string table's helpers.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "resources/DialogTexts.h"
#include "resources/MenuResources.h"
#include "resources/StringTable.h"
#include "tests/support/TestFiles.h"

namespace {

constexpr Language kLanguages[] = {Language::English, Language::Japanese};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\\n") : c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return out;
}

std::string ResourcesText() {
    std::string out;
    // A line of the label and the text in each language.
    const auto row = [&out](const std::string& label,
                            const std::function<std::string(Language)>& text) {
        out += label;
        for (Language lang : kLanguages) {
            out += "\t" + Escaped(text(lang));
        }
        out += "\n";
    };
    // Ids without a string give empty texts.
    std::vector<unsigned> ids = {0u, 127u, 61449u, 61465u, 65535u};
    ids.insert(ids.end(), ResStringIds().begin(), ResStringIds().end());
    for (unsigned id : ids) {
        row((HasResString(id) ? "string " : "no string ") + std::to_string(id),
            [id](Language lang) { return LoadResString(id, lang); });
    }
    for (int i = 0; i <= static_cast<int>(DialogTextId::Count); ++i) {
        row("dialog text " + std::to_string(i),
            [i](Language lang) { return LoadDialogText(static_cast<DialogTextId>(i), lang); });
    }
    row("dialog font", DialogFontName);
    row("formatted", [](Language lang) {
        return FormatResString(IDS_AVAILABLE_AREA, lang, 299.6, 1100.4) + " | " +
               ExposureProgressText(IDS_PROGRESS_DARK, lang, 5000) + " | " +
               ExposureProgressText(IDS_PROGRESS_LIGHT, lang, 10);
    });
    for (unsigned menu : {0u, 100u, 128u, 139u}) {
        for (Language lang : kLanguages) {
            out += "menu " + std::to_string(menu) + (lang == Language::English ? " en\n" : " ja\n");
            for (const MenuPopupDef& popup : LoadMenuResource(menu, lang)) {
                out += "  popup\t" + Escaped(popup.text) + "\n";
                for (const MenuItemDef& item : popup.items) {
                    out += "    " + std::to_string(item.command) + "\t" +
                           (item.text != nullptr ? Escaped(item.text) : "-") + "\n";
                }
            }
        }
    }
    out += "toolbar";
    for (unsigned button : ToolbarButtons()) {
        out += " " + std::to_string(button);
    }
    out += "\nstatus bar";
    for (unsigned pane : StatusBarIndicators()) {
        out += " " + std::to_string(pane);
    }
    out += "\n";
    for (const AcceleratorDef& a : Accelerators()) {
        out += "accelerator " + std::string(a.keys) + "\t" + std::to_string(a.command) + "\n";
    }
    // The status-bar prompt and tooltip of every menu item and toolbar button, and of a system
    // command that has no tooltip; only that one lacks a half.
    std::set<unsigned> commands(ToolbarButtons().begin(), ToolbarButtons().end());
    for (unsigned menuId : {128u, 139u}) {
        for (const MenuPopupDef& popup : LoadMenuResource(menuId, Language::English)) {
            for (const MenuItemDef& item : popup.items) {
                commands.insert(item.command);
            }
        }
    }
    commands.insert(IDS_SC_SIZE);
    commands.erase(ID_SEPARATOR);
    for (unsigned id : commands) {
        row("prompt " + std::to_string(id), [id](Language lang) {
            const CommandPrompt prompt = LoadCommandPrompt(id, lang);
            EXPECT_FALSE(prompt.statusText.empty() || (prompt.toolTip.empty() && id != IDS_SC_SIZE))
                << id;
            return prompt.statusText + " | " + prompt.toolTip;
        });
    }
    return out;
}

TEST(Resources, EveryResourceMatchesTheReferenceInBothLanguages) {
    EXPECT_EQ(ReferenceMismatch(ResourcesText(), HALVO_AREA_DATA_DIR "/resources.txt"), "");
}

}  // namespace
