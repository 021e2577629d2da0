// Status codes of database and facetter calls.
#pragma once

namespace Acad {
enum ErrorStatus {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eOutOfMemory = 5,
  eKeyNotFound = 6,
  eNullObjectId = 7,
  eWasErased = 10,
  eNotOpenForWrite = 20,
  eNotThatKindOfClass = 21,
  eInvalidAdsName = 22,
  eWasOpenForWrite = 33,
  eWasOpenForRead = 34,
  eWasNotOpenForWrite = 35,
  eAtMaxReaders = 38,
  eFileAccessErr = 52,
  eFilerError = 54,
  eNotImplemented = 80,
  eDegenerateGeometry = 140,
  eSelfReference = 145,
  eInvalidExtents = 148,
};
const char* statusName(ErrorStatus status);
}  // namespace Acad
