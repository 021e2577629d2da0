// Message look-up in the module's string table.
#include "message.h"

#include <cstring>

#include "ArxUtil.h"

namespace {
constexpr int kMessageBufferSize = 300;
char messageBuffer[kMessageBufferSize];
}  // namespace

const char* messageText(int number) {
  // Loaded aside first, so that a failed look-up leaves the buffer as it was.
  char loaded[kMessageBufferSize];
  int length = 0;
  if (number >= 0 && number <= 0xFFFF)
    length = LoadStringA(moduleHandle(), static_cast<UINT>(number), loaded, kMessageBufferSize);
  if (length < 1) {
    ads_printf("\nError Loading Message: message %d not found.", number);
    return "";
  }
  std::memcpy(messageBuffer, loaded, static_cast<size_t>(length) + 1);
  return messageBuffer;
}
