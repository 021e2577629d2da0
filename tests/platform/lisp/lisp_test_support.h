// Runs AutoLISP text through the host's evaluator and returns what it wrote.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "lisp/lisp.h"

inline std::string lispOutput(const std::string& text, bool* ok = nullptr) {
  testing::internal::CaptureStdout();
  bool result = lisp::evaluateAndPrint(text);
  std::string out = testing::internal::GetCapturedStdout();
  if (ok) *ok = result;
  return out;
}
