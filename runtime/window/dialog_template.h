#pragma once
// A dialog described in memory while its controls are being added; written
// out as a DLGTEMPLATE when the dialog opens.

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One control of a dialog template; items are GlobalAlloc blocks chained in
// creation order, each owning its GlobalAlloc caption copy.
struct DialogItem {
    DialogItem* next;
    uint32_t style;
    uint32_t exStyle;
    char* text;
    char className[32];
    int32_t type;
    int32_t x;
    int32_t y;
    int32_t cx;
    int32_t cy;
    int32_t id;
    int32_t isDefault;
};
static_assert(offsetof(DialogItem, next) == 0);
static_assert(offsetof(DialogItem, style) == 4);
static_assert(offsetof(DialogItem, exStyle) == 8);
static_assert(offsetof(DialogItem, text) == 12);
static_assert(offsetof(DialogItem, className) == 16);
static_assert(offsetof(DialogItem, type) == 48);
static_assert(offsetof(DialogItem, x) == 52);
static_assert(offsetof(DialogItem, cy) == 64);
static_assert(offsetof(DialogItem, id) == 68);
static_assert(offsetof(DialogItem, isDefault) == 72);
static_assert(sizeof(DialogItem) == 76);

// Allocated with AllocZeroed and hung from WindowRecord::dialogTemplate.
struct DialogTemplate {
    uint32_t style;
    uint32_t exStyle;          // always 0
    char caption[256];
    HWND owner;
    int32_t x;
    int32_t y;
    int32_t cx;
    int32_t cy;
    int32_t baseUnitX;         // pixels per horizontal base unit
    int32_t baseUnitY;
    DialogItem* items;
    int32_t modeless;
};
static_assert(offsetof(DialogTemplate, style) == 0);
static_assert(offsetof(DialogTemplate, exStyle) == 4);
static_assert(offsetof(DialogTemplate, caption) == 8);
static_assert(offsetof(DialogTemplate, owner) == 264);
static_assert(offsetof(DialogTemplate, x) == 268);
static_assert(offsetof(DialogTemplate, cy) == 280);
static_assert(offsetof(DialogTemplate, baseUnitX) == 284);
static_assert(offsetof(DialogTemplate, baseUnitY) == 288);
static_assert(offsetof(DialogTemplate, items) == 292);
static_assert(offsetof(DialogTemplate, modeless) == 296);
static_assert(sizeof(DialogTemplate) == 300);
