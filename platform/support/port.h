// Where a folder reaches a service of a folder above it: the folder declares
// the service's interface and a Port for it; the host connects the
// implementation once at load time (acad/connections.cpp), before any call.
#pragma once

namespace support {

template <typename Service>
class Port {
 public:
  constexpr Port() = default;
  void connect(Service& service) { m_service = &service; }
  Service* operator->() const { return m_service; }

 private:
  Service* m_service = nullptr;
};

}  // namespace support
