#!/usr/bin/env python3
"""Resource compiler: turns a Windows resource script (.rc) into a C++ source
that defines one RcModuleResources table (platform/include/rcdata.h).

Understood: the preprocessor (#include, #define, #undef, #if/#ifdef/#ifndef/
#elif/#else/#endif, comments), LANGUAGE, STRINGTABLE, DIALOG and DIALOGEX with
their option statements and control statements, ICON files and VERSIONINFO.
Other resources are skipped. Errors name the file and line and exit with 1.

usage: rc.py SCRIPT.rc -o OUT.cpp --name VARIABLE [-I DIR]...
"""
import argparse
import os
import re
import sys


class RcError(Exception):
    pass


# ---------------------------------------------------------------- preprocessor

class Line:
    def __init__(self, text, where):
        self.text = text
        self.where = where


def strip_comments(text):
    """Removes // and /* */ comments outside string literals; keeps line count."""
    out = []
    i, n = 0, len(text)
    in_string = False
    while i < n:
        c = text[i]
        if in_string:
            out.append(c)
            if c == '\\' and i + 1 < n and text[i + 1] != '\n':
                out.append(text[i + 1])
                i += 1
            elif c == '"':
                if i + 1 < n and text[i + 1] == '"':
                    out.append('"')
                    i += 1
                else:
                    in_string = False
            elif c == '\n':
                in_string = False
            i += 1
        elif c == '"':
            in_string = True
            out.append(c)
            i += 1
        elif text.startswith('//', i):
            while i < n and text[i] != '\n':
                i += 1
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            if end < 0:
                end = n
            out.append('\n' * text.count('\n', i, end))
            i = end + 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


class Preprocessor:
    def __init__(self, include_dirs):
        self.include_dirs = include_dirs
        self.macros = {'RC_INVOKED': '1'}
        self.depth = 0

    def find_include(self, name, current_dir, where):
        for d in [current_dir] + self.include_dirs:
            path = os.path.join(d, name)
            if os.path.isfile(path):
                return path
        raise RcError(f'{where}: cannot find include file "{name}"')

    def run(self, path, script_lines=True):
        """Returns the script's lines after preprocessing. In headers (.h, .c)
        only directives count, as for the platform's own resource compiler."""
        self.depth += 1
        if self.depth > 32:
            raise RcError(f'{path}: includes nested too deeply')
        try:
            with open(path, encoding='latin-1') as f:
                text = f.read()
        except OSError as e:
            raise RcError(f'cannot read {path}: {e.strerror}')
        text = strip_comments(text.replace('\\\r\n', '').replace('\\\n', ''))
        result = []
        # Each entry: (this branch active, some branch already taken, parent active)
        stack = []
        active = True
        for number, raw in enumerate(text.split('\n'), 1):
            where = f'{path}:{number}'
            stripped = raw.strip()
            if stripped.startswith('#'):
                directive = stripped[1:].strip()
                word = re.match(r'[A-Za-z_]*', directive).group(0)
                rest = directive[len(word):].strip()
                if word in ('ifdef', 'ifndef', 'if'):
                    if word == 'if':
                        cond = active and self.evaluate_condition(rest, where)
                    else:
                        defined = rest.split()[0] in self.macros if rest else False
                        cond = active and (defined if word == 'ifdef' else not defined)
                    stack.append((active, cond))
                    active = cond
                elif word == 'elif':
                    if not stack:
                        raise RcError(f'{where}: #elif without #if')
                    parent, taken = stack[-1]
                    cond = parent and not taken and self.evaluate_condition(rest, where)
                    stack[-1] = (parent, taken or cond)
                    active = cond
                elif word == 'else':
                    if not stack:
                        raise RcError(f'{where}: #else without #if')
                    parent, taken = stack[-1]
                    active = parent and not taken
                    stack[-1] = (parent, True)
                elif word == 'endif':
                    if not stack:
                        raise RcError(f'{where}: #endif without #if')
                    active = stack.pop()[0]
                elif not active:
                    continue
                elif word == 'define':
                    m = re.match(r'([A-Za-z_]\w*)(\(?)\s*(.*)', rest)
                    if not m:
                        raise RcError(f'{where}: malformed #define')
                    if not m.group(2):  # function-like macros are not needed here
                        self.macros[m.group(1)] = m.group(3).strip()
                elif word == 'undef':
                    self.macros.pop(rest.split()[0] if rest else '', None)
                elif word == 'include':
                    m = re.match(r'(["<])([^">]+)[">]', rest)
                    if not m:
                        raise RcError(f'{where}: malformed #include')
                    if m.group(1) == '<' and not script_lines:
                        continue  # a header's system headers define no resource symbols
                    found = self.find_include(m.group(2), os.path.dirname(path), where)
                    is_script = not found.lower().endswith(('.h', '.c', '.hpp'))
                    result.extend(self.run(found, is_script))
                elif word == 'error':
                    raise RcError(f'{where}: #error {rest}')
                # #pragma and the rest: nothing to do
            elif active and script_lines:
                result.append(Line(raw, where))
        if stack:
            raise RcError(f'{path}: missing #endif')
        self.depth -= 1
        return result

    def evaluate_condition(self, text, where):
        text = re.sub(r'defined\s*\(\s*(\w+)\s*\)|defined\s+(\w+)',
                      lambda m: '1' if (m.group(1) or m.group(2)) in self.macros else '0', text)
        tokens = tokenize(text, where)
        # Unknown names in a condition count as 0, as in C.
        parser = ExpressionParser(tokens, lambda name: self.macro_value(name, where, 0), where)
        value = parser.conditional()
        parser.expect_end()
        return value != 0

    def macro_value(self, name, where, default=None, seen=()):
        if name not in self.macros:
            if default is not None:
                return default
            raise RcError(f'{where}: undefined symbol {name}')
        if name in seen:
            raise RcError(f'{where}: macro {name} refers to itself')
        tokens = tokenize(self.macros[name], where)
        parser = ExpressionParser(
            tokens, lambda n: self.macro_value(n, where, default, seen + (name,)), where)
        value = parser.conditional()
        parser.expect_end()
        return value

    def string_macro(self, name):
        value = self.macros.get(name, '')
        return value if value.startswith('"') else None


