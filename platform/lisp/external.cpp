// Calls into the host's function table, with the conversions between values
// and result-buffer lists. Both directions walk lists without recursion.
#include "lisp/external.h"

#include <climits>
#include <memory>
#include <new>
#include <vector>

#include "acad/lisp_functions.h"
#include "acadmem.h"
#include "adslib.h"
#include "lisp/builtins.h"

namespace lisp {
namespace {

// A list under construction; released unless handed over.
class ResbufBuilder {
 public:
  ~ResbufBuilder() { ads_relrb(m_head); }
  resbuf* append(int type) {
    resbuf* rb = ads_newrb(type);
    if (!rb) throw std::bad_alloc();
    *m_tail = rb;
    m_tail = &rb->rbnext;
    return rb;
  }
  resbuf* release() {
    resbuf* head = m_head;
    m_head = nullptr;
    return head;
  }

 private:
  resbuf* m_head = nullptr;
  resbuf** m_tail = &m_head;
};

void appendAtom(Interpreter& lisp, ResbufBuilder& out, Value value) {
  if (!value) {
    out.append(RTNIL);
    return;
  }
  switch (value->type) {
    case Type::Int:
      if (value->integer >= SHRT_MIN && value->integer <= SHRT_MAX) {
        out.append(RTSHORT)->resval.rint = static_cast<short>(value->integer);
      } else {
        out.append(RTLONG)->resval.rlong = value->integer;
      }
      return;
    case Type::Real: out.append(RTREAL)->resval.rreal = value->real; return;
    case Type::String: {
      resbuf* rb = out.append(RTSTR);
      rb->resval.rstring = acad__strdup(value->text.c_str());
      if (!rb->resval.rstring) throw std::bad_alloc();
      return;
    }
    case Type::Entity:
    case Type::SelectionSet: {
      resbuf* rb = out.append(value->type == Type::Entity ? RTENAME : RTPICKS);
      rb->resval.rlname[0] = value->name[0];
      rb->resval.rlname[1] = value->name[1];
      return;
    }
    case Type::Symbol:
      if (value == lisp.T()) {
        out.append(RTT);
        return;
      }
      break;
    case Type::Cons:
    case Type::Subr: break;
  }
  badArgument("atom", value);
}

Value pointValue(Interpreter& lisp, const double* xyz, int count) {
  Value list = nullptr;
  for (int i = count - 1; i >= 0; --i) list = lisp.cons(lisp.makeReal(xyz[i]), list);
  return list;
}

// One item that is not a list delimiter. Items carrying a drawing group code
// become (code . value), as entity lists show them.
Value itemValue(Interpreter& lisp, const resbuf* rb) {
  switch (rb->restype) {
    case RTNIL: return nullptr;
    case RTT: return lisp.T();
    case RTVOID: return lisp.quiet();
    case RTSHORT: return lisp.makeInt(rb->resval.rint);
    case RTLONG: return lisp.makeInt(rb->resval.rlong);
    case RTREAL:
    case RTANG:
    case RTORINT: return lisp.makeReal(rb->resval.rreal);
    case RTPOINT: return pointValue(lisp, rb->resval.rpoint, 2);
    case RT3DPOINT: return pointValue(lisp, rb->resval.rpoint, 3);
    case RTSTR: return lisp.makeString(rb->resval.rstring ? rb->resval.rstring : "");
    case RTENAME: return lisp.makeName(Type::Entity, rb->resval.rlname);
    case RTPICKS: return lisp.makeName(Type::SelectionSet, rb->resval.rlname);
    default: break;
  }
  Value code = lisp.makeInt(rb->restype);
  switch (ads_reskind(rb->restype)) {
    case ResKind::Real: return lisp.cons(code, lisp.makeReal(rb->resval.rreal));
    case ResKind::Point: return lisp.cons(code, pointValue(lisp, rb->resval.rpoint, 3));
    case ResKind::Short: return lisp.cons(code, lisp.makeInt(rb->resval.rint));
    case ResKind::Long: return lisp.cons(code, lisp.makeInt(rb->resval.rlong));
    case ResKind::String: return lisp.cons(code, lisp.makeString(rb->resval.rstring ? rb->resval.rstring : ""));
    case ResKind::Name: return lisp.cons(code, lisp.makeName(Type::Entity, rb->resval.rlname));
    case ResKind::Binary:
    case ResKind::None: break;
  }
  return lisp.cons(code, nullptr);
}

}  // namespace

resbuf* toResbufs(Interpreter& lisp, Value items) {
  ResbufBuilder out;
  // The rest of every open list; the outermost is the argument list itself,
  // which gets no delimiters.
  std::vector<Value> open{items};
  while (!open.empty()) {
    Value& rest = open.back();
    bool inner = open.size() > 1;
    if (!isCons(rest)) {
      if (rest && inner) {
        out.append(RTDOTE);
        appendAtom(lisp, out, rest);
      }
      if (inner) out.append(RTLE);
      open.pop_back();
      continue;
    }
    Value item = rest->car;
    rest = rest->cdr;
    if (isCons(item)) {
      out.append(RTLB);
      open.push_back(item);
    } else {
      appendAtom(lisp, out, item);
    }
  }
  return out.release();
}

resbuf* toGroupCodes(Value pairs) {
  ResbufBuilder out;
  for (Value rest = pairs; rest; rest = rest->cdr) {
    if (!isCons(rest)) badArgument("listp", pairs);
    Value pair = rest->car;
    if (!isCons(pair) || !isType(pair->car, Type::Int)) badArgument("consp", pair);
    int code = static_cast<int>(pair->car->integer);
    Value value = pair->cdr;
    resbuf* rb = out.append(code);
    switch (ads_reskind(code)) {
      case ResKind::String:
        rb->resval.rstring = acad__strdup(stringArg(value).c_str());
        if (!rb->resval.rstring) throw std::bad_alloc();
        break;
      case ResKind::Short:
      case ResKind::Long:
        if (!isType(value, Type::Int)) badArgument("fixnump", value);
        if (ads_reskind(code) == ResKind::Short) {
          rb->resval.rint = static_cast<short>(value->integer);
        } else {
          rb->resval.rlong = value->integer;
        }
        break;
      case ResKind::Real:
        if (!isType(value, Type::Real) && !isType(value, Type::Int)) badArgument("numberp", value);
        rb->resval.rreal = value->type == Type::Real ? value->real : static_cast<double>(value->integer);
        break;
      default: badArgument("consp", pair);
    }
  }
  return out.release();
}

Value fromResbufs(Interpreter& lisp, const resbuf* list) {
  struct Frame {
    Value head = nullptr;
    Value last = nullptr;
    bool dotted = false;
  };
  std::vector<Frame> frames(1);
  auto add = [&](Value value) {
    Frame& frame = frames.back();
    if (frame.dotted && frame.last) {
      frame.last->cdr = value;
      return;
    }
    Value cell = lisp.cons(value, nullptr);
    (frame.last ? frame.last->cdr : frame.head) = cell;
    frame.last = cell;
  };
  for (const resbuf* rb = list; rb; rb = rb->rbnext) {
    if (rb->restype == RTLB) {
      frames.emplace_back();
    } else if (rb->restype == RTDOTE) {
      frames.back().dotted = true;
    } else if (rb->restype == RTLE && frames.size() > 1) {
      Value done = frames.back().head;
      frames.pop_back();
      add(done);
    } else if (rb->restype != RTLE) {
      add(itemValue(lisp, rb));
    }
  }
  // Lists left open by a short result end where the result ends.
  while (frames.size() > 1) {
    Value done = frames.back().head;
    frames.pop_back();
    add(done);
  }
  return frames.front().head;
}

bool isExternal(const std::string& name) { return acad::lisp_functions::isDefined(name); }

Value callExternal(Interpreter& lisp, const std::string& name, Value args) {
  std::unique_ptr<resbuf, int (*)(resbuf*)> arguments(toResbufs(lisp, args), ads_relrb);
  resbuf* result = nullptr;
  std::string failure;
  bool ok = acad::lisp_functions::call(name.c_str(), arguments.get(), &result, &failure);
  std::unique_ptr<resbuf, int (*)(resbuf*)> owned(result, ads_relrb);
  if (!ok) fail(failure.empty() ? "ADS request error" : failure);
  Value values = fromResbufs(lisp, result);
  return values ? values->car : nullptr;
}

}  // namespace lisp
