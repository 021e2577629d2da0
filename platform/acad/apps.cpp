// Which application's code runs now, and message delivery into it.
#include "acad/apps.h"

namespace acad::apps {
namespace {
App* g_current = nullptr;
}

App* current() { return g_current; }

Scope::Scope(App* app) : m_previous(g_current) {
  g_current = app;
  if (app) ++app->active;
}

Scope::~Scope() {
  if (g_current) --g_current->active;
  g_current = m_previous;
}

AcRx::AppRetCode send(App& app, AcRx::AppMsgCode msg) {
  Scope scope(&app);
  // The application id the module hands back (e.g. to unlockApplication) is
  // the host's record of it.
  return app.entryPoint(msg, &app);
}

}  // namespace acad::apps
