// Result-buffer lists: creation, release and building from typed values.
#include <cstdarg>
#include <cstring>

#include "acadmem.h"
#include "adslib.h"

ResKind ads_reskind(int type) {
  switch (type) {
    case RTREAL:
    case RTANG:
    case RTORINT: return ResKind::Real;
    case RTPOINT:
    case RT3DPOINT: return ResKind::Point;
    case RTSHORT: return ResKind::Short;
    case RTLONG: return ResKind::Long;
    case RTSTR:
    case RTDXF0: return ResKind::String;
    case RTENAME:
    case RTPICKS: return ResKind::Name;
    default: break;
  }
  if ((type >= 0 && type <= 9) || (type >= 100 && type <= 109) || (type >= 300 && type <= 309) ||
      (type >= 410 && type <= 419) || (type >= 430 && type <= 439) || (type >= 470 && type <= 479) ||
      (type >= 999 && type <= 1003) || type == 1005)
    return ResKind::String;
  if (type == 310 || type == 1004) return ResKind::Binary;
  if ((type >= 10 && type <= 17) || (type >= 1010 && type <= 1013) || type == 210) return ResKind::Point;
  if ((type >= 38 && type <= 59) || (type >= 140 && type <= 149) || (type >= 1040 && type <= 1042))
    return ResKind::Real;
  if ((type >= 60 && type <= 79) || (type >= 170 && type <= 179) || (type >= 270 && type <= 289) ||
      (type >= 370 && type <= 389) || (type >= 400 && type <= 409) || type == 1070)
    return ResKind::Short;
  if ((type >= 90 && type <= 99) || (type >= 420 && type <= 429) || (type >= 440 && type <= 459) || type == 1071)
    return ResKind::Long;
  if (type == -1 || type == -2) return ResKind::Name;
  return ResKind::None;
}

extern "C" resbuf* ads_newrb(int type) {
  auto* rb = static_cast<resbuf*>(acad_calloc(1, sizeof(resbuf)));
  if (rb) rb->restype = static_cast<short>(type);
  return rb;
}

extern "C" int ads_relrb(resbuf* list) {
  while (list) {
    resbuf* next = list->rbnext;
    ResKind kind = ads_reskind(list->restype);
    if (kind == ResKind::String) acad_free(list->resval.rstring);
    if (kind == ResKind::Binary) acad_free(list->resval.rbinary.buf);
    acad_free(list);
    list = next;
  }
  return RTNORM;
}

// Arguments after each type, as in the host: reals and points by value and by
// address, strings copied, names by address; RTLB, RTLE, RTDOTE, RTNIL, RTT
// and RTVOID take none. The list ends at a type of 0.
extern "C" resbuf* ads_buildlist(int type, ...) {
  va_list args;
  va_start(args, type);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; type != 0; type = va_arg(args, int)) {
    resbuf* rb = ads_newrb(type);
    if (!rb) {
      ads_relrb(head);
      head = nullptr;
      break;
    }
    *tail = rb;
    tail = &rb->rbnext;
    switch (ads_reskind(type)) {
      case ResKind::Real: rb->resval.rreal = va_arg(args, double); break;
      case ResKind::Point: std::memcpy(rb->resval.rpoint, va_arg(args, const double*), sizeof(ads_point)); break;
      case ResKind::Short: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
      case ResKind::Long: rb->resval.rlong = va_arg(args, long); break;
      case ResKind::String: {
        const char* text = va_arg(args, const char*);
        rb->resval.rstring = acad__strdup(text ? text : "");
        if (!rb->resval.rstring) {
          ads_relrb(head);
          va_end(args);
          return nullptr;
        }
        break;
      }
      case ResKind::Name: {
        const long* name = va_arg(args, const long*);
        rb->resval.rlname[0] = name[0];
        rb->resval.rlname[1] = name[1];
        break;
      }
      case ResKind::Binary: break;
      case ResKind::None: break;
    }
  }
  va_end(args);
  return head;
}
