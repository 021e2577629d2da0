// How a drawing file stores the value of each group code.
#pragma once

namespace db {

enum class ValueKind { String, Double, Int16, Int32, Int64, Bool, Binary };

constexpr ValueKind computeValueKind(int code) {
  if ((code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
      (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059))
    return ValueKind::Double;
  if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179) || (code >= 270 && code <= 289) ||
      (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 1060 && code <= 1070))
    return ValueKind::Int16;
  if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) || (code >= 440 && code <= 459) || code == 1071)
    return ValueKind::Int32;
  if (code >= 160 && code <= 169) return ValueKind::Int64;
  if (code >= 290 && code <= 299) return ValueKind::Bool;
  if ((code >= 310 && code <= 319) || code == 1004) return ValueKind::Binary;
  return ValueKind::String;
}

// Codes a drawing file may carry at all.
constexpr bool validGroupCode(int code) { return code >= 0 && code <= 1071; }

// Looked up for every tag read: a table rather than the range tests.
struct ValueKindTable {
  ValueKind kinds[1072];
  constexpr ValueKindTable() : kinds() {
    for (int code = 0; code < 1072; ++code) kinds[code] = computeValueKind(code);
  }
};
inline constexpr ValueKindTable kValueKinds;

constexpr ValueKind valueKind(int code) {
  return validGroupCode(code) ? kValueKinds.kinds[code] : computeValueKind(code);
}

}  // namespace db