# ---------------------------------------------------------------- tokens

TOKEN = re.compile(r'''
    (?P<space>\s+)
  | (?P<string>L?"(?:[^"\\\n]|\\.|"")*")
  | (?P<number>0[xX][0-9A-Fa-f]+[uUlL]*|\d+[uUlL]*)
  | (?P<name>[A-Za-z_][\w.]*)
  | (?P<op><<|>>|&&|\|\||==|!=|<=|>=|[-+*/%|&^~!(),{}<>?:])
''', re.VERBOSE)


class Token:
    def __init__(self, kind, value, where):
        self.kind = kind
        self.value = value
        self.where = where

    def __repr__(self):
        return f'{self.kind}:{self.value!r}'


def tokenize(text, where):
    tokens = []
    pos = 0
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if not m:
            raise RcError(f'{where}: unexpected character {text[pos]!r}')
        pos = m.end()
        kind = m.lastgroup
        if kind == 'space':
            continue
        value = m.group(kind)
        if kind == 'number':
            digits = value.rstrip('uUlL')
            try:
                value = int(digits, 8) if re.match(r'0\d', digits) else int(digits, 0)
            except ValueError:
                raise RcError(f'{where}: bad number {digits}')
        elif kind == 'string':
            value = decode_string(value, where)
        tokens.append(Token(kind, value, where))
    return tokens


ESCAPES = {'n': '\n', 't': '\t', 'r': '\r', 'a': '\a', 'b': '\b', 'f': '\f', 'v': '\v',
           '\\': '\\', '"': '"', "'": "'", '?': '?'}


