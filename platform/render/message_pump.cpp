#include "render/message_pump.h"

namespace render {
namespace {
constinit MessagePump g_pump = nullptr;
}  // namespace

void connectMessagePump(MessagePump pump) { g_pump = pump; }

void pumpMessages() {
  if (g_pump) g_pump();
}

}  // namespace render
