// The module's message catalogue: every text it shows, by number.
#pragma once

// The text of message `number`, valid until the next look-up: the module-wide
// message buffer, or an empty text (after printing "\nError Loading Message:
// message N not found.") when the catalogue has no such message.
const char* messageText(int number);
