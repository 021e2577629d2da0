"""The resource compiler on small scripts: syntax it must take, and errors
it must report with the file and line instead of failing some other way."""
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..', '..'))
sys.path.insert(0, os.path.join(ROOT, 'platform', 'rc'))
import rc  # noqa: E402

INCLUDE = os.path.join(ROOT, 'platform', 'include')


class Compiled:
    def __init__(self, script, files=None):
        self.dir = tempfile.TemporaryDirectory()
        for name, data in (files or {}).items():
            mode = 'wb' if isinstance(data, bytes) else 'w'
            with open(os.path.join(self.dir.name, name), mode) as f:
                f.write(data)
        self.path = os.path.join(self.dir.name, 'test.rc')
        with open(self.path, 'w') as f:
            f.write(script)

    def __del__(self):
        self.dir.cleanup()

    def resources(self):
        pp = rc.Preprocessor([INCLUDE])
        return rc.ScriptParser(pp.run(self.path), pp).parse()

    def run_tool(self):
        out = os.path.join(self.dir.name, 'out.cpp')
        proc = subprocess.run([sys.executable, os.path.join(ROOT, 'platform', 'rc', 'rc.py'), self.path,
                               '-o', out, '--name', 'res', '-I', INCLUDE], capture_output=True, text=True)
        text = open(out).read() if os.path.exists(out) else None
        return proc.returncode, proc.stderr, text


def dialog_script(body, style='STYLE DS_MODALFRAME | WS_POPUP'):
    return f'#include "afxres.h"\n1 DIALOG 0, 0, 100, 50\n{style}\nBEGIN\n{body}\nEND\n'


class StringTables(unittest.TestCase):
    def test_escapes_doubled_quotes_and_defines(self):
        res = Compiled('#define IDS_A 7\n#define IDS_B (IDS_A + 1)\nSTRINGTABLE DISCARDABLE\nBEGIN\n'
                       '  IDS_A "line\\none ""quoted"" \\t\\\\"\n  IDS_B, "tail "\n  9 "a" "b"\nEND\n').resources()
        self.assertEqual(res.strings, {7: 'line\none "quoted" \t\\', 8: 'tail ', 9: 'ab'})

    def test_conditional_sections(self):
        script = ('#define X 2\n#if X > 1 && defined(X)\nSTRINGTABLE BEGIN 1 "yes" END\n#else\n'
                  'STRINGTABLE BEGIN 1 "no" END\n#endif\n#ifdef APSTUDIO_INVOKED\nbroken here\n#endif\n')
        self.assertEqual(Compiled(script).resources().strings, {1: 'yes'})

    def test_duplicate_id_is_reported_with_its_line(self):
        code, err, _ = Compiled('STRINGTABLE\nBEGIN\n 1 "a"\n 1 "b"\nEND\n').run_tool()
        self.assertEqual(code, 1)
        self.assertIn('test.rc:4', err)
        self.assertIn('defined twice', err)

    def test_undefined_symbol_and_unterminated_string(self):
        code, err, _ = Compiled('STRINGTABLE BEGIN IDS_NOPE "x" END\n').run_tool()
        self.assertEqual(code, 1)
        self.assertIn('undefined symbol IDS_NOPE', err)
        code, err, _ = Compiled('STRINGTABLE BEGIN 1 "open\nEND\n').run_tool()
        self.assertEqual(code, 1)
        self.assertIn('rc: error', err)


class BadInput(unittest.TestCase):
    def test_bad_numbers_and_deep_nesting_are_errors_not_crashes(self):
        for script in ('STRINGTABLE BEGIN 08 "x" END\n',
                       'STRINGTABLE BEGIN ' + '(' * 5000 + '1' + ')' * 5000 + ' "x" END\n',
                       '1 DIALOG 0, 0, 1\n', 'STRINGTABLE BEGIN 1 "x"\n', '#if 1\n', '#include "nowhere.h"\n'):
            code, err, _ = Compiled(script).run_tool()
            self.assertEqual(code, 1, script[:40])
            self.assertTrue(err.startswith('rc: error: '), err)


