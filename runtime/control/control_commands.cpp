#include "runtime/control/control_commands.h"

#include <windows.h>

#include <span>

#include "runtime/control/command_table.h"
#include "runtime/window/class_name.h"

namespace {

struct ClassTable {
    const char* className;   // upper case
    std::span<const CommandRow> (*rows)();
};

// One table serves plain edit and rich edit controls. Only the rich edit
// class of the runtime's own rich edit controls matches; longer rich edit
// class names do not.
const ClassTable kClassTables[] = {
    {"SYSLISTVIEW32", ListViewCommands},
    {"RICHEDIT", EditCommands},
    {"EDIT", EditCommands},
    {"MSCTLS_STATUSBAR32", StatusBarCommands},
    {"TOOLBARWINDOW32", ToolbarCommands},
};

const ClassTable* TableOfControl(HWND control) {
    for (const ClassTable& table : kClassTables)
        if (HasClassName(control, table.className))
            return &table;
    return nullptr;
}

int32_t refusal = CR_NONE;

int32_t Refuse(int32_t why) {
    refusal = why;
    return 0;
}

}  // namespace

int32_t CommandRefusal() { return refusal; }

int32_t SendControlCommand(const WindowRecord* window, int32_t controlId, int32_t command,
                           TypedArg first, TypedArg second, TypedArg third, TypedArg fourth) {
    if (!window || !window->hwnd)
        return Refuse(CR_NO_CONTROL);
    HWND control = GetDlgItem(window->hwnd, controlId);
    if (!control)
        return Refuse(CR_NO_CONTROL);
    const ClassTable* table = TableOfControl(control);
    if (!table)
        return Refuse(CR_NO_TABLE);
    const CommandRow* row = FindCommandRow(table->rows(), command);
    if (!row)
        return Refuse(CR_UNKNOWN_CODE);
    const CommandCall call{control, window, {first, second, third, fourth}};
    if (!RowAcceptsArgs(*row, call))
        return Refuse(CR_BAD_ARGUMENT);
    const int32_t result = row->run(*row, call);
    refusal = CR_NONE;
    return row->result == RowResult::Passed ? result : 0;
}
