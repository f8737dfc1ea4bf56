#include "runtime/control/controls.h"

namespace {

uint32_t ReadWord(uint32_t address) { return *reinterpret_cast<const uint32_t*>(static_cast<uintptr_t>(address)); }

HWND ResolveTarget(TypedArg target) {
    switch (TypeCode(target)) {
    case TY_INTEGER:
    case TY_DWORD: {
        if (IsByRef(target) && target.value == 0)
            return nullptr;
        const uint32_t handle = IsByRef(target) ? ReadWord(target.value) : target.value;
        return reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    }
    case TY_WINDOW: {
        const auto* record = reinterpret_cast<const WindowRecord*>(static_cast<uintptr_t>(target.value));
        return record ? record->hwnd : nullptr;
    }
    default:
        return nullptr;
    }
}

// By reference, strings and records travel as their address and every
// other type as the 32-bit value stored there.
LPARAM ResolveLParam(TypedArg arg) {
    if (!IsByRef(arg))
        return static_cast<LPARAM>(arg.value);
    const uint32_t code = TypeCode(arg);
    if (code == TY_STRING || code == TY_WINDOW || arg.value == 0)
        return static_cast<LPARAM>(arg.value);
    return static_cast<LPARAM>(ReadWord(arg.value));
}

}  // namespace

int32_t SendWindowMessage(TypedArg target, uint32_t message, uint32_t wParam, TypedArg lParam,
                          int32_t controlId) {
    HWND window = ResolveTarget(target);
    if (window && controlId != 0)
        window = GetDlgItem(window, controlId);
    if (!window)
        return 0;
    return static_cast<int32_t>(SendMessageA(window, message, wParam, ResolveLParam(lParam)));
}
