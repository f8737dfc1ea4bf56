#include "runtime/dialog/open_dialog.h"

#include "runtime/dialog/dialog_proc.h"
#include "runtime/dialog/template_image.h"

namespace {

constexpr int32_t kDialogFailed = -1;

DialogTemplate* TemplateOf(WindowRecord* window) {
    if (!window || window->templateMode != 1)
        return nullptr;
    return static_cast<DialogTemplate*>(window->dialogTemplate);
}

// A zero-filled global block holding the template, freed at end of scope.
class TemplateBlock {
public:
    explicit TemplateBlock(const DialogTemplate* dialog) {
        // Size 0 is a template too large to write, for which GlobalAlloc
        // would hand out an empty block.
        const int32_t size = DialogTemplateSize(dialog);
        if (size > 0)
            block_ = GlobalAlloc(GPTR, static_cast<SIZE_T>(size));
        if (block_)
            BuildDialogTemplate(block_, dialog);
    }
    ~TemplateBlock() {
        if (block_)
            GlobalFree(block_);
    }
    TemplateBlock(const TemplateBlock&) = delete;
    TemplateBlock& operator=(const TemplateBlock&) = delete;
    const DLGTEMPLATE* get() const { return static_cast<const DLGTEMPLATE*>(block_); }

private:
    HGLOBAL block_ = nullptr;
};

HWND OwnerWindow(const DialogTemplate* dialog, const WindowRecord* owner) {
    return owner ? owner->hwnd : dialog->owner;
}

}  // namespace

int32_t RunModalDialog(WindowRecord* window, const WindowRecord* owner) {
    DialogTemplate* dialog = TemplateOf(window);
    if (!dialog)
        return 0;
    // A description shown modeless before is modal now: WM_CLOSE ends it.
    dialog->modeless = 0;
    const TemplateBlock block(dialog);
    if (!block.get())
        return kDialogFailed;
    DialogUnderCreation = window;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), block.get(),
                                                   OwnerWindow(dialog, owner), DialogProc, 0);
    // Still set only when the dialog never reached WM_INITDIALOG.
    DialogUnderCreation = nullptr;
    return static_cast<int32_t>(result);
}

HWND OpenModelessDialog(WindowRecord* window, const WindowRecord* owner) {
    DialogTemplate* dialog = TemplateOf(window);
    if (!dialog)
        return nullptr;
    HWND handle = nullptr;
    const int32_t wasModeless = dialog->modeless;
    {
        const TemplateBlock block(dialog);
        if (!block.get())
            return nullptr;
        // Set before the dialog exists: a close during WM_INITDIALOG is
        // already a modeless dialog's.
        dialog->modeless = 1;
        DialogUnderCreation = window;
        handle = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), block.get(), OwnerWindow(dialog, owner),
                                            DialogProc, 0);
        DialogUnderCreation = nullptr;
    }
    if (!window->hwnd) {
        dialog->modeless = wasModeless;
        return nullptr;
    }
    // The dialog manager has shown a WS_VISIBLE dialog already; one made
    // with RF_HIDDEN waits for the program to show it.
    if (dialog->style & WS_VISIBLE)
        ShowWindow(window->hwnd, SW_SHOW);
    return handle;
}

int32_t EndModalDialog(const WindowRecord* dialog, int32_t value) {
    if (!dialog || !dialog->hwnd)
        return 0;
    return EndDialog(dialog->hwnd, value) ? 1 : 0;
}