def decode_string(literal, where):
    body = literal[literal.index('"') + 1:-1]
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '"':  # a doubled quote stands for one quote
            out.append('"')
            i += 2
        elif c == '\\':
            e = body[i + 1]
            if e in ESCAPES:
                out.append(ESCAPES[e])
                i += 2
            elif e in 'xX':
                m = re.match(r'[0-9A-Fa-f]{1,2}', body[i + 2:])
                if not m:
                    raise RcError(f'{where}: bad \\x escape')
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
            elif e in '01234567':
                m = re.match(r'[0-7]{1,3}', body[i + 1:])
                out.append(chr(int(m.group(0), 8) & 0xFF))
                i += 1 + len(m.group(0))
            else:
                raise RcError(f'{where}: unknown escape \\{e}')
        else:
            out.append(c)
            i += 1
    return ''.join(out)


class ExpressionParser:
    """Integer expressions of C (for #if and values), over a token list."""

    BINARY = [['||'], ['&&'], ['|'], ['^'], ['&'], ['==', '!='], ['<', '>', '<=', '>='],
              ['<<', '>>'], ['+', '-'], ['*', '/', '%']]

    def __init__(self, tokens, resolve, where):
        self.tokens = tokens
        self.pos = 0
        self.resolve = resolve
        self.where = where

    def peek(self):
        return self.tokens[self.pos] if self.pos < len(self.tokens) else None

    def take(self):
        t = self.peek()
        if t is None:
            raise RcError(f'{self.where}: expression ends too early')
        self.pos += 1
        return t

    def expect_end(self):
        if self.peek() is not None:
            raise RcError(f'{self.peek().where}: unexpected {self.peek().value!r} in expression')

    def conditional(self):
        value = self.binary(0)
        t = self.peek()
        if t is not None and t.kind == 'op' and t.value == '?':
            self.take()
            a = self.conditional()
            colon = self.take()
            if colon.value != ':':
                raise RcError(f'{colon.where}: expected ":"')
            b = self.conditional()
            value = a if value else b
        return value

    def binary(self, level):
        if level == len(self.BINARY):
            return self.unary()
        value = self.binary(level + 1)
        while True:
            t = self.peek()
            if t is None or t.kind != 'op' or t.value not in self.BINARY[level]:
                return value
            self.take()
            rhs = self.binary(level + 1)
            value = apply_operator(t.value, value, rhs, t.where)

    def unary(self):
        t = self.take()
        if t.kind == 'op' and t.value in ('-', '+', '~', '!'):
            v = self.unary()
            return {'-': -v, '+': v, '~': ~v & 0xFFFFFFFF, '!': int(not v)}[t.value]
        if t.kind == 'op' and t.value == '(':
            # A cast such as (LONG) or (DWORD) in a value is read as nothing.
            nxt = self.peek()
            after = self.tokens[self.pos + 1] if self.pos + 1 < len(self.tokens) else None
            if (nxt is not None and nxt.kind == 'name' and after is not None and after.value == ')'
                    and nxt.value in ('LONG', 'DWORD', 'WORD', 'UINT', 'int', 'short', 'long')):
                self.pos += 2
                return self.unary()
            v = self.conditional()
            close = self.take()
            if close.value != ')':
                raise RcError(f'{close.where}: expected ")"')
            return v
        if t.kind == 'number':
            return t.value
        if t.kind == 'name':
            return self.resolve(t.value)
        raise RcError(f'{t.where}: unexpected {t.value!r} in expression')


def apply_operator(op, a, b, where):
    if op in ('/', '%') and b == 0:
        raise RcError(f'{where}: division by zero')
    return {
        '||': lambda: int(bool(a) or bool(b)), '&&': lambda: int(bool(a) and bool(b)),
        '|': lambda: a | b, '^': lambda: a ^ b, '&': lambda: a & b,
        '==': lambda: int(a == b), '!=': lambda: int(a != b), '<': lambda: int(a < b),
        '>': lambda: int(a > b), '<=': lambda: int(a <= b), '>=': lambda: int(a >= b),
        '<<': lambda: a << b, '>>': lambda: a >> b, '+': lambda: a + b, '-': lambda: a - b,
        '*': lambda: a * b, '/': lambda: int(a / b), '%': lambda: a % b,
    }[op]()


