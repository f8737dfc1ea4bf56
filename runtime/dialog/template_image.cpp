#include "runtime/dialog/template_image.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "runtime/window/open_window.h"

namespace {

constexpr int32_t kItemHeaderBytes = 18;   // DLGITEMTEMPLATE

// UTF-16 units of the ANSI text with its terminator, at most limit.
int32_t WideUnits(const char* text, int32_t limit) {
    const int32_t units = MultiByteToWideChar(CP_ACP, 0, text ? text : "", -1, nullptr, 0);
    return std::clamp(units, 1, limit);
}

int32_t AlignToDword(int32_t offset) { return (offset + 3) & ~3; }

// Writes little-endian words and UTF-16 strings from the block's start;
// nothing is read back, so the block's alignment does not matter.
class TemplateWriter {
public:
    explicit TemplateWriter(void* block) : bytes_(static_cast<uint8_t*>(block)) {}

    void Word(uint16_t value) { Put(&value, sizeof(value)); }
    void Dword(uint32_t value) { Put(&value, sizeof(value)); }

    // The text in at most limit units, terminator included; a longer text
    // is cut to limit - 1 units, one that cannot be converted is left empty.
    void Wide(const char* text, int32_t limit) {
        if (!text)
            text = "";
        auto* out = reinterpret_cast<WCHAR*>(bytes_ + offset_);
        const int32_t needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        int32_t units = 0;
        if (needed > 0 && needed <= limit) {
            units = MultiByteToWideChar(CP_ACP, 0, text, -1, out, needed);
        } else if (needed > limit) {
            // Each byte gives at most one unit, so limit - 1 bytes fit.
            const auto bytes = static_cast<int32_t>(std::min<size_t>(std::strlen(text), limit - 1));
            units = MultiByteToWideChar(CP_ACP, 0, text, bytes, out, limit - 1);
            out[units++] = 0;
        }
        if (units == 0)
            out[units++] = 0;
        offset_ += units * static_cast<int32_t>(sizeof(WCHAR));
    }

    void PadToDword() {
        const int32_t end = AlignToDword(offset_);
        std::memset(bytes_ + offset_, 0, static_cast<size_t>(end - offset_));
        offset_ = end;
    }

    int32_t Offset() const { return offset_; }

private:
    void Put(const void* value, size_t size) {
        std::memcpy(bytes_ + offset_, value, size);
        offset_ += static_cast<int32_t>(size);
    }

    uint8_t* bytes_;
    int32_t offset_ = 0;
};

uint16_t ItemCount(const DialogTemplate* dialog) {
    uint16_t count = 0;
    for (const DialogItem* item = dialog->items; item; item = item->next)
        ++count;
    return count;
}

}  // namespace

int32_t DialogTemplateSize(const DialogTemplate* dialog) {
    if (!dialog)
        return 0;
    const auto classLength = static_cast<int64_t>(sizeof(kDialogClassName) - 1);
    const auto faceLength = static_cast<int64_t>(sizeof(kDialogFaceName) - 1);
    // Each item adds up to some 128 KiB, so the sum is kept in 64 bits and
    // checked at every item.
    int64_t total = (classLength + faceLength + WideUnits(dialog->caption, kCaptionUnitsMax)) * 2 + 39;
    int32_t items = 0;
    for (const DialogItem* item = dialog->items; item; item = item->next) {
        if (++items > kDialogItemsMax)
            return 0;
        // An item without text still writes its terminator, so it is counted.
        total += kItemHeaderBytes + int64_t{WideUnits(item->className, kClassUnitsMax)} * 2 +
                 int64_t{WideUnits(item->text, kItemTextUnitsMax)} * 2;
        total = (total + 5) & ~int64_t{3};
        if (total > INT32_MAX)
            return 0;
    }
    return static_cast<int32_t>(total);
}

int32_t BuildDialogTemplate(void* block, const DialogTemplate* dialog) {
    if (!block || !dialog)
        return 0;
    TemplateWriter out(block);
    out.Dword(dialog->style);
    out.Dword(dialog->exStyle);
    out.Word(ItemCount(dialog));
    out.Word(static_cast<uint16_t>(dialog->x));
    out.Word(static_cast<uint16_t>(dialog->y));
    out.Word(static_cast<uint16_t>(dialog->cx));
    out.Word(static_cast<uint16_t>(dialog->cy));
    out.Word(0);   // no menu
    out.Wide(kDialogClassName, kClassUnitsMax);
    out.Wide(dialog->caption, kCaptionUnitsMax);
    out.Word(kDialogPointSize);
    out.Wide(kDialogFaceName, LF_FACESIZE);

    for (const DialogItem* item = dialog->items; item; item = item->next) {
        out.PadToDword();
        out.Dword(item->style);
        out.Dword(item->exStyle);
        out.Word(static_cast<uint16_t>(item->x));
        out.Word(static_cast<uint16_t>(item->y));
        out.Word(static_cast<uint16_t>(item->cx));
        out.Word(static_cast<uint16_t>(item->cy));
        out.Word(static_cast<uint16_t>(item->id));
        // Always by name: an ordinal would lose the runtime's own classes.
        out.Wide(item->className, kClassUnitsMax);
        out.Wide(item->text, kItemTextUnitsMax);
        out.Word(0);   // no creation data
    }
    return out.Offset();
}
