// The facetter lets the host dispatch window messages between entities, so
// that a modeless dialog's Cancel is seen during a long export. The screens
// sit above the facetter, so the host connects the pump at load time.
#pragma once

namespace render {

using MessagePump = void (*)();
void connectMessagePump(MessagePump pump);
// Runs the connected pump; nothing when none is connected.
void pumpMessages();

}  // namespace render
