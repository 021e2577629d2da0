// HELP (also "?" and the F1 key): the host's commands and those of the
// loaded modules, one line each.
#pragma once

void registerHelpCommand();
