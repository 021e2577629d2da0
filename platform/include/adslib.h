// ADS calls of the host: command line, AutoLISP, selection sets, result buffers.
#pragma once
#include "adsdef.h"
#include "windef.h"

extern "C" {
// Result buffers. Strings in a list are host-allocated and freed with it.
resbuf* ads_newrb(int type);
int ads_relrb(resbuf* list);
resbuf* ads_buildlist(int type, ...);

// Command line and user.
int ads_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
int ads_command(int type, ...);
int ads_getvar(const char* name, resbuf* result);
int ads_setvar(const char* name, const resbuf* value);
const char* ads_getappname(void);
int ads_getfiled(const char* title, const char* defaultName, const char* ext, int flags, resbuf* result);
HWND adsw_acadMainWnd(void);

// AutoLISP functions defined by applications.
int ads_defun(const char* name, short code);
int ads_undef(const char* name, short code);
int ads_regfunc(int (*handler)(void), int code);
int ads_getfuncode(void);
resbuf* ads_getargs(void);
int ads_retnil(void);
int ads_rett(void);
int ads_retlist(const resbuf* list);
int ads_retreal(ads_real value);
int ads_retint(int value);
int ads_retstr(const char* text);
int ads_retname(const ads_name name, int type);
int ads_retvoid(void);
int ads_fail(const char* text);
int ads_queueexpr(const char* expression);

// Selection sets and picks.
int ads_ssget(const char* mode, const void* pt1, const void* pt2, const resbuf* filter, ads_name ss);
int ads_sslength(const ads_name ss, long* length);
int ads_ssname(const ads_name ss, long index, ads_name entity);
int ads_ssadd(const ads_name entity, const ads_name ss, ads_name result);
int ads_ssfree(const ads_name ss);
int ads_entsel(const char* prompt, ads_name entity, ads_point picked);

// Registered applications of the current drawing.
int ads_regapp(const char* name);
}