# ---------------------------------------------------------------- the script

WS_CHILD, WS_VISIBLE, WS_BORDER = 0x40000000, 0x10000000, 0x00800000
WS_GROUP, WS_TABSTOP, WS_POPUP, WS_SYSMENU = 0x00020000, 0x00010000, 0x80000000, 0x00080000
WS_CAPTION, DS_SETFONT = 0x00C00000, 0x40

# Short control statements: window class and the style bits they imply.
TEXT_CONTROLS = {
    'LTEXT': ('STATIC', 0x0 | WS_GROUP),
    'RTEXT': ('STATIC', 0x2 | WS_GROUP),
    'CTEXT': ('STATIC', 0x1 | WS_GROUP),
    'PUSHBUTTON': ('BUTTON', 0x0 | WS_TABSTOP),
    'DEFPUSHBUTTON': ('BUTTON', 0x1 | WS_TABSTOP),
    'PUSHBOX': ('BUTTON', 0xA | WS_TABSTOP),
    'CHECKBOX': ('BUTTON', 0x2 | WS_TABSTOP),
    'AUTOCHECKBOX': ('BUTTON', 0x3 | WS_TABSTOP),
    'STATE3': ('BUTTON', 0x5 | WS_TABSTOP),
    'AUTO3STATE': ('BUTTON', 0x6 | WS_TABSTOP),
    'RADIOBUTTON': ('BUTTON', 0x4),
    'AUTORADIOBUTTON': ('BUTTON', 0x9),
    'GROUPBOX': ('BUTTON', 0x7),
}
ID_CONTROLS = {
    'EDITTEXT': ('EDIT', WS_BORDER | WS_TABSTOP),
    'LISTBOX': ('LISTBOX', 0x1 | WS_BORDER),
    'COMBOBOX': ('COMBOBOX', 0x1 | WS_TABSTOP),
    'SCROLLBAR': ('SCROLLBAR', 0x0),
}
PREDEFINED_CLASSES = {'BUTTON', 'EDIT', 'STATIC', 'LISTBOX', 'COMBOBOX', 'SCROLLBAR'}
MEMORY_OPTIONS = {'DISCARDABLE', 'MOVEABLE', 'FIXED', 'PURE', 'IMPURE', 'PRELOAD',
                  'LOADONCALL', 'SHARED', 'NONSHARED'}


class Control:
    def __init__(self, ident, window_class, text, rect, style, ex_style):
        self.ident = ident
        self.window_class = window_class
        self.text = text
        self.rect = rect
        self.style = style
        self.ex_style = ex_style


class Dialog:
    def __init__(self, ident, rect):
        self.ident = ident
        self.rect = rect
        self.style = WS_POPUP | WS_BORDER | WS_SYSMENU
        self.caption = ''
        self.font = None
        self.controls = []


class Resources:
    def __init__(self):
        self.strings = {}
        self.dialogs = []
        self.icons = []
        self.version = None


