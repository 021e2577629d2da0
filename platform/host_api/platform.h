// The platform as the host programs reach it: the host's services (loading
// modules, the command stack and line, system variables, menus, AutoLISP),
// the screens' start-up and refusals, the drawing's records and files. The
// host includes this header and the API headers, never a platform folder.
#pragma once

#include "acad/arx_loader.h"
#include "acad/command_stack.h"
#include "acad/console.h"
#include "acad/demand_load.h"
#include "acad/host_commands.h"
#include "acad/lisp_functions.h"
#include "acad/menus.h"
#include "acad/sysvars.h"
#include "acad/user_path.h"
#include "db/group_codes.h"
#include "db/record.h"
#include "drawing_file.h"
#include "lisp/lisp.h"
#include "ui/scripted.h"
#include "ui/terminal_guard.h"
