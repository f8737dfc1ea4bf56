#pragma once
// Everything a program written against the runtime includes: one header for
// the whole public surface. The headers listed here, and only they, are
// installed; the rest of runtime/ is the runtime's own business.
//
// Layers, each using only those above it in this list: core (strings,
// numbers, clock, typed arguments; no windows), window, resource, control,
// dialog, and the program's start and end.

#include "runtime/core/block_alloc.h"
#include "runtime/core/clock.h"
#include "runtime/core/color.h"
#include "runtime/core/float_control.h"
#include "runtime/core/numbers.h"
#include "runtime/core/strings.h"
#include "runtime/core/typed_arg.h"

#include "runtime/window/accelerators.h"
#include "runtime/window/control_styles.h"
#include "runtime/window/dialog_template.h"
#include "runtime/window/draw_scope.h"
#include "runtime/window/geometry.h"
#include "runtime/window/handler_map.h"
#include "runtime/window/handler_tables.h"
#include "runtime/window/message_box.h"
#include "runtime/window/message_loop.h"
#include "runtime/window/open_window.h"
#include "runtime/window/print_values.h"
#include "runtime/window/timers.h"
#include "runtime/window/window_commands.h"
#include "runtime/window/window_record.h"

#include "runtime/resource/file_channel.h"
#include "runtime/resource/images.h"
#include "runtime/resource/resource_data.h"

#include "runtime/control/control_commands.h"
#include "runtime/control/controls.h"
#include "runtime/control/log_lines.h"
#include "runtime/control/rich_edit_print.h"
#include "runtime/control/rich_edit_stream.h"

#include "runtime/dialog/create_dialog.h"
#include "runtime/dialog/open_dialog.h"

#include "runtime/program/program.h"