class ScriptParser:
    def __init__(self, lines, preprocessor):
        self.pp = preprocessor
        self.tokens = []
        for line in lines:
            self.tokens.extend(tokenize(line.text, line.where))
        self.pos = 0
        self.res = Resources()

    # -- token helpers
    def peek(self, offset=0):
        i = self.pos + offset
        return self.tokens[i] if i < len(self.tokens) else None

    def where(self):
        t = self.peek()
        return t.where if t else 'end of script'

    def take(self):
        t = self.peek()
        if t is None:
            raise RcError('unexpected end of script')
        self.pos += 1
        return t

    def is_word(self, *words, offset=0):
        t = self.peek(offset)
        return t is not None and t.kind == 'name' and t.value.upper() in words

    def is_op(self, op):
        t = self.peek()
        return t is not None and t.kind == 'op' and t.value == op

    def accept_op(self, op):
        if self.is_op(op):
            self.pos += 1
            return True
        return False

    def expect_op(self, op):
        if not self.accept_op(op):
            raise RcError(f'{self.where()}: expected "{op}"')

    def is_begin(self):
        return self.is_word('BEGIN') or self.is_op('{')

    def is_end(self):
        return self.is_word('END') or self.is_op('}')

    def expect_begin(self):
        if not self.is_begin():
            raise RcError(f'{self.where()}: expected BEGIN')
        self.pos += 1

    def expression(self):
        parser = ExpressionParser(self.tokens, self.resolve, self.where())
        parser.pos = self.pos
        value = parser.binary(0)
        self.pos = parser.pos
        return value

    def resolve(self, name):
        return self.pp.macro_value(name, self.where())

    def string(self):
        t = self.take()
        if t.kind != 'string':
            raise RcError(f'{t.where}: expected a string')
        text = t.value
        while self.peek() is not None and self.peek().kind == 'string':
            text += self.take().value
        return text

    def style(self, base):
        """A style: terms joined by |, NOT clearing bits; added to base."""
        add, clear = 0, 0
        while True:
            negate = False
            if self.is_word('NOT'):
                self.take()
                negate = True
            parser = ExpressionParser(self.tokens, self.resolve, self.where())
            parser.pos = self.pos
            value = parser.binary(3)  # below '|', which joins the terms here
            self.pos = parser.pos
            if negate:
                clear |= value
                add &= ~value
            else:
                add |= value
                clear &= ~value
            if not self.accept_op('|'):
                return ((base | add) & ~clear) & 0xFFFFFFFF

    def skip_memory_options(self):
        while self.is_word(*MEMORY_OPTIONS):
            self.take()

    def skip_block(self):
        self.expect_begin()
        depth = 1
        while depth:
            if self.is_begin():
                depth += 1
            elif self.is_end():
                depth -= 1
            self.take()

    # -- resources
    def parse(self):
        while self.peek() is not None:
            if self.is_word('LANGUAGE'):
                self.take()
                self.expression()
                self.expect_op(',')
                self.expression()
            elif self.is_word('STRINGTABLE'):
                self.take()
                self.string_table()
            elif self.is_word('VERSION', 'CHARACTERISTICS'):
                self.take()
                self.expression()
            else:
                self.resource()
        return self.res

    def string_table(self):
        while not self.is_begin():
            if self.is_word(*MEMORY_OPTIONS):
                self.take()
            elif self.is_word('LANGUAGE'):
                self.take()
                self.expression()
                self.expect_op(',')
                self.expression()
            elif self.is_word('VERSION', 'CHARACTERISTICS'):
                self.take()
                self.expression()
            else:
                raise RcError(f'{self.where()}: expected BEGIN after STRINGTABLE')
        self.take()
        while not self.is_end():
            where = self.where()
            ident = self.expression()
            self.accept_op(',')
            text = self.string()
            if not 0 <= ident <= 0xFFFF:
                raise RcError(f'{where}: string id {ident} out of range')
            if ident in self.res.strings:
                raise RcError(f'{where}: string id {ident} defined twice')
            self.res.strings[ident] = text
        self.take()

    def resource_id(self):
        t = self.peek()
        if t is None:
            raise RcError('unexpected end of script')
        if t.kind == 'name' and t.value not in self.pp.macros:
            self.take()
            return t.value
        if t.kind == 'string':
            return self.take().value
        return self.expression()

    def resource(self):
        where = self.where()
        ident = self.resource_id()
        t = self.take()
        if t.kind != 'name':
            raise RcError(f'{t.where}: expected a resource type after {ident}')
        kind = t.value.upper()
        if kind in ('DIALOG', 'DIALOGEX'):
            self.dialog(self.numeric(ident, where), kind == 'DIALOGEX')
        elif kind == 'ICON':
            self.skip_memory_options()
            self.icon(self.numeric(ident, where), t.where)
        elif kind == 'VERSIONINFO':
            self.version_info()
        else:
            # Resources this platform does not use (bitmaps, menus, ...).
            self.skip_memory_options()
            if self.peek() is not None and self.peek().kind == 'string':
                self.take()
            else:
                while not self.is_begin():
                    self.take()
                self.skip_block()

    @staticmethod
    def numeric(ident, where):
        if not isinstance(ident, int):
            raise RcError(f'{where}: resource name {ident} must be a number')
        return ident

    def dialog(self, ident, extended):
        self.skip_memory_options()
        rect = [self.expression()]
        for _ in range(3):
            self.expect_op(',')
            rect.append(self.expression())
        if extended and self.accept_op(','):
            self.expression()  # help id
        dlg = Dialog(ident, rect)
        while not self.is_begin():
            word = self.take()
            key = word.value.upper() if word.kind == 'name' else None
            if key == 'STYLE':
                dlg.style = self.style(0)
            elif key == 'EXSTYLE':
                self.style(0)
            elif key == 'CAPTION':
                dlg.caption = self.string()
                dlg.style |= WS_CAPTION
            elif key == 'FONT':
                size = self.expression()
                self.expect_op(',')
                dlg.font = (size, self.string())
                dlg.style |= DS_SETFONT
                while self.accept_op(','):
                    self.expression()  # weight, italic, character set
            elif key in ('MENU', 'CLASS'):
                self.take()
            elif key in ('CHARACTERISTICS', 'VERSION'):
                self.expression()
            elif key == 'LANGUAGE':
                self.expression()
                self.expect_op(',')
                self.expression()
            else:
                raise RcError(f'{word.where}: unknown dialog statement {word.value!r}')
        self.take()
        if any(d.ident == ident for d in self.res.dialogs):
            raise RcError(f'{self.where()}: dialog {ident} defined twice')
        while not self.is_end():
            dlg.controls.append(self.control())
        self.take()
        self.res.dialogs.append(dlg)

    def control_text(self):
        t = self.peek()
        if t is not None and t.kind == 'string':
            return self.string()
        return f'#{self.expression()}'

    def numbers(self, count):
        values = []
        for _ in range(count):
            self.expect_op(',')
            values.append(self.expression())
        return values

    def optional_styles(self, base):
        style, ex_style = base, 0
        if self.accept_op(','):
            style = self.style(base)
            if self.accept_op(','):
                ex_style = self.style(0)
                if self.accept_op(','):
                    self.expression()  # help id of an extended dialog
        return style, ex_style

    def control(self):
        word = self.take()
        if word.kind != 'name':
            raise RcError(f'{word.where}: expected a control statement')
        key = word.value.upper()
        base = WS_CHILD | WS_VISIBLE
        if key in TEXT_CONTROLS:
            window_class, implied = TEXT_CONTROLS[key]
            text = self.control_text()
            ident, x, y, cx, cy = self.numbers(5)
            style, ex_style = self.optional_styles(base | implied)
        elif key in ID_CONTROLS:
            window_class, implied = ID_CONTROLS[key]
            text = ''
            ident = self.expression()
            x, y, cx, cy = self.numbers(4)
            style, ex_style = self.optional_styles(base | implied)
        elif key == 'ICON':
            window_class, text = 'STATIC', self.control_text()
            ident, x, y = self.numbers(3)
            cx = cy = 0
            style, ex_style = base | 0x3, 0
            if self.is_op(','):
                cx, cy = self.numbers(2)
                style, ex_style = self.optional_styles(base | 0x3)
        elif key == 'CONTROL':
            text = self.control_text()
            self.expect_op(',')
            ident = self.expression()
            self.expect_op(',')
            cls = self.take()
            if cls.kind not in ('string', 'name'):
                raise RcError(f'{cls.where}: expected a window class')
            window_class = cls.value.upper() if cls.value.upper() in PREDEFINED_CLASSES else cls.value
            self.expect_op(',')
            style = self.style(base)
            x, y, cx, cy = self.numbers(4)
            ex_style = 0
            if self.accept_op(','):
                ex_style = self.style(0)
                if self.accept_op(','):
                    self.expression()
        else:
            raise RcError(f'{word.where}: unknown control statement {word.value!r}')
        if ident == 0xFFFF or ident == -1:
            ident = -1
        return Control(ident, window_class, text, (x, y, cx, cy), style, ex_style)

    def icon(self, ident, where):
        name = self.string()
        path = os.path.join(os.path.dirname(where.rsplit(':', 1)[0]), name)
        try:
            with open(path, 'rb') as f:
                data = f.read()
        except OSError as e:
            raise RcError(f'{where}: cannot read icon file {name}: {e.strerror}')
        check_icon(data, f'{where}: icon file {name}')
        self.res.icons.append((ident, data))

    def version_info(self):
        fixed = {}
        while not self.is_begin():
            word = self.take()
            key = word.value.upper() if word.kind == 'name' else ''
            if key in ('FILEVERSION', 'PRODUCTVERSION'):
                parts = [self.expression()]
                for _ in range(3):
                    self.expect_op(',')
                    parts.append(self.expression())
                if any(not 0 <= p <= 0xFFFF for p in parts):
                    raise RcError(f'{word.where}: version part out of range')
                fixed[key] = parts
            elif key in ('FILEFLAGSMASK', 'FILEFLAGS', 'FILEOS', 'FILETYPE', 'FILESUBTYPE'):
                self.style(0)
            else:
                raise RcError(f'{word.where}: unknown version statement {word.value!r}')
        strings = []
        self.version_block(strings, in_strings=False)
        self.res.version = (fixed.get('FILEVERSION', [0] * 4), fixed.get('PRODUCTVERSION', [0] * 4),
                            strings)

    def version_block(self, strings, in_strings):
        self.expect_begin()
        while not self.is_end():
            word = self.take()
            key = word.value.upper() if word.kind == 'name' else ''
            if key == 'BLOCK':
                name = self.string()
                self.version_block(strings, in_strings or name == 'StringFileInfo')
            elif key == 'VALUE':
                name = self.string()
                values = []
                while self.accept_op(','):
                    t = self.peek()
                    values.append(self.string() if t is not None and t.kind == 'string'
                                  else self.expression())
                if in_strings:
                    text = next((v for v in values if isinstance(v, str)), '')
                    strings.append((name, text.rstrip('\0')))
            else:
                raise RcError(f'{word.where}: expected BLOCK or VALUE')
        self.take()


