// The host commands ARX (load, unload and list modules) and QUIT.
#pragma once

void registerArxCommands();
