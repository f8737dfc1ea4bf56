#pragma once
// The in-memory DLGTEMPLATE (with DS_SETFONT) that the dialog manager is
// handed when a dialog opens: the runtime's dialog class, the caption, the
// 8-point "MS Sans Serif" font and one DLGITEMTEMPLATE per item, every
// string in UTF-16 converted from the ANSI code page.

#include <cstdint>

#include "runtime/window/dialog_template.h"

inline constexpr char kDialogFaceName[] = "MS Sans Serif";
constexpr uint16_t kDialogPointSize = 8;

// UTF-16 units a string may take in the template, its terminator included;
// longer strings are cut.
constexpr int32_t kCaptionUnitsMax = 512;
constexpr int32_t kClassUnitsMax = 32;
constexpr int32_t kItemTextUnitsMax = 65535;
// The template counts its items in 16 bits.
constexpr int32_t kDialogItemsMax = 65535;

// A byte count that the written template never exceeds; 0 for null, for
// more than kDialogItemsMax items, and for a template over INT32_MAX bytes.
int32_t DialogTemplateSize(const DialogTemplate* dialog);

// Writes the template into the block, which must hold DialogTemplateSize
// bytes (a template whose size is 0 cannot be written); padding is written
// as zeros. Returns the bytes written (up to the
// last item's end), 0 for a null block or template.
int32_t BuildDialogTemplate(void* block, const DialogTemplate* dialog);
