#include <windows.h>

#include <cstring>

#include "runtime/control/controls.h"
#include "runtime/core/numbers.h"

namespace {

constexpr size_t kClassNameCapacity = sizeof(DialogItem::className);

// round(pixels * units / baseUnit) in double precision, halves to even.
int32_t ToDialogUnits(int32_t pixels, int32_t units, int32_t baseUnit) {
    return RoundToInt32(static_cast<double>(pixels) * units / baseUnit);
}

char* GlobalCopy(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    auto* copy = static_cast<char*>(GlobalAlloc(GPTR, length + 1));
    if (copy && length)
        std::memcpy(copy, text, length);
    return copy;
}

}  // namespace

int32_t PixelsToDialogUnits(const DialogTemplate* dialogTemplate, int32_t* x, int32_t* y, int32_t* cx,
                            int32_t* cy) {
    if (!dialogTemplate || dialogTemplate->baseUnitX <= 0 || dialogTemplate->baseUnitY <= 0)
        return 0;
    const int32_t bx = dialogTemplate->baseUnitX;
    const int32_t by = dialogTemplate->baseUnitY;
    const int32_t left = ToDialogUnits(*x, 4, bx);
    const int32_t right = ToDialogUnits(*x + *cx, 4, bx);
    const int32_t top = ToDialogUnits(*y, 8, by);
    const int32_t bottom = ToDialogUnits(*y + *cy, 8, by);
    *x = left;
    *cx = right - left;
    *y = top;
    *cy = bottom - top;
    return 1;
}

int32_t AppendDialogItem(WindowRecord* window, uint32_t exStyle, const char* className, const char* text,
                         uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t controlId,
                         int32_t type, int32_t isDefault) {
    if (!window || !window->dialogTemplate)
        return 0;
    // A longer name would be cut into another class's name; such a control
    // is refused rather than recorded wrongly.
    const size_t nameLength = className ? std::strlen(className) : 0;
    if (nameLength >= kClassNameCapacity)
        return 0;
    // The template holds 16 bits of an identifier: a wider one would be
    // another control's.
    if (controlId < 0 || controlId > 0xFFFF)
        return 0;

    auto* dialog = static_cast<DialogTemplate*>(window->dialogTemplate);
    DialogItem** link = &dialog->items;
    for (; *link; link = &(*link)->next)
        if ((*link)->id == controlId)
            return 0;

    auto* item = static_cast<DialogItem*>(GlobalAlloc(GPTR, sizeof(DialogItem)));
    if (!item)
        return 0;
    item->text = GlobalCopy(text);
    if (!item->text) {
        GlobalFree(item);
        return 0;
    }
    if (nameLength)
        std::memcpy(item->className, className, nameLength);
    item->type = type;
    item->style = style;
    item->exStyle = exStyle;
    item->x = x;
    item->y = y;
    item->cx = cx;
    item->cy = cy;
    item->id = controlId;
    item->isDefault = isDefault;
    *link = item;
    return 0;
}
