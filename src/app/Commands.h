#pragma once
// Command numbers of the main window: menu items, accelerators and toolbar buttons.
namespace sw {

enum Command : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57619,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_CONTENTS = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_CONTEXT_HELP = 57669,
    ID_PREFERENCES = 32793,
    ID_EXPORT_TEXTS = 32795,
    ID_IMPORT_TEXTS = 32796,
    ID_TEST_WIZARD = 32797,
    ID_BUILD = 32798,
};

inline constexpr int kRecentFileCount = 4;

}  // namespace sw
