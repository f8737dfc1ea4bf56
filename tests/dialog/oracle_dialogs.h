/* Dialogs described twice: to the resource compiler (oracle_dialogs.rc) and
   to the runtime (template_image_test.cpp). Plain defines, so that the
   resource compiler's preprocessor reads them too. Positions are in dialog
   units; the test gives the template base units 4 and 8, so the pixels it
   passes are the same numbers. */

#define ORACLE_EVERY_TYPE 201
#define ORACLE_NO_ITEMS 202
#define ORACLE_CUSTOM 203

/* WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT */
#define ORACLE_VISIBLE_STYLE 0x90C800C0
/* The same without WS_VISIBLE, with WS_THICKFRAME | WS_MINIMIZEBOX */
#define ORACLE_HIDDEN_STYLE 0x80CE00C0

/* Asked for: WS_CAPTION | WS_SYSMENU, and RF_HIDDEN (0x800) for the hidden one. */
#define ORACLE_ASKED_STYLE 0x00C80000
#define ORACLE_ASKED_HIDDEN_STYLE 0x00CE0800

/* X(type, id, text, x, y, cx, cy, style asked, class, style written, ex style) */
#define ORACLE_EVERY_TYPE_ITEMS(X) \
    X(CT_EDIT, 104, "host", 10, 4, 80, 12, 0x00010000, "EDIT", 0x50810000, 0x200) \
    X(CT_BUTTON, 101, "Go", 10, 20, 40, 14, 0x00010000, "BUTTON", 0x5001000B, 0) \
    X(CT_CHECKBOX, 102, "Check", 60, 20, 50, 10, 0x00010000, "BUTTON", 0x50010003, 0) \
    X(CT_RADIO, 103, "Radio!", 120, 20, 50, 10, 0, "BUTTON", 0x50000009, 0) \
    X(CT_LISTBOX, 105, "", 10, 36, 60, 30, 0x00200000, "LISTBOX", 0x50A00140, 0x200) \
    X(CT_COMBOBOX, 106, "c", 80, 36, 60, 50, 0x00000003, "COMBOBOX", 0x50800603, 0x200) \
    X(CT_LABEL, 107, "A label", 150, 36, 40, 8, 0, "STATIC", 0x50000000, 0) \
    X(CT_SCROLLBAR, 108, "", 10, 70, 80, 10, 0, "SCROLLBAR", 0x50000000, 0) \
    X(CT_GROUPBOX, 109, "Group", 100, 70, 90, 30, 0, "BUTTON", 0x50000007, 0) \
    X(CT_RICHEDIT, 110, "rich", 10, 84, 80, 20, 0x00800004, "RichEdit", 0x50800004, 0x200) \
    X(CT_LISTVIEW, 111, "", 10, 108, 60, 30, 0x00000001, "SysListView32", 0x50000001, 0) \
    X(CT_TREEVIEW, 114, "t", 80, 108, 60, 30, 0, "SysTreeView32", 0x50000000, 0) \
    X(CT_PUSHBUTTON, 113, "OK", 150, 108, 40, 14, 0x00000001, "BUTTON", 0x50000001, 0) \
    X(CT_HOTBUTTON, 120, "Hot button", 150, 124, 40, 14, 0, "BUTTON", 0x5000000B, 0) \
    X(CT_STATUSBAR, 112, "ready", 0, 142, 200, 10, 0, "msctls_statusbar32", 0x50000000, 0)

/* Custom classes with their own extended styles, and a hidden control.
   X(class, id, text, x, y, cx, cy, style asked, style written, ex style) */
#define ORACLE_CUSTOM_ITEMS(X) \
    X("msctls_progress32", 301, "", 4, 4, 120, 10, 0x00000001, 0x50000001, 0x00020000) \
    X("msctls_trackbar32", 302, "abc", 4, 18, 120, 16, 0x00080000, 0x50080000, 0) \
    X("Edit", 303, "seven..", 4, 38, 120, 12, 0x00000080, 0x50000080, 0x00000200)