def check_icon(data, what):
    if len(data) < 6:
        raise RcError(f'{what} is too short')
    reserved, kind, count = (int.from_bytes(data[i:i + 2], 'little') for i in (0, 2, 4))
    if reserved != 0 or kind != 1 or count == 0:
        raise RcError(f'{what} is not an icon file')
    if len(data) < 6 + 16 * count:
        raise RcError(f'{what} has a truncated directory')
    for n in range(count):
        entry = data[6 + 16 * n:22 + 16 * n]
        size = int.from_bytes(entry[8:12], 'little')
        offset = int.from_bytes(entry[12:16], 'little')
        if offset + size > len(data) or size == 0:
            raise RcError(f'{what}: image {n + 1} lies outside the file')


# ---------------------------------------------------------------- output

def c_string(text):
    out = ['"']
    for ch in text.encode('latin-1'):
        if ch in (0x22, 0x5C):
            out.append('\\' + chr(ch))
        elif 0x20 <= ch < 0x7F and ch != 0x3F:  # '?' escaped: no trigraphs
            out.append(chr(ch))
        else:
            out.append(f'\\{ch:03o}')
    out.append('"')
    return ''.join(out)


def hex32(value):
    return f'0x{value & 0xFFFFFFFF:08X}u'


def generate(res, name, source):
    out = [f'// Generated from {os.path.basename(source)} by the resource compiler; do not edit.',
           '#include "rcdata.h"', '', 'namespace {', '']
    tables = {}
    strings = sorted(res.strings.items())
    if strings:
        out.append('const RcString kStrings[] = {')
        out += [f'    {{{i}, {c_string(t)}}},' for i, t in strings]
        out += ['};', '']
        tables['strings'] = ('kStrings', len(strings))
    for dlg in res.dialogs:
        if dlg.controls:
            out.append(f'const RcControl kDialog{dlg.ident}Controls[] = {{')
            for c in dlg.controls:
                x, y, cx, cy = c.rect
                out.append(f'    {{{c.ident}, {c_string(c.window_class)}, {c_string(c.text)}, '
                           f'{x}, {y}, {cx}, {cy}, {hex32(c.style)}, {hex32(c.ex_style)}}},')
            out += ['};', '']
    if res.dialogs:
        out.append('const RcDialog kDialogs[] = {')
        for dlg in res.dialogs:
            x, y, cx, cy = dlg.rect
            size, face = dlg.font if dlg.font else (0, '')
            controls = (f'kDialog{dlg.ident}Controls, {len(dlg.controls)}' if dlg.controls
                        else 'nullptr, 0')
            out.append(f'    {{{dlg.ident}, {c_string(dlg.caption)}, {c_string(face)}, {size}, '
                       f'{x}, {y}, {cx}, {cy}, {hex32(dlg.style)}, {controls}}},')
        out += ['};', '']
        tables['dialogs'] = ('kDialogs', len(res.dialogs))
    for ident, data in res.icons:
        out.append(f'const uint8_t kIcon{ident}[] = {{')
        for i in range(0, len(data), 16):
            out.append('    ' + ', '.join(f'0x{b:02X}' for b in data[i:i + 16]) + ',')
        out += ['};', '']
    if res.icons:
        out.append('const RcIcon kIcons[] = {')
        out += [f'    {{{ident}, kIcon{ident}, sizeof kIcon{ident}}},' for ident, _ in res.icons]
        out += ['};', '']
        tables['icons'] = ('kIcons', len(res.icons))
    version = 'nullptr'
    if res.version:
        file_version, product_version, vstrings = res.version
        vs = ('nullptr, 0')
        if vstrings:
            out.append('const RcVersionString kVersionStrings[] = {')
            out += [f'    {{{c_string(k)}, {c_string(v)}}},' for k, v in vstrings]
            out += ['};', '']
            vs = f'kVersionStrings, {len(vstrings)}'
        out.append(f'const RcVersion kVersion = {{{{{", ".join(map(str, file_version))}}}, '
                   f'{{{", ".join(map(str, product_version))}}}, {vs}}};')
        out.append('')
        version = '&kVersion'
    out += ['}  // namespace', '', f'extern const RcModuleResources {name};']

    def table(key):
        return '{}, {}'.format(*tables[key]) if key in tables else 'nullptr, 0'

    out.append(f'const RcModuleResources {name} = {{{table("strings")}, {table("dialogs")}, '
               f'{table("icons")}, {version}}};')
    return '\n'.join(out) + '\n'


def main(argv):
    ap = argparse.ArgumentParser(description='Compile a resource script into a C++ table.')
    ap.add_argument('script')
    ap.add_argument('-o', '--output', required=True)
    ap.add_argument('--name', required=True, help='name of the RcModuleResources variable')
    ap.add_argument('-I', dest='include', action='append', default=[])
    args = ap.parse_args(argv)
    if not re.fullmatch(r'[A-Za-z_]\w*', args.name):
        print(f'rc: bad variable name {args.name!r}', file=sys.stderr)
        return 1
    try:
        pp = Preprocessor(args.include)
        lines = pp.run(args.script)
        res = ScriptParser(lines, pp).parse()
        text = generate(res, args.name, args.script)
    except RcError as e:
        print(f'rc: error: {e}', file=sys.stderr)
        return 1
    except RecursionError:
        print(f'rc: error: {args.script}: expression nested too deeply', file=sys.stderr)
        return 1
    tmp = args.output + '.tmp'
    with open(tmp, 'w', encoding='latin-1') as f:
        f.write(text)
    os.replace(tmp, args.output)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
