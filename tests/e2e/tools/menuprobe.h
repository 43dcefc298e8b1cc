#pragma once
// The request tavidriver writes into the target process for menuprobe.dll.
#include <cstdint>

struct MenuProbeRequest {
  uint64_t popup;        // the #32768 window on screen
  wchar_t out[520];      // where the JSON goes
};
