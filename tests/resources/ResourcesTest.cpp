// Every resource (strings, dialog texts, menus, toolbar, accelerators, status-bar panes) in both
// languages against the reference file data/resources.txt, and the string table's helpers.
#include <gtest/gtest.h>

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

std::string LanguageName(Language lang) {
    return lang == Language::English ? "en" : "ja";
}

std::string ResourcesText() {
    std::string out;
    // Ids without a string give empty texts.
    std::vector<unsigned> ids = {0u, 127u, 61449u, 61465u, 65535u};
    ids.insert(ids.end(), ResStringIds().begin(), ResStringIds().end());
    for (unsigned id : ids) {
        out += (HasResString(id) ? "string " : "no string ") + std::to_string(id);
        for (Language lang : kLanguages) {
            out += "\t" + Escaped(LoadResString(id, lang));
        }
        out += "\n";
    }
    for (int i = 0; i <= static_cast<int>(DialogTextId::Count); ++i) {
        out += "dialog text " + std::to_string(i);
        for (Language lang : kLanguages) {
            out += "\t" + Escaped(LoadDialogText(static_cast<DialogTextId>(i), lang));
        }
        out += "\n";
    }
    for (Language lang : kLanguages) {
        out += "dialog font " + LanguageName(lang) + "\t" + DialogFontName(lang) + "\n";
    }
    for (unsigned menu : {0u, 100u, 128u, 139u}) {
        for (Language lang : kLanguages) {
            out += "menu " + std::to_string(menu) + " " + LanguageName(lang) + "\n";
            for (const MenuPopupDef& popup : LoadMenuResource(menu, lang)) {
                out += "  popup\t" + Escaped(popup.text) + "\n";
                for (const MenuItemDef& item : popup.items) {
                    out += "    " + std::to_string(item.command) + "\t" +
                           (item.text != nullptr ? Escaped(item.text) : "-") + "\n";
                }
            }
        }
    }
    for (Language lang : kLanguages) {
        out += "formatted " + LanguageName(lang) + "\t" +
               Escaped(FormatResString(IDS_AVAILABLE_AREA, lang, 299.6, 1100.4)) + "\t" +
               Escaped(ExposureProgressText(IDS_PROGRESS_DARK, lang, 5000)) + "\t" +
               Escaped(ExposureProgressText(IDS_PROGRESS_LIGHT, lang, 10)) + "\n";
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
        out += "prompt " + std::to_string(id);
        for (Language lang : kLanguages) {
            const CommandPrompt prompt = LoadCommandPrompt(id, lang);
            EXPECT_FALSE(prompt.statusText.empty() || (prompt.toolTip.empty() && id != IDS_SC_SIZE))
                << id;
            out += "\t" + Escaped(prompt.statusText) + " | " + Escaped(prompt.toolTip);
        }
        out += "\n";
    }
    return out;
}

TEST(Resources, EveryResourceMatchesTheReferenceInBothLanguages) {
    const std::string mismatch =
        ReferenceMismatch(ResourcesText(), HALVO_AREA_DATA_DIR "/resources.txt");
    EXPECT_EQ(mismatch, "");
}

}  // namespace