class Dialogs(unittest.TestCase):
    def test_short_forms_take_their_implied_styles_and_not_clears(self):
        body = ('  EDITTEXT 10, 1, 2, 3, 4, ES_AUTOHSCROLL | NOT WS_TABSTOP\n'
                '  LTEXT "Label", -1, 5, 6, 7, 8\n'
                '  DEFPUSHBUTTON "OK", IDOK, 1, 1, 50, 14\n'
                '  CONTROL "S", 11, "msctls_trackbar32", TBS_AUTOTICKS | WS_TABSTOP, 1, 2, 3, 4\n'
                '  CONTROL "R", 12, "Button", BS_AUTORADIOBUTTON | WS_GROUP, 1, 2, 3, 4, WS_EX_STATICEDGE\n')
        dlg = Compiled(dialog_script(body)).resources().dialogs[0]
        child = 0x40000000 | 0x10000000
        edit, label, ok, slider, radio = dlg.controls
        self.assertEqual(edit.style, child | 0x00800000 | 0x80)  # border, no tab stop
        self.assertEqual((label.window_class, label.ident, label.style), ('STATIC', -1, child | 0x20000))
        self.assertEqual(ok.style, child | 0x10000 | 1)
        self.assertEqual((slider.window_class, slider.style), ('msctls_trackbar32', child | 0x10000 | 1))
        self.assertEqual((radio.window_class, radio.style, radio.ex_style), ('BUTTON', child | 0x20000 | 9, 0x20000))

    def test_caption_and_font_add_their_styles(self):
        script = dialog_script('', 'STYLE WS_POPUP\nCAPTION "T"\nFONT 8, "MS Sans Serif"')
        dlg = Compiled(script).resources().dialogs[0]
        self.assertEqual(dlg.style, 0x80000000 | 0x00C00000 | 0x40)
        self.assertEqual((dlg.caption, dlg.font), ('T', (8, 'MS Sans Serif')))

    def test_extended_dialog_with_help_ids(self):
        script = ('#include "afxres.h"\n5 DIALOGEX 0, 0, 10, 10, 99\nSTYLE WS_POPUP\n'
                  'FONT 8, "MS Shell Dlg", 400, 0, 0x1\nBEGIN\n'
                  '  PUSHBUTTON "A", 3, 1, 1, 1, 1, WS_TABSTOP, 0, 77\nEND\n')
        dlg = Compiled(script).resources().dialogs[0]
        self.assertEqual([c.ident for c in dlg.controls], [3])

    def test_unknown_control_statement(self):
        code, err, _ = Compiled(dialog_script('  BOGUS "x", 1, 1, 1, 1, 1')).run_tool()
        self.assertEqual(code, 1)
        self.assertIn("unknown control statement 'BOGUS'", err)

    def test_generated_source_escapes_bytes(self):
        code, err, text = Compiled('STRINGTABLE BEGIN 1 "a\\"b?\\n\\x7f" END\n').run_tool()
        self.assertEqual(code, 0, err)
        self.assertIn(r'{1, "a\"b\077\012\177"}', text)
        self.assertIn('const RcModuleResources res = {kStrings, 1, nullptr, 0, nullptr, 0, nullptr};', text)


class Icons(unittest.TestCase):
    def test_icon_file_is_embedded_and_checked(self):
        good = bytes([0, 0, 1, 0, 1, 0]) + bytes([32, 32, 16, 0, 1, 0, 4, 0]) + (4).to_bytes(4, 'little') \
            + (22).to_bytes(4, 'little') + b'abcd'
        res = Compiled('7 ICON "a.ico"\n', {'a.ico': good}).resources()
        self.assertEqual(res.icons, [(7, good)])
        code, err, _ = Compiled('7 ICON "a.ico"\n', {'a.ico': b'BM not an icon'}).run_tool()
        self.assertEqual(code, 1)
        self.assertIn('is not an icon file', err)
        code, err, _ = Compiled('7 ICON "missing.ico"\n').run_tool()
        self.assertEqual(code, 1)
        self.assertIn('cannot read icon file missing.ico', err)


class Version(unittest.TestCase):
    def test_version_record(self):
        script = ('1 VERSIONINFO\n FILEVERSION 2,0,1,8264\n PRODUCTVERSION 2,0,0,0\n FILEFLAGSMASK 0x3fL\n'
                  'BEGIN\n BLOCK "StringFileInfo"\n BEGIN\n  BLOCK "040904b0"\n  BEGIN\n'
                  '   VALUE "FileVersion", "2, 0, 1, 8264\\0"\n  END\n END\n'
                  ' BLOCK "VarFileInfo"\n BEGIN\n  VALUE "Translation", 0x409, 1200\n END\nEND\n')
        self.assertEqual(Compiled(script).resources().version,
                         ([2, 0, 1, 8264], [2, 0, 0, 0], [('FileVersion', '2, 0, 1, 8264')]))


if __name__ == '__main__':
    unittest.main()
