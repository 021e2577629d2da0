// Names of status codes, for messages.
#include "acadstrc.h"

const char* Acad::statusName(ErrorStatus status) {
  switch (status) {
    case eOk: return "eOk";
    case eNotImplementedYet: return "eNotImplementedYet";
    case eNotApplicable: return "eNotApplicable";
    case eInvalidInput: return "eInvalidInput";
    case eOutOfMemory: return "eOutOfMemory";
    case eKeyNotFound: return "eKeyNotFound";
    case eNullObjectId: return "eNullObjectId";
    case eWasErased: return "eWasErased";
    case eNotOpenForWrite: return "eNotOpenForWrite";
    case eNotThatKindOfClass: return "eNotThatKindOfClass";
    case eInvalidAdsName: return "eInvalidAdsName";
    case eWasOpenForWrite: return "eWasOpenForWrite";
    case eWasOpenForRead: return "eWasOpenForRead";
    case eWasNotOpenForWrite: return "eWasNotOpenForWrite";
    case eAtMaxReaders: return "eAtMaxReaders";
    case eFileAccessErr: return "eFileAccessErr";
    case eFilerError: return "eFilerError";
    case eNotImplemented: return "eNotImplemented";
    case eDegenerateGeometry: return "eDegenerateGeometry";
    case eSelfReference: return "eSelfReference";
    case eInvalidExtents: return "eInvalidExtents";
  }
  return "eUnknown";
}
