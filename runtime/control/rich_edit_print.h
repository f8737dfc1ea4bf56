#pragma once
// Printing a rich edit control's whole text on a printer the user picks in
// the standard print dialog.

#include <windows.h>

#include <cstdint>

// The margin on every side, in twips, when the print command is given none.
constexpr int32_t kDefaultPrintMargin = 770;

// Asks for a printer (PrintDlgA, flags 0x140104), then prints the control's
// text page by page as the document "(Untitled)", with marginTwips on every
// side of a page counted in whole inches. Where the control lays out nothing
// on a page while text remains (Wine's rich edit lays out nothing on a
// printer), the rest of the text is printed line by line in the control's
// default font and each line's colour; the control's selection moves for a
// moment and is put back.
// 0 when the whole text went to the printer, and when the dialog was
// cancelled (nothing printed, no job);
// kPrintStopped when the printer would not start the document (nothing
// printed), and when a page held no text (margins that leave no room) or the
// printer refused a page: the pages so far, that one included, were printed
// and the document was ended.
int32_t PrintRichEdit(HWND control, int32_t marginTwips);

constexpr int32_t kPrintStopped = -1;
