#include "runtime/control/command_table.h"

namespace {

bool HasAddress(TypedArg arg) { return arg.value != 0; }

bool ArgFits(TypedArg arg, ArgKind kind) {
    switch (kind) {
    case ArgKind::None:
        return TypeCode(arg) == TY_NONE;
    case ArgKind::Int:
        return IsIntArg(arg);
    case ArgKind::IntRef:
        return IsIntArg(arg) && IsByRef(arg);
    case ArgKind::Str:
        return TypeCode(arg) == TY_STRING && HasAddress(arg);
    case ArgKind::StrOrFile:
        return (TypeCode(arg) == TY_STRING || TypeCode(arg) == TY_TEXTFILE) && HasAddress(arg);
    case ArgKind::OptionalInt:
        return TypeCode(arg) == TY_NONE || IsIntArg(arg);
    }
    return false;
}

}  // namespace

const CommandRow* FindCommandRow(std::span<const CommandRow> table, int32_t code) {
    for (const CommandRow& row : table)
        if (row.code == code)
            return &row;
    return nullptr;
}

bool RowAcceptsArgs(const CommandRow& row, const CommandCall& call) {
    for (size_t i = 0; i < row.args.size(); ++i)
        if (!ArgFits(call.args[i], row.args[i]))
            return false;
    return true;
}

bool IsIntArg(TypedArg arg) {
    const bool integer = TypeCode(arg) == TY_INTEGER || TypeCode(arg) == TY_DWORD;
    return integer && (!IsByRef(arg) || HasAddress(arg));
}

int32_t IntValue(TypedArg arg) {
    if (IsByRef(arg))
        return *reinterpret_cast<const int32_t*>(static_cast<uintptr_t>(arg.value));
    return static_cast<int32_t>(arg.value);
}

char* AddressValue(TypedArg arg) { return reinterpret_cast<char*>(static_cast<uintptr_t>(arg.value)); }

int32_t SendFixed(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, row.wParam, 0);
}

int32_t SendFirst(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])), 0);
}

int32_t SendFirstAsLParam(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, row.wParam, AsLParam(IntValue(call.args[0])));
}

int32_t SendFirstAndSecond(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])),
                AsLParam(IntValue(call.args[1])));
}

int32_t SendText(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, row.wParam, AsLParam(AddressValue(call.args[0])));
}

int32_t SendFirstWithAddress(const CommandRow& row, const CommandCall& call) {
    return Send(call.control, row.message, AsWParam(IntValue(call.args[0])),
                AsLParam(AddressValue(call.args[1])));
}
